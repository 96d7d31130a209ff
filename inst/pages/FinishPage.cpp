#include "FinishPage.h"

#include "PageIds.h"
#include "TextFile.h"

namespace setup {

void FinishPage::OnInit() {
    // After a removal the readme is gone with the product.
    if (mode_ != PageMode::Install)
        return;
    const ShownFile readme =
        FileForLanguage(setup(), "Finish", "Readme", "", setup().ctx.installFolder);
    if (!readme.named)
        return;
    ::ShowWindow(::GetDlgItem(hwnd_, IDC_README_LABEL), SW_SHOW);
    ::ShowWindow(::GetDlgItem(hwnd_, IDC_README_TEXT), SW_SHOW);
    if (!readme.path.empty())
        SetItemText(IDC_README_TEXT, TextForBox(readme.path));
}

int FinishPage::ReadOnlyBox() const { return IDC_README_TEXT; }

int FinishPage::FocusControl() const { return IDC_NEXT; }

} // namespace setup
