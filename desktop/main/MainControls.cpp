// TMainForm: the controls, at their 96-DPI places, with their texts,
// pictures and hints. The windowed controls are made first and in tab
// order (creation order is the order Tab walks); the pictures and texts
// come last, so they lie below every other control.
#include "FlatButton.h"
#include "LangRes.h"
#include "Main.h"
#include "Resources.h"

namespace quillrun {

void TMainForm::CreateControls() {
    font_ = Font("MS UI Gothic", 12);
    HFONT font = font_.Handle();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto icon = [&](int id, int width, int height) {
        HICON loaded = static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, Scale(width), Scale(height),
                       LR_DEFAULTCOLOR));
        icons_.push_back(loaded);
        return loaded;
    };

    HWND fromCtrl = CreateChild(hwnd_, WC_LISTVIEWA, "",
                                WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                    LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS,
                                WS_EX_CLIENTEDGE, 16, 84, 393, 173, IdFromCtrl, font);
    // A combo box of the simple style that never gets list entries: a
    // single-line text field.
    CreateChild(hwnd_, "COMBOBOX", "",
                WS_VISIBLE | WS_TABSTOP | CBS_SIMPLE | CBS_AUTOHSCROLL, 0, 16, 316, 325, 20,
                IdToCtrl, font);
    CreateChild(hwnd_, "BUTTON", LangRes::BrowseBtnText, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                0, 344, 316, 67, 21, IdBrowseBtn, font);
    // The drop-down list's height includes its list; the closed field is
    // then sized to 20 pixels through the selection field's item height.
    HWND optConvert = CreateChild(hwnd_, "COMBOBOX", "",
                                  WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 16,
                                  360, 185, 120, IdOptConvert, font);
    for (const char *item : {LangRes::ConvertGeneral, LangRes::ConvertNifty, LangRes::ConvertMbox})
        SendMessageA(optConvert, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    // The border around the selection field differs between versions of the
    // control (and some read back another item height than was set), so the
    // height set is corrected by what the field measures until it fits.
    LRESULT fieldHeight = SendMessageA(optConvert, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 3 && fieldHeight != CB_ERR; ++attempt) {
        RECT closed;
        GetWindowRect(optConvert, &closed);
        int error = Scale(20) - (closed.bottom - closed.top);
        if (error == 0 || fieldHeight + error <= 0)
            break;
        fieldHeight += error;
        SendMessageA(optConvert, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), fieldHeight);
    }
    // Right of the kind list, next in the tab order; off at start.
    CreateChild(hwnd_, "BUTTON", LangRes::KeepTreeText, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                0, 209, 360, 200, 20, IdKeepTree, font);
    HWND startBtn = CreateChild(hwnd_, "BUTTON", LangRes::StartBtnText,
                                WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 172, 260, 89, 53,
                                IdStartBtn, font);
    CreateChild(hwnd_, PROGRESS_CLASSA, "", 0, 0, 16, 264, 393, 21, IdProgBar, nullptr);

    FlatButton::Create(hwnd_, IdAboutBtn, 16, 8, 48, 48, icon(IDI_QUILLBOX, 32, 32));
    FlatButton::Create(hwnd_, IdNewFileBtn, 336, 56, 25, 25, icon(IDI_NEWFILE, 16, 16));
    FlatButton::Create(hwnd_, IdNewFolderBtn, 360, 56, 25, 25, icon(IDI_NEWFOLDER, 16, 16));
    FlatButton::Create(hwnd_, IdDeleteBtn, 384, 56, 25, 25, icon(IDI_DELETE, 16, 16));
    FlatButton::Create(hwnd_, IdHelpBtn, 384, 288, 25, 25, icon(IDI_HELP, 16, 16));

    CreateChild(hwnd_, "STATIC", LangRes::Label1Text, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 80,
                16, 325, 25, IdLabel1, font);
    CreatePicture(hwnd_, IdImage2, 16, 66, icon(IDI_SOURCE, 16, 16));
    CreateLabel(hwnd_, IdLabel2, 36, 68, LangRes::Label2Text, font);
    CreateChild(hwnd_, "STATIC", "", WS_VISIBLE | SS_RIGHT | SS_NOPREFIX, 0, 112, 288, 265, 12,
                IdProgText, font);
    CreatePicture(hwnd_, IdImage1, 16, 298, icon(IDI_DESTINATION, 17, 15));
    CreateLabel(hwnd_, IdLabel3, 36, 300, LangRes::Label3Text, font);
    CreatePicture(hwnd_, IdImage3, 16, 342, icon(IDI_OPTIONS, 16, 16));
    CreateLabel(hwnd_, IdLabel4, 36, 344, LangRes::Label4Text, font);

    // The list: three columns, a file and a folder picture.
    FillSourceColumns();
    sourceImages_ = ImageList_Create(Scale(16), Scale(16), ILC_COLOR32 | ILC_MASK, 2, 0);
    ImageList_AddIcon(sourceImages_, icon(IDI_LISTFILE, 16, 16));
    ImageList_AddIcon(sourceImages_, icon(IDI_LISTFOLDER, 16, 16));
    SendMessageA(fromCtrl, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(sourceImages_));

    // The start button's picture above its caption.
    startImages_ = ImageList_Create(Scale(32), Scale(32), ILC_COLOR32 | ILC_MASK, 1, 0);
    ImageList_AddIcon(startImages_, icon(IDI_START, 32, 32));
    BUTTON_IMAGELIST picture = {startImages_, {0, Scale(3), 0, 0}, BUTTON_IMAGELIST_ALIGN_TOP};
    SendMessageA(startBtn, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&picture));

    progBar_ = Control(IdProgBar);
    progText_ = Control(IdProgText);
    CreateToolTips();
}

void TMainForm::FillSourceColumns() {
    struct Column {
        const char *header;
        int width;
        int format;
    };
    const Column columns[] = {{LangRes::ColumnName, 120, LVCFMT_LEFT},
                              {LangRes::ColumnCount, 80, LVCFMT_RIGHT},
                              {LangRes::ColumnPath, 170, LVCFMT_LEFT}};
    HWND list = Control(IdFromCtrl);
    int index = 0;
    for (const Column &column : columns) {
        LVCOLUMNA item = {};
        item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        item.fmt = column.format;
        item.cx = Scale(column.width);
        item.pszText = const_cast<char *>(column.header);
        item.iSubItem = index;
        SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&item));
        ++index;
    }
}

void TMainForm::CreateToolTips() {
    toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!toolTip_)
        return;
    SendMessageA(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
    auto hint = [this](HWND control, const char *text) {
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = const_cast<char *>(text);
        SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    };
    hint(Control(IdAboutBtn), LangRes::AboutBtnHint);
    hint(Control(IdNewFileBtn), LangRes::NewFileBtnHint);
    hint(Control(IdNewFolderBtn), LangRes::NewFolderBtnHint);
    hint(Control(IdDeleteBtn), LangRes::DeleteBtnHint);
    hint(Control(IdHelpBtn), LangRes::HelpBtnHint);
    hint(Control(IdFromCtrl), LangRes::FromCtrlHint);
    hint(Control(IdToCtrl), LangRes::ToCtrlHint);
    // The pointer over the text field is over the combo box's edit child.
    if (HWND edit = FindWindowExA(Control(IdToCtrl), nullptr, "Edit", nullptr))
        hint(edit, LangRes::ToCtrlHint);
}

} // namespace quillrun
