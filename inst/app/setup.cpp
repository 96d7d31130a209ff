// setup.exe: reads "setup.ini" beside itself and installs, or removes, the
// product it describes.
#include <windows.h>

#include "DesktopUi.h"
#include "InstallRun.h"
#include "RemovalRun.h"
#include "Setup.h"
#include "SetupMode.h"
#include "SystemChecks.h"
#include "Win32Platform.h"
#include "WizardPages.h"

namespace {

int Run(HINSTANCE instance) {
    using namespace setup;
    const Win32Platform platform;
    SetupContext ctx;
    FillSetupContext(ctx, platform);
    DesktopUi ui;
    Setup run(ctx, platform, ui);
    // The pages hold the banner until the program ends.
    WizardPages pages(run, instance);
    const Win32SystemChecks checks(platform, ctx.os, ctx.modulePath);

    switch (ModeFromCommandLine(::GetCommandLineA())) {
    case SetupMode::RemovalFirstStage:
        return RemovalFirstStage(run, pages, checks);
    case SetupMode::RemovalSecondStage:
        return RemovalSecondStage(run, pages, checks);
    case SetupMode::Install:
        break;
    }
    return InstallRun(run, pages, checks);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        return Run(instance);
    } catch (...) {
        // Out of memory: nothing more can be shown; the run counts as failed.
        return 0;
    }
}
