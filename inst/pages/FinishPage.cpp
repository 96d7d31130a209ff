#include "FinishPage.h"

#include "ExpandPathMacros.h"
#include "PageIds.h"
#include "TextFile.h"

namespace setup {

void FinishPage::OnInit() {
    // After a removal the readme is gone with the product.
    if (mode_ != PageMode::Install)
        return;
    std::string readme = setup().script().Value("Finish", "Readme");
    if (readme.empty())
        return;
    ::ShowWindow(::GetDlgItem(hwnd_, IDC_README_LABEL), SW_SHOW);
    ::ShowWindow(::GetDlgItem(hwnd_, IDC_README_TEXT), SW_SHOW);
    if (ExpandPathValue(readme, setup().ctx.installFolder, setup().platform))
        SetItemText(IDC_README_TEXT, TextForBox(readme));
}

int FinishPage::ReadOnlyBox() const { return IDC_README_TEXT; }

int FinishPage::FocusControl() const { return IDC_NEXT; }

} // namespace setup
