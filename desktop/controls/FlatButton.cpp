#include "FlatButton.h"

#include "Layout.h"
#include "win/WindowClass.h"

namespace quillrun {

namespace FlatButton {
namespace {

struct State {
    HICON icon = nullptr;
    SIZE iconSize = {0, 0};
    bool hot = false;      // the pointer is over the button
    bool pressed = false;  // the left button went down on it and is held
    bool tracking = false; // a WM_MOUSELEAVE has been asked for
};

State *StateOf(HWND window) {
    return reinterpret_cast<State *>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool PointerInside(HWND window, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&client, point) != FALSE;
}

void Click(HWND window) {
    HWND parent = GetParent(window);
    int id = GetDlgCtrlID(window);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(window));
}

void Paint(HWND window, State &state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    bool enabled = IsWindowEnabled(window) != FALSE;
    bool down = state.pressed && state.hot;
    if (state.icon) {
        int x = (client.right - state.iconSize.cx) / 2 + (down ? 1 : 0);
        int y = (client.bottom - state.iconSize.cy) / 2 + (down ? 1 : 0);
        if (enabled)
            DrawIconEx(dc, x, y, state.icon, state.iconSize.cx, state.iconSize.cy, 0, nullptr,
                       DI_NORMAL);
        else
            DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(state.icon), 0, x, y,
                       state.iconSize.cx, state.iconSize.cy, DST_ICON | DSS_DISABLED);
    }
    if (enabled && (state.hot || state.pressed))
        DrawEdge(dc, &client, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    EndPaint(window, &paint);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    State *state = StateOf(window);
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new State));
        break;
    case WM_NCDESTROY:
        delete state;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    case SetIcon: {
        state->icon = reinterpret_cast<HICON>(wParam);
        ICONINFO info = {};
        BITMAP bitmap = {};
        if (state->icon && GetIconInfo(state->icon, &info)) {
            GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            state->iconSize = {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
            if (info.hbmColor)
                DeleteObject(info.hbmColor);
            if (info.hbmMask)
                DeleteObject(info.hbmMask);
        }
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    }
    case WM_PAINT:
        Paint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        state->hot = state->pressed = false;
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE: {
        bool inside = PointerInside(window, lParam);
        if (!state->tracking) {
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
            state->tracking = TrackMouseEvent(&track) != FALSE;
        }
        if (inside != state->hot) {
            state->hot = inside;
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        state->tracking = false;
        if (state->hot) {
            state->hot = false;
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(window);
        state->pressed = true;
        state->hot = PointerInside(window, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_LBUTTONUP:
        if (state->pressed) {
            bool inside = PointerInside(window, lParam);
            state->pressed = false;
            ReleaseCapture();
            InvalidateRect(window, nullptr, TRUE);
            if (inside && IsWindowEnabled(window))
                Click(window);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (state->pressed) {
            state->pressed = false;
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case BM_CLICK:
        if (IsWindowEnabled(window))
            Click(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void Register() {
    WNDCLASSEXA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hCursor = quillbox::win::ArrowCursor();
    windowClass.lpszClassName = ClassName;
    quillbox::win::RegisterWindowClass(windowClass);
}

HWND Create(HWND parent, int id, int left, int top, int width, int height, HICON icon) {
    Register();
    HWND button = CreateChild(parent, ClassName, "", WS_VISIBLE, 0, left, top, width, height, id,
                              nullptr);
    if (button)
        SendMessageA(button, SetIcon, reinterpret_cast<WPARAM>(icon), 0);
    return button;
}

} // namespace FlatButton

} // namespace quillrun
