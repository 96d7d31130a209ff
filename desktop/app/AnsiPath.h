// Paths as 8-bit text in the system ANSI code page, walked one character at
// a time: a lead byte and its trail byte belong together, so a trail byte
// 0x5C (as in 表 or 能 in code page 932) is never taken for a backslash.
#pragma once

#include <string>

namespace quillrun {

// The index of the last single-byte character of `text` that is one of
// `delimiters`, or std::string::npos.
size_t LastDelimiter(const std::string &text, const char *delimiters);
// True when the last character is a single-byte backslash.
bool EndsWithBackslash(const std::string &text);
// Equal when compared without regard to the case of ASCII letters; the bytes
// of double-byte characters are compared as they stand.
bool SameIgnoringAsciiCase(const std::string &a, const std::string &b);

// A source path split into the name of its last component and the directory
// before it: C:\Mail\a.txt gives a.txt and C:\Mail; C:\a.txt gives a.txt and
// C:\ (a root keeps its backslash); a path ending in a backslash (C:\) gives
// the whole path and an empty directory.
struct SplitPath {
    std::string name;
    std::string directory;
};
SplitPath SplitSourcePath(const std::string &path);
// The directory, a backslash unless it is empty or already ends in one, and
// the name.
std::string JoinPath(const std::string &directory, const std::string &name);
// The folder part of a file's path, without a trailing backslash.
std::string FolderOf(const std::string &path);

} // namespace quillrun
