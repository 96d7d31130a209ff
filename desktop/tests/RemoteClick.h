// Clicks on another process's buttons, as the end-to-end drivers make them.
#pragma once

#include <windows.h>

// Clicks a button without waiting for what the click starts. A push button's
// owner is told of the click as the button itself would tell it: a posted
// BM_CLICK has the button press and then release itself, and a change of
// focus in between (a window manager activating a window that just opened)
// cancels the click without a trace. Buttons that keep a state (check boxes,
// radio buttons) and the program's own controls get BM_CLICK, so that their
// state changes as under a mouse; the caller checks that it did.
void RemoteClick(HWND button);
