// Quillrun: the desktop program. Creates the main window, then the About
// box and the drop-purpose dialog, and runs the message loop until the main
// window closes.
#include <windows.h>

#include "Dialogs.h"
#include "InetMail.h"
#include "Main.h"
#include "Outside.h"
#include "win/Handles.h"

namespace quillrun {
namespace {

int RunProgram(int show) {
    // The shell's folder browser (new style) needs OLE on this thread.
    const quillbox::win::OleSession ole;
    RealOutside outside;
    TMainForm mainForm(outside, LinkedInetMail());
    if (!mainForm.Create())
        return 0;
    // Owned by the main window, hidden until it opens them.
    TAboutDlg aboutDlg(outside);
    aboutDlg.Create(mainForm.Window());
    TChooseDlg chooseDlg;
    chooseDlg.Create(mainForm.Window());
    FormDialogs dialogs(aboutDlg, chooseDlg);
    mainForm.SetModalWindows(&dialogs);
    ShowWindow(mainForm.Window(), show);
    UpdateWindow(mainForm.Window());

    MSG message;
    int status;
    while ((status = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (!mainForm.PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return status < 0 ? 1 : static_cast<int>(message.wParam);
}

} // namespace
} // namespace quillrun

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    return quillrun::RunProgram(show);
}
