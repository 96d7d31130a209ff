// The pages setup.exe uses until its wizard dialogs are built: the licence
// page answers Cancel, so an install that passes its checks ends as
// cancelled on the licence page would, with nothing changed.
#pragma once

#include "SetupPages.h"

namespace setup {

class PendingPages : public SetupPages {
public:
    void PrepareBanner() override {}
    int ShowLicence() override { return PageCancel; }
    int ShowFolder() override { return PageCancel; }
    std::unique_ptr<ProgressPage> OpenProgress(PageMode) override { return nullptr; }
    void ShowFinish(PageMode) override {}
    void ShowInterrupted() override {}
};

} // namespace setup
