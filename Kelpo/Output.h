// Standard output of the console tool. The texts are code page 932 bytes;
// any conversion the terminal needs happens here, at the edge, and nowhere else.
#pragma once

#include <cstddef>

namespace kelpo {

// Prints text as a printf format string with the values that follow it.
void PrintText(const char *format, ...);

// Writes length bytes of formatted text to standard output (one per platform).
void WriteText(const char *text, size_t length);

} // namespace kelpo
