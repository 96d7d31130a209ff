// Maps a window procedure onto member handlers: the object pointer arrives
// with WM_NCCREATE and lives in GWLP_USERDATA until WM_NCDESTROY. (The
// installer's pages are dialogs and keep theirs in DWLP_USER the same way:
// inst/pages/PageDialog.cpp.)
#pragma once

#include <windows.h>

namespace quillbox::win {

template <class Derived>
class BaseWindow {
public:
    HWND Window() const { return hwnd_; }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived *self = nullptr;
        if (message == WM_NCCREATE) {
            auto create = reinterpret_cast<CREATESTRUCTA *>(lParam);
            self = static_cast<Derived *>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived *>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        }
        if (!self)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
        }
        return result;
    }

protected:
    HWND hwnd_ = nullptr;
};

} // namespace quillbox::win
