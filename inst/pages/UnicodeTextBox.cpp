#include "UnicodeTextBox.h"

namespace setup {

HWND MakeUnicodeTextBox(HWND dialog, int id) {
    const HWND old = ::GetDlgItem(dialog, id);
    RECT place;
    if (!old || !::GetWindowRect(old, &place))
        return nullptr;
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&place), 2);
    // The styles as the dialog made them, the 3-D border it gave in place of
    // a plain one among them.
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(old, GWL_STYLE));
    const DWORD extended = static_cast<DWORD>(::GetWindowLongW(old, GWL_EXSTYLE));
    const HWND box = ::CreateWindowExW(
        extended, L"EDIT", L"", style, place.left, place.top, place.right - place.left,
        place.bottom - place.top, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
    if (!box)
        return nullptr;
    ::SendMessageW(box, WM_SETFONT, ::SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    // Right after the old box in the z-order, which is the tab order.
    ::SetWindowPos(box, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::DestroyWindow(old);
    return box;
}

} // namespace setup
