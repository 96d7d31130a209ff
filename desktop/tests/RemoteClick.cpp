#include "RemoteClick.h"

#include <cstring>

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
