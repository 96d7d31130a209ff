// A text box of a page made anew as a Unicode window. The pages come from
// ANSI dialog templates, whose text boxes keep their text in the system
// code page: a Japanese licence could not be shown in one on a Western
// system, whatever it is decoded from. The new box takes the old one's
// place, size, styles, font, id and place in the tab order.
#pragma once

#include <windows.h>

#include <string>

namespace setup {

// Replaces the control id of dialog by a Unicode edit control; the new
// window, or null (and the old box left as it was) when it cannot be made.
HWND MakeUnicodeTextBox(HWND dialog, int id);

} // namespace setup
