#include "Output.h"

#include <cstdarg>
#include <cstdio>

namespace kelpo {

void PrintText(const char *format, ...)
{
    // Every text fits the 1024-byte text buffer; with a number put in, twice that.
    char text[2 * 1024];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length <= 0)
        return;
    WriteText(text, length < static_cast<int>(sizeof text) ? size_t(length) : sizeof text - 1);
}

} // namespace kelpo
