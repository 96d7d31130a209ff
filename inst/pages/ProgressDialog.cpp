#include "ProgressDialog.h"

#include <commctrl.h>

#include "PageIds.h"

namespace setup {

void ProgressDialog::SetPosition(int percent) {
    ::SendDlgItemMessageA(hwnd_, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void ProgressDialog::OnInit() {
    const bool install = mode_ == PageMode::Install;
    ::SendDlgItemMessageA(hwnd_, IDC_PROGRESS, PBM_SETRANGE32, 0, 100);
    ::EnableWindow(::GetDlgItem(hwnd_, IDCANCEL), install);
    SetPosition(install ? 0 : 100);
}

void ProgressDialog::OnButton(int id) {
    // The steps look at the flag at their next check; the install run then
    // closes the page.
    if (id == PageCancel && mode_ == PageMode::Install && ConfirmExit()) {
        setup().ctx.abortFlag = true;
        ::ShowWindow(hwnd_, SW_HIDE);
    }
}

} // namespace setup
