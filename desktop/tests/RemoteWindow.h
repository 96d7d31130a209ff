// What the end-to-end drivers do with another process's windows: wait for
// them, read them and click their buttons.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The bound of every wait, in milliseconds.
const DWORD kWait = 30000;

// Polls until `done` holds; false when the bound passed first.
bool WaitFor(const std::function<bool()> &done, DWORD timeout = kWait);

// A window's text, without hanging on a process that stopped answering.
std::string RemoteText(HWND window);
// The same as UTF-8, read as Unicode: what a Unicode control holds, whatever
// the system's code page.
std::string RemoteTextUtf8(HWND window);

// Clicks a button without waiting for what the click starts. A push button's
// owner is told of the click as the button itself would tell it: a posted
// BM_CLICK has the button press and then release itself, and a change of
// focus in between (a window manager activating a window that just opened)
// cancels the click without a trace. Buttons that keep a state (check boxes,
// radio buttons) and the program's own controls get BM_CLICK, so that their
// state changes as under a mouse; the caller checks that it did.
void RemoteClick(HWND button);
