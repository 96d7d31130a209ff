#include "AbsolutePath.h"

#include <windows.h>

namespace kelpo {

bool IsAbsolute(const char *path)
{
    const bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '\\';
    return drive || (path[0] == '\\' && path[1] == '\\');
}

std::string MakeAbsolute(const char *path)
{
    if (IsAbsolute(path) || path[0] == 0)
        return path;
    // The system's own rules, in the ANSI code page: "C:mail.txt" is relative
    // to the current folder of drive C:, "\mail.txt" to the current drive's
    // root, and a trail byte that equals "\" is no separator.
    char full[PathBufferSize];
    const DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full)
        return path;
    return IsAbsolute(full) ? std::string(full, length) : path;
}

} // namespace kelpo
