// The progress page: modeless, serviced only while the steps pump
// messages. In install mode its Cancel asks, then sets the abort flag.
#pragma once

#include "PageDialog.h"
#include "SetupPages.h"

namespace setup {

class ProgressDialog : public PageDialog, public ProgressPage {
public:
    ProgressDialog(const PageFrame &frame, int templateId, PageMode mode)
        : PageDialog(frame, templateId), mode_(mode) {}

    void SetPosition(int percent) override;
    void Close() override { Destroy(); }

protected:
    void OnInit() override;
    void OnButton(int id) override;

private:
    PageMode mode_;
};

} // namespace setup
