// The folder page: where the product goes, an earlier install's folder
// when one is registered, the shell's folder picker, and the folder made
// when it is missing.
#pragma once

#include "PageDialog.h"

namespace setup {

class FolderPage : public PageDialog {
public:
    using PageDialog::PageDialog;

protected:
    void OnInit() override;
    void OnCommand(int id, int code) override;
    void OnButton(int id) override;

private:
    void Browse();
    // The typed folder, expanded, into the setup context and back into the box.
    void TakeFolder();
    // Whether the install may go into the folder, made when missing.
    bool FolderReady();
};

} // namespace setup
