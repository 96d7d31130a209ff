#include "WizardPages.h"

#include <commctrl.h>

#include "FinishPage.h"
#include "FolderPage.h"
#include "LicencePage.h"
#include "PageIds.h"
#include "ProgressDialog.h"
#include "PumpMessages.h"

namespace setup {

WizardPages::WizardPages(Setup &setup, HINSTANCE resources) : frame_{setup, resources, banner_} {
    // The progress page holds a progress bar.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);
}

int WizardPages::Template(int english, int japanese) const {
    return frame_.setup.ctx.language == kJapaneseLocale ? japanese : english;
}

void WizardPages::PrepareBanner() {
    const Setup &s = frame_.setup;
    banner_.Prepare(JoinPath(s.cp, s.ctx.setupFolder, "banner.bmp"), frame_.resources);
}

int WizardPages::ShowLicence() {
    LicencePage page(frame_, Template(IDD_LICENCE_EN, IDD_LICENCE_JA));
    return page.RunModal();
}

int WizardPages::ShowFolder() {
    FolderPage page(frame_, Template(IDD_FOLDER_EN, IDD_FOLDER_JA));
    return page.RunModal();
}

std::unique_ptr<ProgressPage> WizardPages::OpenProgress(PageMode mode) {
    std::unique_ptr<ProgressDialog> page(
        new ProgressDialog(frame_, Template(IDD_PROGRESS_EN, IDD_PROGRESS_JA), mode));
    if (!page->OpenModeless())
        return nullptr;
    PumpMessages();
    return page;
}

void WizardPages::ShowFinish(PageMode mode) {
    FinishPage page(frame_, Template(IDD_FINISH_EN, IDD_FINISH_JA), mode);
    page.RunModal();
}

void WizardPages::ShowInterrupted() {
    PageDialog page(frame_, Template(IDD_INTERRUPTED_EN, IDD_INTERRUPTED_JA));
    page.RunModal();
}

} // namespace setup
