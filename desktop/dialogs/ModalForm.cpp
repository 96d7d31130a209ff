#include "ModalForm.h"

#include "win/WindowClass.h"

namespace quillrun {

namespace {

bool RegisterFormClass(const char *className) {
    WNDCLASSEXA windowClass = {};
    windowClass.lpfnWndProc = ModalForm::WindowProc;
    windowClass.hCursor = quillbox::win::ArrowCursor();
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    return quillbox::win::RegisterWindowClass(windowClass);
}

bool IsPushButton(HWND window) {
    char name[16] = "";
    if (!window || !GetClassNameA(window, name, sizeof name) || lstrcmpiA(name, "Button") != 0)
        return false;
    LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

} // namespace

ModalForm::~ModalForm() { Destroy(); }

void ModalForm::Destroy() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool ModalForm::Create(const char *className, HWND owner, const char *caption, int width,
                       int height) {
    if (!RegisterFormClass(className))
        return false;
    CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, className, caption,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT,
                    CW_USEDEFAULT, 100, 100, owner, nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd_)
        return false;
    SizeClientCentred(hwnd_, width, height);
    return true;
}

int ModalForm::ShowModal() {
    if (!hwnd_ || showing_)
        return 0;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    showing_ = true;
    activated_ = false;
    result_ = 0;
    lastFocus_ = followedFocus_ = nullptr;
    SetDefaultButton(defaultId_);
    BeforeShow();
    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOW);

    bool quit = false;
    WPARAM quitCode = 0;
    MSG message;
    while (result_ == 0 && hwnd_) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = message.wParam;
            break;
        }
        if (got < 0)
            break;
        if (!IsDialogMessageA(hwnd_, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        FollowFocus();
    }
    // The owner is enabled before this window hides, so that it, and not
    // some other program's window, becomes the active window again.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    if (hwnd_)
        ShowWindow(hwnd_, SW_HIDE);
    showing_ = false;
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode)); // for the loop that runs the program
    return result_ == IDOK ? IDOK : IDCANCEL;
}

void ModalForm::MoveTo(int left, int top) {
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModalForm::SetDefaultButton(int id) {
    defaultId_ = id;
    followedFocus_ = reinterpret_cast<HWND>(-1); // look at the focus again
    FollowFocus();
}

void ModalForm::FollowFocus() {
    HWND focus = GetFocus();
    if (focus == followedFocus_)
        return;
    followedFocus_ = focus;
    HWND shown = IsPushButton(focus) && IsChild(hwnd_, focus) ? focus : Control(defaultId_);
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsPushButton(child))
            continue;
        LONG type = GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK;
        LONG wanted = child == shown ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (type != wanted)
            SendMessageA(child, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
    }
}

LRESULT ModalForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into Windows; what could fail here is memory only,
    // and the window goes on without the failed step.
    try {
        switch (message) {
        case WM_CREATE:
            font_ = Font("MS UI Gothic", 12);
            CreateControls();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            Paint(dc);
            EndPaint(hwnd_, &paint);
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus))
                    lastFocus_ = focus;
                return 0;
            }
            if (!activated_ && showing_) {
                activated_ = true;
                SetFocus(GetNextDlgTabItem(hwnd_, nullptr, FALSE));
                FormActivate();
            } else {
                SetFocus(lastFocus_ && IsWindow(lastFocus_)
                             ? lastFocus_
                             : GetNextDlgTabItem(hwnd_, nullptr, FALSE));
            }
            FollowFocus();
            return 0;
        case DM_GETDEFID: {
            // Enter presses the focused push button, else the default one.
            HWND focus = GetFocus();
            int id = IsPushButton(focus) && IsChild(hwnd_, focus) ? GetDlgCtrlID(focus)
                                                                  : defaultId_;
            return MAKELRESULT(id, DC_HASDEFID);
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK ||
                                                 LOWORD(wParam) == IDCANCEL)) {
                Close(LOWORD(wParam));
                return 0;
            }
            Command(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            Close(IDCANCEL);
            return 0;
        case WM_CTLCOLORSTATIC:
            // Texts and radio buttons lie on the form's face colour.
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_.Handle());
        }
    } catch (...) {
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

} // namespace quillrun
