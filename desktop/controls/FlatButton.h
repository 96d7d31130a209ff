// A flat picture button, as on a tool bar: no frame until the pointer rests
// on it, sunken while pressed, greyed when disabled. It never takes the
// keyboard focus (it has no place in the tab order). A click, or BM_CLICK
// while enabled, sends the parent WM_COMMAND with BN_CLICKED like a button.
#pragma once

#include <windows.h>

namespace quillrun {

namespace FlatButton {

constexpr char ClassName[] = "QuillboxFlatButton";
// Sets the picture (wParam: HICON, not owned by the button).
constexpr UINT SetIcon = WM_USER + 1;

// Registers the window class once per process.
void Register();
// A button at a 96-DPI rectangle showing `icon`.
HWND Create(HWND parent, int id, int left, int top, int width, int height, HICON icon);

} // namespace FlatButton

} // namespace quillrun
