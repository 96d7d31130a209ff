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

void WriteText(const char *text, size_t length)
{
    if (HANDLE console = WideConsole()) {
        if (WriteWide(console, text, static_cast<int>(length)))
            return;
    }
    std::fwrite(text, 1, length, stdout);
    std::fflush(stdout);
}

} // namespace kelpo
