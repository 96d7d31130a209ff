// Text files shown in the pages' read-only boxes (the licence, the readme).
#pragma once

#include <string>

namespace setup {

// The whole file as the text of a multi-line box: its bytes in the system
// code page, with lone line feeds made into line breaks the box shows and
// zero bytes (which would end the box's text) made into blanks. "" when the
// file is missing, unreadable or larger than a box should hold.
std::string TextForBox(const std::string &path);

} // namespace setup
