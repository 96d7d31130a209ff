// The licence page: the licence of the page's language from the setup
// folder ([License] Eula, "eula.txt" by default, or Eula_English on the
// English pages), and Next only once "I Agree" is chosen.
#pragma once

#include "PageDialog.h"

namespace setup {

class LicencePage : public PageDialog {
public:
    using PageDialog::PageDialog;

protected:
    void OnInit() override;
    void OnCommand(int id, int code) override;
    void OnButton(int id) override;
    int ReadOnlyBox() const override;
    int FocusControl() const override;

private:
    bool Agreed() const;
    void UpdateNext();
};

} // namespace setup
