// The finish page; after an install it shows the script's readme.
#pragma once

#include "PageDialog.h"
#include "SetupPages.h"

namespace setup {

class FinishPage : public PageDialog {
public:
    FinishPage(const PageFrame &frame, int templateId, PageMode mode)
        : PageDialog(frame, templateId), mode_(mode) {}

protected:
    void OnInit() override;
    int ReadOnlyBox() const override;
    int FocusControl() const override;

private:
    PageMode mode_;
};

} // namespace setup
