// Pictures of windows as they are on the screen, saved as BMP files (the
// test scripts turn them into PNG).
#pragma once

#include <windows.h>

#include <string>

// The window's whole rectangle (frame and caption included), as the screen
// shows it now. True when the file was written.
bool SaveWindowPicture(HWND window, const std::string &bmpPath);
