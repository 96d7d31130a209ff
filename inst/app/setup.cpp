// setup.exe: reads "setup.ini" beside itself and installs, or removes, the
// product it describes.
#include <windows.h>

#include "DesktopUi.h"
#include "InstallRun.h"
#include "PendingPages.h"
#include "Setup.h"
#include "SetupMode.h"
#include "SystemChecks.h"
#include "Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace setup;
    const Win32Platform platform;
    SetupContext ctx;
    FillSetupContext(ctx, platform);
    DesktopUi ui;
    Setup run(ctx, platform, ui);
    PendingPages pages;

    switch (ModeFromCommandLine(::GetCommandLineA())) {
    case SetupMode::Install:
        return InstallRun(run, pages, Win32SystemChecks(platform, ctx.os, ctx.modulePath));
    case SetupMode::RemovalFirstStage:
    case SetupMode::RemovalSecondStage:
        break;
    }
    // The removal stages are not built yet: say so and change nothing.
    run.Show(MessageKind::Error, run.Text(TextFatalError));
    return 0;
}
