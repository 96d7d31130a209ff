#include "PageDialog.h"

#include <vector>

#include "Banner.h"
#include "PageIds.h"
#include "SetupPages.h"
#include "UnicodeTextBox.h"

namespace setup {

PageDialog::~PageDialog() { Destroy(); }

int PageDialog::RunModal() {
    modal_ = true;
    const INT_PTR result =
        ::DialogBoxParamA(frame_.resources, MAKEINTRESOURCEA(templateId_), nullptr, Proc,
                          reinterpret_cast<LPARAM>(this));
    return result > 0 ? static_cast<int>(result) : PageCancel;
}

bool PageDialog::OpenModeless() {
    modal_ = false;
    if (!::CreateDialogParamA(frame_.resources, MAKEINTRESOURCEA(templateId_), nullptr, Proc,
                              reinterpret_cast<LPARAM>(this)))
        return false;
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
    return true;
}

void PageDialog::Destroy() {
    if (hwnd_ && !modal_)
        ::DestroyWindow(hwnd_);
}

void PageDialog::End(int id) {
    if (modal_)
        ::EndDialog(hwnd_, id);
}

bool PageDialog::ConfirmExit() {
    return setup().Show(MessageKind::Question, setup().Text(TextConfirmExit), hwnd_) ==
           Answer::Yes;
}

std::string PageDialog::ItemText(int id) const {
    const HWND item = ::GetDlgItem(hwnd_, id);
    std::vector<char> text(static_cast<size_t>(::GetWindowTextLengthA(item)) + 1);
    const int length = ::GetWindowTextA(item, text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

void PageDialog::SetItemText(int id, const std::string &text) {
    ::SetDlgItemTextA(hwnd_, id, text.c_str());
}

void PageDialog::SetItemText(int id, const std::wstring &text) {
    ::SetWindowTextW(::GetDlgItem(hwnd_, id), text.c_str());
}

bool PageDialog::IsItemEnabled(int id) const {
    const HWND item = ::GetDlgItem(hwnd_, id);
    return item && ::IsWindowEnabled(item);
}

void PageDialog::SyncCloseBox() {
    ::EnableMenuItem(::GetSystemMenu(hwnd_, FALSE), SC_CLOSE,
                     MF_BYCOMMAND | (IsItemEnabled(IDCANCEL) ? MF_ENABLED : MF_GRAYED));
}

void PageDialog::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(hwnd_, &paint);
    RECT area;
    const HWND bannerArea = ::GetDlgItem(hwnd_, IDC_BANNER);
    if (dc && bannerArea && ::GetWindowRect(bannerArea, &area)) {
        ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT *>(&area), 2);
        frame_.banner.Paint(dc, area);
    }
    ::EndPaint(hwnd_, &paint);
}

INT_PTR PageDialog::StaticColour(HDC dc, HWND control) {
    const int id = ::GetDlgCtrlID(control);
    if (id == IDC_TITLE) {
        ::SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(::GetStockObject(WHITE_BRUSH));
    }
    if (id != 0 && id == ReadOnlyBox()) {
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_WINDOW));
    }
    return FALSE;
}

INT_PTR PageDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowTextA(hwnd_, setup().ctx.caption.c_str());
        if (const int box = ReadOnlyBox())
            MakeUnicodeTextBox(hwnd_, box);
        OnInit();
        SyncCloseBox();
        if (const int focus = FocusControl()) {
            ::SetFocus(::GetDlgItem(hwnd_, focus));
            return FALSE;
        }
        return TRUE;
    case WM_PAINT:
        Paint();
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return StaticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
        if (IsItemEnabled(IDCANCEL))
            OnButton(IDCANCEL);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDCANCEL || id == IDC_BACK || id == IDC_NEXT) {
            // Escape and Enter arrive here too, whatever the buttons' state.
            if (IsItemEnabled(id))
                OnButton(id);
        } else {
            OnCommand(id, HIWORD(wParam));
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK PageDialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PageDialog *page = nullptr;
    if (message == WM_INITDIALOG) {
        page = reinterpret_cast<PageDialog *>(lParam);
        page->hwnd_ = window;
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    } else {
        page = reinterpret_cast<PageDialog *>(::GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!page)
        return FALSE;
    INT_PTR result = FALSE;
    try {
        result = page->Handle(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dialog code; a page that
        // failed ends as if cancelled.
        page->End(PageCancel);
        result = TRUE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        page->hwnd_ = nullptr;
    }
    return result;
}

} // namespace setup
