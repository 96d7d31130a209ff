// TMainForm: the window itself, start-up and shutdown, the message
// dispatch, closing, help and the switch between idle and busy.
#include "Main.h"

#include <shellapi.h>

#include "AnsiPath.h"
#include "KeyboardPreview.h"
#include "LangRes.h"
#include "Resources.h"
#include "win/PumpMessages.h"
#include "win/WindowClass.h"

namespace quillrun {

namespace {

constexpr char kClassName[] = "TMainForm";
constexpr int kClientWidth = 423;
constexpr int kClientHeight = 385;

// The controls that start library work, in the order they are switched.
const ControlId kSwitchedControls[] = {IdAboutBtn, IdNewFolderBtn, IdNewFileBtn,
                                       IdDeleteBtn, IdStartBtn,    IdBrowseBtn,
                                       IdFromCtrl,  IdToCtrl,      IdOptConvert,
                                       IdKeepTree};

bool RegisterMainClass() {
    // The icons are loaded only for the one registration that keeps them.
    if (quillbox::win::IsWindowClassRegistered(kClassName))
        return true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.lpfnWndProc = TMainForm::WindowProc;
    windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLBOX),
                                                      IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLBOX),
                                                        IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    windowClass.hCursor = quillbox::win::ArrowCursor();
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return quillbox::win::RegisterWindowClass(windowClass);
}

} // namespace

TMainForm *TMainForm::progressForm_ = nullptr;

TMainForm::TMainForm(Outside &outside, const InetMail &library)
    : outside_(outside), library_(library), browseDialog_(outside) {
    browseDialog_.Caption = LangRes::BrowseCaption;
    progressForm_ = this;
}

TMainForm::~TMainForm() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    if (progressForm_ == this)
        progressForm_ = nullptr;
    for (HICON icon : icons_)
        if (icon)
            DestroyIcon(icon);
    if (sourceImages_)
        ImageList_Destroy(sourceImages_);
    if (startImages_)
        ImageList_Destroy(startImages_);
}

bool TMainForm::Create() {
    INITCOMMONCONTROLSEX controls = {sizeof controls,
                                     ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES |
                                         ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterMainClass())
        return false;
    // WM_CREATE builds the controls and runs FormCreate; -1 refuses the window.
    CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName, LangRes::MainCaption,
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    return hwnd_ != nullptr;
}

bool TMainForm::FormCreate() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (outside_.PlatformVersion(version) &&
        (version.dwPlatformId == VER_PLATFORM_WIN32s ||
         (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion < 4))) {
        Notice(NoticeKind::Error, LangRes::PlatformTooOld);
        outside_.EndProgram(0);
        return false;
    }
    helpEngine_ = outside_.LoadHelpEngine();
    browseDialog_.OnInitialized = [this](TBrowseDialog &sender, HWND wnd, std::string path,
                                         std::string &showText, TOKButtonState &state) {
        BrowseDialogInit(sender, wnd, path, showText, state);
    };
    browseDialog_.OnSelectionChanged = [this](TBrowseDialog &sender, HWND wnd, std::string path,
                                              std::string &showText, TOKButtonState &state) {
        BrowseDialogSelChanged(sender, wnd, path, showText, state);
    };
    char documents[MAX_PATH] = "";
    if (SHGetSpecialFolderPathA(hwnd_, documents, CSIDL_PERSONAL, FALSE))
        openDialogFolder_ = documents;
    SendMessageA(Control(IdOptConvert), CB_SETCURSEL, 0, 0);
    SetControlsEnabled(true);
    return true;
}

// Both leave the status text empty and the OK button as the shell sets it.
void TMainForm::BrowseDialogInit(TBrowseDialog &, HWND, const std::string &, std::string &,
                                 TOKButtonState &) {}

void TMainForm::BrowseDialogSelChanged(TBrowseDialog &, HWND, const std::string &,
                                       std::string &, TOKButtonState &) {}

void TMainForm::FormDestroy() {
    SetControlsEnabled(false);
    if (helpEngine_)
        helpEngine_(nullptr, nullptr, 18 /* HH_CLOSE_ALL */, 0);
}

void TMainForm::HelpBtnClick() {
    char program[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    std::string file = FolderOf(program) + LangRes::HelpFileName;
    // The help window is the help engine's own: nothing keeps its handle.
    if (helpEngine_)
        helpEngine_(hwnd_, file.c_str(), 0 /* HH_DISPLAY_TOPIC */, 0);
}

void TMainForm::AboutBtnClick() {
    if (modalWindows_)
        modalWindows_->ShowAbout();
}

void TMainForm::Notice(NoticeKind kind, const std::string &text, bool beep) {
    ShowNotice(outside_, hwnd_, kind, text, beep);
}

void TMainForm::Guarded(const std::function<void()> &handler) {
    ++handlerDepth_;
    try {
        handler();
    } catch (const std::exception &failure) {
        ShowGeneralError(outside_, hwnd_, failure.what());
    } catch (...) {
        ShowGeneralError(outside_, hwnd_, LangRes::ResultText1006);
    }
    --handlerDepth_;
    RepostDrops();
    CloseIfAsked();
}

void TMainForm::CloseIfAsked() {
    if (handlerDepth_ == 0 && !busy_ && closeAsked_ && hwnd_) {
        closeAsked_ = false;
        DestroyWindow(hwnd_);
    }
}

void TMainForm::SetControlsEnabled(bool enabled) {
    if (!enabled) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus))
            lastFocus_ = focus;
    }
    for (ControlId id : kSwitchedControls)
        EnableWindow(Control(id), enabled ? TRUE : FALSE);
    hourglass_ = !enabled;
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(enabled ? 32512 : 32514))); // arrow, wait
    // The main window carries the taskbar button itself: it is the
    // application's top-level window as well.
    DragAcceptFiles(hwnd_, enabled ? TRUE : FALSE);
    if (!enabled) {
        // Keys still reach the window (help works while busy).
        if (GetActiveWindow() == hwnd_)
            SetFocus(hwnd_);
    } else if (GetActiveWindow() == hwnd_) {
        HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : Control(IdFromCtrl);
        if (IsWindowEnabled(target))
            SetFocus(target);
    }
}

void TMainForm::ProcessMessages() { quillbox::win::PumpPendingMessages(); }

bool TMainForm::PreTranslate(MSG &message) {
    return hwnd_ && IsDialogMessageA(hwnd_, &message);
}

LRESULT TMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls();
        KeyboardPreview::Install(this);
        SizeClientCentred(hwnd_, kClientWidth, kClientHeight);
        return FormCreate() ? 0 : -1;
    case WM_DESTROY:
        FormDestroy();
        KeyboardPreview::Remove(this);
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        // The library dispatches the thread's messages during its calls, so
        // a quit posted now would be lost inside it: close once the handler
        // in progress has returned.
        if (busy_ || handlerDepth_ > 0) {
            closeAsked_ = true;
            return 0;
        }
        DestroyWindow(hwnd_);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case IdAboutBtn: Guarded([this] { AboutBtnClick(); }); return 0;
            case IdNewFileBtn: Guarded([this] { NewFileBtnClick(); }); return 0;
            case IdNewFolderBtn: Guarded([this] { NewFolderBtnClick(); }); return 0;
            case IdDeleteBtn: Guarded([this] { DeleteBtnClick(); }); return 0;
            case IdHelpBtn: Guarded([this] { HelpBtnClick(); }); return 0;
            case IdBrowseBtn: Guarded([this] { BrowseBtnClick(); }); return 0;
            case IdStartBtn: Guarded([this] { StartBtnClick(); }); return 0;
            case IdKeepTree: Guarded([this] { optConvertChange(); }); return 0;
            }
        }
        // A new kind, chosen with the keys or the mouse: while the list is
        // dropped down its selection follows the pointer and the arrow keys,
        // so the kind counts once the list has closed up.
        if (LOWORD(wParam) == IdOptConvert &&
            ((HIWORD(wParam) == CBN_SELCHANGE &&
              !SendMessageA(Control(IdOptConvert), CB_GETDROPPEDSTATE, 0, 0)) ||
             HIWORD(wParam) == CBN_CLOSEUP))
            Guarded([this] { optConvertChange(); });
        return 0;
    case WM_NOTIFY: {
        auto header = reinterpret_cast<NMHDR *>(lParam);
        if (header->idFrom == IdFromCtrl && header->code == LVN_KEYDOWN)
            FromCtrlKeyDown(reinterpret_cast<NMLVKEYDOWN *>(lParam)->wVKey);
        return 0;
    }
    case WM_SETCURSOR:
        if (hourglass_) {
            SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))); // IDC_WAIT
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus))
                lastFocus_ = focus;
        } else {
            HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : Control(IdFromCtrl);
            SetFocus(IsWindowEnabled(target) ? target : hwnd_);
        }
        return 0;
    case WM_DROPFILES:
        Guarded([this, wParam] { FormDropFiles(reinterpret_cast<HDROP>(wParam)); });
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

} // namespace quillrun
