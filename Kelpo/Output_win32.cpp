// Output of the Windows build. To a file or a pipe the texts go out as the
// 8-bit ANSI text they are. A console whose output code page is not the ANSI
// code page would show those bytes as something else, so there the text is
// widened from the ANSI code page and written as UTF-16.
#include "Output.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace kelpo {
namespace {

// The console to write wide text to, or null when the plain bytes will do.
HANDLE WideConsole()
{
    static const HANDLE console = [] {
        HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
        DWORD mode = 0;
        if (out == nullptr || out == INVALID_HANDLE_VALUE || !GetConsoleMode(out, &mode))
            return HANDLE(nullptr);
        return GetConsoleOutputCP() != GetACP() ? out : HANDLE(nullptr);
    }();
    return console;
}

bool WriteWide(HANDLE console, const char *text, int length)
{
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (wideLength <= 0)
        return false;
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), wideLength);
    DWORD written = 0;
    return WriteConsoleW(console, wide.data(), static_cast<DWORD>(wideLength), &written,
                         nullptr) != FALSE;
}

} // namespace

void PrintText(const char *format, ...)
{
    char text[2 * 1024];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length <= 0)
        return;
    const int shown = length < static_cast<int>(sizeof text) ? length : int(sizeof text) - 1;

    if (HANDLE console = WideConsole()) {
        if (WriteWide(console, text, shown))
            return;
    }
    std::fwrite(text, 1, static_cast<size_t>(shown), stdout);
    std::fflush(stdout);
}

} // namespace kelpo
