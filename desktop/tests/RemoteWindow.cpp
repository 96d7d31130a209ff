#include "RemoteWindow.h"

bool WaitFor(const std::function<bool()> &done, DWORD timeout) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeout)
            return false;
        Sleep(20); // another process's windows and files: polled, within the bound
    }
    return true;
}

std::string RemoteText(HWND window) {
    char text[4096] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

std::string RemoteTextUtf8(HWND window) {
    wchar_t text[4096] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof *text,
                        reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    char utf8[4096 * 3] = "";
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

void RemoteClick(HWND button) {
    char name[16] = "";
    GetClassNameA(button, name, sizeof name);
    const LONG kind = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    const bool push = _stricmp(name, "Button") == 0 &&
                      (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
    if (!push) {
        PostMessageA(button, BM_CLICK, 0, 0);
        return;
    }
    // The owner acts on a click only of an enabled button, as with a mouse.
    if (IsWindowEnabled(button))
        PostMessageA(GetParent(button), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
}
