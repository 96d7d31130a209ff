// Window classes of the running program: each registered once, by the first
// window of its kind; later windows (and test programs that make the same
// window again) find it registered.
#pragma once

#include <windows.h>

namespace quillbox::win {

inline bool IsWindowClassRegistered(const char *name) {
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    return ::GetClassInfoExA(::GetModuleHandleA(nullptr), name, &existing) != FALSE;
}

// Registers windowClass (its size and module are filled in here) unless a
// class of that name is registered already; true when it is registered now.
inline bool RegisterWindowClass(WNDCLASSEXA windowClass) {
    if (IsWindowClassRegistered(windowClass.lpszClassName))
        return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    return ::RegisterClassExA(&windowClass) != 0;
}

// The system's arrow cursor, for classes that show it.
inline HCURSOR ArrowCursor() { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); }

} // namespace quillbox::win
