// Servicing the thread's windows from inside a handler or between steps,
// without waiting: what a modal loop would do with the messages that are
// pending now.
#pragma once

#include <windows.h>

namespace quillbox::win {

// Dispatches every message pending for this thread, then returns. With a
// dialog, its keyboard messages go through IsDialogMessage, as the dialog's
// own loop would send them. A WM_QUIT ends the pumping and is posted again,
// so that the loop it was meant for still ends.
inline void PumpPendingMessages(HWND dialog = nullptr) {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (dialog && ::IsDialogMessageA(dialog, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

} // namespace quillbox::win
