// The installer's pages as dialogs from the program's resources, each in
// the run's language: English or Japanese templates by the system locale.
#pragma once

#include <windows.h>

#include "Banner.h"
#include "PageDialog.h"
#include "SetupPages.h"

namespace setup {

class WizardPages : public SetupPages {
public:
    // resources: the module that holds the page templates and icon 107.
    WizardPages(Setup &setup, HINSTANCE resources);

    void PrepareBanner() override;
    int ShowLicence() override;
    int ShowFolder() override;
    std::unique_ptr<ProgressPage> OpenProgress(PageMode mode) override;
    void ShowFinish(PageMode mode) override;
    void ShowInterrupted() override;

private:
    // The template of a page in the run's language.
    int Template(int english, int japanese) const;

    Banner banner_;
    PageFrame frame_;
};

} // namespace setup
