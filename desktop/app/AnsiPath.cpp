#include "AnsiPath.h"

#include <windows.h>

#include <cstring>

#include "Cp932.h"

namespace quillrun {

namespace {

// The system's code page, which the program's paths are in.
const quillbox::LeadBytes &SystemLeadBytes() {
    static const quillbox::LeadBytes lead(
        [](unsigned char b) { return IsDBCSLeadByte(b) != FALSE; });
    return lead;
}

} // namespace

size_t LastDelimiter(const std::string &text, const char *delimiters) {
    return SystemLeadBytes().FindLastSingleByte(
        text, [delimiters](char c) { return c != '\0' && std::strchr(delimiters, c); });
}

bool EndsWithBackslash(const std::string &text) {
    return SystemLeadBytes().EndsWithSingleByte(text, '\\');
}

bool SameIgnoringAsciiCase(const std::string &a, const std::string &b) {
    return SystemLeadBytes().EqualIgnoringAsciiCase(a, b);
}

SplitPath SplitSourcePath(const std::string &path) {
    size_t last = LastDelimiter(path, "\\:");
    if (last == std::string::npos)
        return {path, std::string()};
    std::string name = path.substr(last + 1);
    if (name.empty())
        return {path, std::string()};
    // Drop the separator before the name unless the character before it is
    // itself a separator or a drive colon, so that a root keeps its backslash.
    size_t end = last + 1;
    if (path[last] == '\\' && last > 0) {
        size_t previous = LastDelimiter(path.substr(0, last), "\\:");
        bool rootSeparator = previous != std::string::npos && previous == last - 1;
        if (!rootSeparator)
            end = last;
    }
    return {name, path.substr(0, end)};
}

std::string JoinPath(const std::string &directory, const std::string &name) {
    if (directory.empty() || EndsWithBackslash(directory))
        return directory + name;
    return directory + "\\" + name;
}

std::string FolderOf(const std::string &path) {
    size_t last = LastDelimiter(path, "\\");
    return last == std::string::npos ? std::string() : path.substr(0, last);
}

} // namespace quillrun
