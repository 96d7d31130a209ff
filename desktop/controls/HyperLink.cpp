#include "HyperLink.h"

#include <commctrl.h>

#include <vector>

#include "Outside.h"
#include "win/Handles.h"
#include "win/PumpMessages.h"
#include "win/WindowClass.h"

namespace quillrun {

namespace {

unsigned StyleOf(const LOGFONTA &font) {
    return (font.lfWeight >= FW_BOLD ? fsBold : 0u) | (font.lfItalic ? fsItalic : 0u) |
           (font.lfUnderline ? fsUnderline : 0u) | (font.lfStrikeOut ? fsStrikeOut : 0u);
}

void ApplyStyle(LOGFONTA &font, unsigned style) {
    font.lfWeight = (style & fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (style & fsItalic) ? TRUE : FALSE;
    font.lfUnderline = (style & fsUnderline) ? TRUE : FALSE;
    font.lfStrikeOut = (style & fsStrikeOut) ? TRUE : FALSE;
}

// The program's own hand cursor, or the system's should the resource be
// missing.
HCURSOR HandCursor() {
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), "HANDPOINT");
    return hand ? hand : LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)); // IDC_HAND
}

bool RegisterLinkClass() {
    WNDCLASSEXA windowClass = {};
    windowClass.lpfnWndProc = THyperLink::WindowProc;
    windowClass.hCursor = HandCursor();
    windowClass.lpszClassName = THyperLink::ClassName;
    return quillbox::win::RegisterWindowClass(windowClass);
}

POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}


} // namespace

THyperLink::THyperLink(Outside &outside) : outside_(outside) {}

THyperLink::~THyperLink() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool THyperLink::Create(HWND parent, int id, int left, int top, DWORD style) {
    if (!RegisterLinkClass())
        return false;
    CreateWindowExA(0, ClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, Scale(left),
                    Scale(top), Scale(55), Scale(14), parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                    this);
    if (!hwnd_)
        return false;
    // The parent's font, remembered at rest, then underlined.
    auto parentFont = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
    if (!parentFont || !GetObjectA(parentFont, sizeof logFont_, &logFont_))
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont_, &logFont_);
    textColor_ = notPressedColor_;
    restStyle_ = StyleOf(logFont_);
    style_ = restStyle_ | fsUnderline;
    RebuildFont();
    AdjustSize();
    return true;
}

void THyperLink::SetNotPressedColor(COLORREF colour) {
    notPressedColor_ = colour;
    if (!pressed_ && !over_)
        ShowRestLook();
}

void THyperLink::SetOverColor(COLORREF colour) {
    overColor_ = colour;
    if (over_ && !pressed_)
        ShowOverLook();
}

void THyperLink::SetCaption(const std::string &text) {
    SetWindowTextA(hwnd_, text.c_str());
}

void THyperLink::SetFont(const char *face, int pixels, unsigned style, COLORREF colour) {
    LOGFONTA font = {};
    font.lfHeight = -Scale(pixels);
    font.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    ApplyStyle(font, style);
    FontChanged(font, colour);
}

void THyperLink::SetAutoSize(bool on) {
    autoSize_ = on;
    AdjustSize();
}

void THyperLink::FontChanged(const LOGFONTA &font, COLORREF colour) {
    logFont_ = font;
    style_ = StyleOf(font);
    textColor_ = colour;
    RebuildFont();
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
    // A colour given with the font becomes the colour at rest, unless the
    // link shows another look just now.
    if (textColor_ != notPressedColor_ && !pressed_ && !over_)
        SetNotPressedColor(textColor_);
    AdjustSize();
}

void THyperLink::RebuildFont() {
    LOGFONTA font = logFont_;
    ApplyStyle(font, style_);
    font_ = Font(font);
}

void THyperLink::AdjustSize() {
    if (!autoSize_ || !hwnd_)
        return;
    std::string text = WindowText(hwnd_);
    // An italic face overhangs its last character.
    if (lstrcmpA(logFont_.lfFaceName, "MS Sans Serif") != 0 && logFont_.lfItalic)
        text += ",";
    SIZE size = TextSize(font_.Handle(), text);
    int borders = (GetWindowLongA(hwnd_, GWL_STYLE) & WS_BORDER) ? 4 : 1;
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx + borders * GetSystemMetrics(SM_CXBORDER),
                 size.cy + borders * GetSystemMetrics(SM_CYBORDER),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void THyperLink::SetLook(COLORREF colour, unsigned style) {
    bool changed = false;
    if (colour != textColor_) {
        textColor_ = colour;
        changed = true;
    }
    if (style != style_) {
        style_ = style;
        RebuildFont();
        AdjustSize();
        changed = true;
    }
    if (changed && hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void THyperLink::ShowRestLook() { SetLook(notPressedColor_, restStyle_); }
void THyperLink::ShowOverLook() { SetLook(overColor_, style_ | fsUnderline); }
void THyperLink::ShowPressedColor() { SetLook(pressedColor_, style_); }
void THyperLink::ShowNotPressedColor() { SetLook(notPressedColor_, style_); }

bool THyperLink::Inside(POINT point) const {
    RECT client;
    GetClientRect(hwnd_, &client);
    return point.x >= 0 && point.x <= client.right && point.y >= 0 && point.y <= client.bottom;
}

void THyperLink::MouseDown(UINT message) {
    if (message == WM_LBUTTONDOWN) {
        pressed_ = true;
        over_ = false;
        // The pointer is inside: a drag out from here turns the text back.
        heldInside_ = true;
        ShowPressedColor();
    }
    SetFocus(hwnd_);
    // Moves and the release outside still come here while a button that
    // can drag is held.
    if (message != WM_RBUTTONDOWN && hwnd_)
        SetCapture(hwnd_);
}

void THyperLink::MouseMove(WPARAM buttons, POINT point) {
    if (!trackingLeave_) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    bool inside = Inside(point);
    if (StatusBar && inside)
        ShowInStatusBar(HREF);
    if (!(buttons & (MK_LBUTTON | MK_MBUTTON))) {
        pressed_ = false;
        // A move without buttons can still come from outside while the
        // mouse is captured (the release is on its way): no hover look then.
        over_ = inside;
        if (inside)
            ShowOverLook();
        else
            ShowRestLook();
        return;
    }
    if (inside && !heldInside_) {
        heldInside_ = true;
        pressed_ = true;
        ShowPressedColor();
        UpdateWindow(hwnd_);
    } else if (!inside && heldInside_) {
        heldInside_ = false;
        pressed_ = false;
        ShowNotPressedColor();
        UpdateWindow(hwnd_);
    }
}

void THyperLink::MouseLeave() {
    trackingLeave_ = false;
    if (over_ && IsWindowEnabled(hwnd_)) {
        over_ = false;
        ShowRestLook();
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void THyperLink::MouseUp(bool leftButton, POINT point) {
    bool wasPressed = pressed_;
    pressed_ = false;
    heldInside_ = false;
    ShowNotPressedColor();
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    bool inside = Inside(point);
    if (leftButton && wasPressed && inside && OnClick)
        OnClick(*this);
    if (!hwnd_)
        return;
    // The link shows its colour before the shell, which may take a while,
    // is asked.
    UpdateWindow(hwnd_);
    ProcessMessages();
    if (!hwnd_)
        return;
    if (inside && !HREF.empty() && leftButton)
        outside_.ShellExecuteTarget(GetAncestor(hwnd_, GA_ROOT), "open", HREF.c_str(), "", "",
                                    SW_SHOWDEFAULT);
}

void THyperLink::KeyPress(char key) {
    if (OnKeyPress)
        OnKeyPress(*this, key);
    if (!hwnd_ || key != '\r')
        return;
    MouseUp(true, POINT{1, 1});
    if (hwnd_ && OnClick)
        OnClick(*this);
}

void THyperLink::FocusEnter() {
    if (OnEnter)
        OnEnter(*this);
    if (StatusBar) {
        rememberedStatusText_ = StatusBarText();
        ShowInStatusBar(HREF);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

void THyperLink::FocusExit() {
    over_ = false;
    ShowRestLook();
    if (OnExit)
        OnExit(*this);
    if (StatusBar && StatusBarText() == HREF)
        ShowInStatusBar(rememberedStatusText_);
    InvalidateRect(hwnd_, nullptr, TRUE);
    UpdateWindow(hwnd_);
}

void THyperLink::Paint() {
    bool focused = GetFocus() == hwnd_;
    // The focused link shows the over look (before painting, so that one
    // paint shows it).
    if (focused && !pressed_) {
        over_ = true;
        ShowOverLook();
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT client;
    GetClientRect(hwnd_, &client);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE); // the system's: not deleted
    FillRect(dc, &client, face);
    {
        const quillbox::win::Selected selected(dc, font_.Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, IsWindowEnabled(hwnd_) ? textColor_ : GetSysColor(COLOR_GRAYTEXT));
        std::string text = WindowText(hwnd_);
        RECT area = client;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (focused) {
        FrameRect(dc, &client, face);
        DrawFocusRect(dc, &client);
    }
    EndPaint(hwnd_, &paint);
}

void THyperLink::ShowInStatusBar(const std::string &text) {
    SendMessageA(StatusBar, SB_SETTEXTA, static_cast<WPARAM>(StatusPanelNo),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

std::string THyperLink::StatusBarText() const {
    LRESULT length = SendMessageA(StatusBar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(StatusPanelNo),
                                  0);
    std::vector<char> text(static_cast<size_t>(LOWORD(length)) + 1, '\0');
    SendMessageA(StatusBar, SB_GETTEXTA, static_cast<WPARAM>(StatusPanelNo),
                 reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

void THyperLink::ProcessMessages() {
    // The messages go where the dialog's own loop would send them.
    quillbox::win::PumpPendingMessages(GetAncestor(hwnd_, GA_ROOT));
}

LRESULT THyperLink::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDOWN:
            MouseDown(message);
            return 0;
        case WM_MOUSEMOVE:
            MouseMove(wParam, PointOf(lParam));
            return 0;
        case WM_MOUSELEAVE:
            MouseLeave();
            return 0;
        case WM_LBUTTONUP:
        case WM_MBUTTONUP:
        case WM_RBUTTONUP:
            MouseUp(message == WM_LBUTTONUP, PointOf(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            // Capture taken away while pressed (another window, a switch of
            // programs): the press is over.
            if (pressed_ && reinterpret_cast<HWND>(lParam) != hwnd_) {
                pressed_ = false;
                heldInside_ = false;
                ShowNotPressedColor();
            }
            return 0;
        case WM_GETDLGCODE: {
            // Every character reaches KeyPress; Enter opens the link rather
            // than pressing the dialog's default button.
            auto queued = reinterpret_cast<const MSG *>(lParam);
            bool enter = queued && (queued->message == WM_KEYDOWN || queued->message == WM_CHAR) &&
                         queued->wParam == VK_RETURN;
            return DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
        }
        case WM_CHAR:
            KeyPress(static_cast<char>(wParam));
            return 0;
        case WM_SETFOCUS:
            FocusEnter();
            return 0;
        case WM_KILLFOCUS:
            FocusExit();
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd_, nullptr, TRUE);
            return 0;
        case WM_SETTEXT: {
            LRESULT result = DefWindowProcA(hwnd_, message, wParam, lParam);
            AdjustSize();
            InvalidateRect(hwnd_, nullptr, TRUE);
            return result;
        }
        case WM_SETFONT: {
            LOGFONTA font = {};
            if (wParam && GetObjectA(reinterpret_cast<HFONT>(wParam), sizeof font, &font))
                FontChanged(font, textColor_);
            return 0;
        }
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_.Handle());
        case WM_ERASEBKGND:
            return 1; // the paint fills the whole control
        case WM_PAINT:
            Paint();
            return 0;
        }
    } catch (...) {
        // Nothing may unwind into Windows; a failed handler (memory) leaves
        // the link as it was.
        return 0;
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

} // namespace quillrun
