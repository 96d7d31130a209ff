#include "InstallRun.h"

#include "EraseSteps.h"
#include "InstallChecks.h"
#include "InstallSteps.h"
#include "InstallTarget.h"
#include "Setup.h"
#include "SetupPages.h"
#include "SystemChecks.h"

namespace setup {

namespace {

const unsigned kErrorTexts[] = {TextFatalError, TextBrowserTooOld, TextNotAdministrator,
                                TextNotFromTemp, TextVersionRefused};

int Refuse(Setup &setup, int code, const std::string &detail = "") {
    setup.ctx.errorCode = code;
    setup.Show(MessageKind::Error, FormatText(setup.Text(kErrorTexts[code]), {detail}));
    return 0;
}

// The checks before any page; true when the run may go on.
bool SystemAccepted(Setup &setup, const SystemChecks &checks, int &exitCode) {
    const OsVersion &os = setup.ctx.os;
    if (!CheckWindowsVersion(setup, int(os.major * 100 + os.minor), os.platformId, nullptr)) {
        exitCode = Refuse(setup, ErrorVersionRefused, SupportedVersionsList(setup));
        return false;
    }
    int code = -1;
    if (!checks.IsUserAdmin())
        code = ErrorNotAdministrator;
    else if (!IsBrowserVersionSufficient(setup.ctx.browserVersion))
        code = ErrorBrowserTooOld;
    else if (!checks.IsRunningFromTemp())
        code = ErrorNotFromTemp;
    if (code >= 0) {
        exitCode = Refuse(setup, code);
        return false;
    }
    return true;
}

} // namespace

int InstallRun(Setup &setup, SetupPages &pages, const SystemChecks &checks) {
    setup.ctx.abortFlag = false;
    int exitCode = 0;
    if (!SystemAccepted(setup, checks, exitCode))
        return exitCode;
    // A script without an uninstall entry of its own is refused before the
    // user is asked anything.
    if (CheckInstallTarget(setup) == TextFatalError)
        return Refuse(setup, ErrorFatal);

    pages.PrepareBanner();
    for (;;) {
        if (pages.ShowLicence() == PageCancel) {
            pages.ShowInterrupted();
            return 0;
        }
        const int folderButton = pages.ShowFolder();
        if (folderButton == PageCancel) {
            pages.ShowInterrupted();
            return 0;
        }
        if (folderButton != PageBack)
            break;
    }
    // The folder the page returned is checked again before anything changes.
    if (const unsigned refusal = CheckInstallTarget(setup)) {
        setup.ctx.errorCode = ErrorFatal;
        setup.Show(MessageKind::Error,
                   FormatText(setup.Text(refusal), {setup.ctx.installFolder}));
        return 0;
    }

    std::unique_ptr<ProgressPage> progress = pages.OpenProgress(PageMode::Install);
    if (!progress)
        return Refuse(setup, ErrorFatal);
    if (!InstallSteps(setup, *progress))
        setup.ctx.abortFlag = true;
    progress->Close();
    progress.reset();

    if (setup.ctx.abortFlag) {
        EraseSteps(setup, pages);
        pages.ShowInterrupted();
        return 0;
    }
    pages.ShowFinish(PageMode::Install);
    return 1;
}

} // namespace setup
