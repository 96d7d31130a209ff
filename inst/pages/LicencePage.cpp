#include "LicencePage.h"

#include "PageIds.h"
#include "SetupPages.h"
#include "TextFile.h"

namespace setup {

void LicencePage::OnInit() {
    // Coming back from the folder page, the choice made before stands.
    ::CheckRadioButton(hwnd_, IDC_DISAGREE, IDC_AGREE,
                       setup().ctx.licenceAccepted ? IDC_AGREE : IDC_DISAGREE);
    UpdateNext();
    const ShownFile licence =
        FileForLanguage(setup(), "License", "Eula", "eula.txt", setup().ctx.setupFolder);
    if (!licence.path.empty())
        SetItemText(IDC_LICENCE_TEXT, TextForBox(licence.path));
}

void LicencePage::OnCommand(int id, int code) {
    if ((id == IDC_AGREE || id == IDC_DISAGREE) && code == BN_CLICKED)
        UpdateNext();
}

void LicencePage::OnButton(int id) {
    if (id == PageCancel) {
        if (ConfirmExit())
            End(PageCancel);
        return;
    }
    // Next only with "I Agree", whatever sent the command.
    if (id != PageNext || Agreed())
        End(id);
}

int LicencePage::ReadOnlyBox() const { return IDC_LICENCE_TEXT; }

bool LicencePage::Agreed() const {
    return ::IsDlgButtonChecked(hwnd_, IDC_AGREE) == BST_CHECKED;
}

void LicencePage::UpdateNext() { ::EnableWindow(::GetDlgItem(hwnd_, IDC_NEXT), Agreed()); }

// A text box that takes the focus selects all its text; the choice is what
// the page asks for.
int LicencePage::FocusControl() const { return Agreed() ? IDC_AGREE : IDC_DISAGREE; }

} // namespace setup
