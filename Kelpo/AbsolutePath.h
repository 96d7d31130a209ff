// Paths as people type them: the library takes absolute paths only, so the
// console tool makes a relative one absolute against the current folder
// before the call.
#pragma once

#include <cstddef>
#include <string>

namespace kelpo {

// The platform's path buffer, terminator included: the library's limit.
constexpr size_t PathBufferSize = 260;

// Whether the library takes path as it stands: a drive path ("X:\...") or a
// network path ("\\...") on Windows, a path that begins with "/" on Linux.
bool IsAbsolute(const char *path);

// path itself when it is absolute; otherwise the same place as an absolute
// path (on Windows by the system's own full-path call, in the ANSI code
// page; on Linux the current folder joined with it). When it cannot be made
// absolute, or the result does not fit the path buffer, path as it stands,
// which the library then refuses with its usual code: never a cut path.
std::string MakeAbsolute(const char *path);

} // namespace kelpo
