// Walking windows with a lambda. The system calls its enumeration callback
// with the platform's calling convention (stdcall on 32-bit Windows), which
// no lambda has; one callback of that convention hands each window on.
#pragma once

#include <windows.h>

#include <functional>

// visit returns false to stop the walk.
using WindowVisit = std::function<bool(HWND)>;

namespace window_walk {
inline BOOL CALLBACK Visit(HWND window, LPARAM visit) {
    return (*reinterpret_cast<const WindowVisit *>(visit))(window) ? TRUE : FALSE;
}
} // namespace window_walk

// Every top-level window on the screen, in the system's order.
inline void ForEachTopWindow(const WindowVisit &visit) {
    EnumWindows(window_walk::Visit, reinterpret_cast<LPARAM>(&visit));
}

// Every top-level window of a thread.
inline void ForEachThreadWindow(DWORD thread, const WindowVisit &visit) {
    EnumThreadWindows(thread, window_walk::Visit, reinterpret_cast<LPARAM>(&visit));
}
