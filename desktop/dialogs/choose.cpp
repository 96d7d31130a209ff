#include "choose.h"

#include "ControlIds.h"
#include "LangRes.h"

namespace quillrun {

namespace {

constexpr char kClassName[] = "TChooseDlg";
constexpr int kClientWidth = 269;
constexpr int kClientHeight = 126;

} // namespace

TChooseDlg::~TChooseDlg() { Destroy(); }

bool TChooseDlg::Create(HWND owner) {
    return ModalForm::Create(kClassName, owner, LangRes::ChooseCaption, kClientWidth,
                             kClientHeight);
}

DropPurpose TChooseDlg::Ask() {
    if (ShowModal() != IDOK)
        return DropPurpose::None;
    return SendMessageA(Control(IdRbOption2), BM_GETCHECK, 0, 0) == BST_CHECKED
               ? DropPurpose::Destination
               : DropPurpose::Sources;
}

void TChooseDlg::CreateControls() {
    HFONT font = font_.Handle();
    // The windowed controls first, in tab order.
    CreateChild(hwnd_, "BUTTON", LangRes::ChooseOption1Text,
                WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 16, 40, 237, 17,
                IdRbOption1, font);
    CreateChild(hwnd_, "BUTTON", LangRes::ChooseOption2Text, WS_VISIBLE | BS_AUTORADIOBUTTON, 0,
                16, 60, 237, 17, IdRbOption2, font);
    CreateChild(hwnd_, "BUTTON", LangRes::OKBtnText,
                WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 108, 96, 75, 25, IDOK,
                font);
    CreateChild(hwnd_, "BUTTON", LangRes::CancelBtnText,
                WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, 188, 96, 75, 25, IDCANCEL,
                font);
    CreateLabel(hwnd_, IdChooseLabel1, 16, 8, LangRes::ChooseLabel1Text, font);
    Check(IdRbOption1);
}

void TChooseDlg::FormActivate() {
    SetDefaultButton(IDOK);
    SetFocus(Control(IDOK));
    Check(IdRbOption1);
    // Centred over the main window, by the outer sizes of both.
    RECT main, dialog;
    GetWindowRect(GetWindow(hwnd_, GW_OWNER), &main);
    GetWindowRect(hwnd_, &dialog);
    MoveTo(main.left + (main.right - main.left) / 2 - (dialog.right - dialog.left) / 2,
           main.top + (main.bottom - main.top) / 2 - (dialog.bottom - dialog.top) / 2);
}

void TChooseDlg::Command(int id, int code) {
    if (code == BN_CLICKED && (id == IdRbOption1 || id == IdRbOption2))
        Check(id);
}

void TChooseDlg::Check(int id) {
    for (int option : {IdRbOption1, IdRbOption2}) {
        HWND button = Control(option);
        bool checked = option == id;
        SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        LONG style = GetWindowLongA(button, GWL_STYLE);
        SetWindowLongA(button, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

} // namespace quillrun
