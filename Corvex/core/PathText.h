// Path rules of the library: which paths are accepted, and separators found
// one character at a time, so that the second byte of a double-byte
// character is never taken for one.
#pragma once

#include <cstddef>

#include "CallContext.h"

namespace corvex {

// The platform's maximum path length, terminator included.
constexpr size_t kPathBuffer = 260;
// "NNNNN.eml", the shortest output name: the room an output folder must
// leave (a longer name that does not fit is refused when it is needed).
constexpr size_t kOutputNameLength = 9;

// A drive path ("X:\...") or a network path ("\\..."); on POSIX a path
// that begins with "/". Null and relative paths are refused.
bool IsAcceptablePath(const CallContext &ctx, const char *path);
// Whether byte n of text is the second byte of a double-byte character.
bool IsTrailByteAt(const CallContext &ctx, const char *text, size_t n);
// Whether a non-empty text ends in a separator that is a character of its own.
bool EndsWithSeparator(const CallContext &ctx, const char *text);
// The length of a path without the separators at its end ("\" or "/" on
// Windows, "/" on POSIX), never shorter than its root ("X:\", "\\", "/").
size_t LengthWithoutTrailingSeparators(const CallContext &ctx, const char *path);
// Appends a separator to a non-empty path that does not end in one; false
// (and the text unchanged) when the buffer of capacity bytes has no room.
bool EnsureTrailingSeparator(const CallContext &ctx, char *text, size_t capacity);
// Whether an output folder leaves room in a path buffer for a separator,
// an output name and the terminator.
bool OutputFolderFits(const CallContext &ctx, const char *folder);
// text + separator (unless it ends in one) + name into out; false when it does not fit.
bool JoinPath(const CallContext &ctx, const char *text, const char *name, char *out,
              size_t capacity);

} // namespace corvex
