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

bool IsLead(char c) { return SystemLeadBytes().IsLead(static_cast<unsigned char>(c)); }

// Calls visit(index, isSingleByte) for each character from the start.
template <class Visit>
void ForEachCharacter(const std::string &text, Visit visit) {
    SystemLeadBytes().ForEachChar(text.data(), text.size(),
                                  [&](size_t i, size_t bytes) { visit(i, bytes == 1); });
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

size_t LastDelimiter(const std::string &text, const char *delimiters) {
    size_t found = std::string::npos;
    ForEachCharacter(text, [&](size_t i, bool single) {
        if (single && std::strchr(delimiters, text[i]) && text[i] != '\0')
            found = i;
    });
    return found;
}

bool EndsWithBackslash(const std::string &text) {
    bool ends = false;
    ForEachCharacter(text, [&](size_t i, bool single) { ends = single && text[i] == '\\'; });
    return ends;
}

bool SameIgnoringAsciiCase(const std::string &a, const std::string &b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size();) {
        if (IsLead(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
            i += 2;
        } else {
            if (AsciiLower(a[i]) != AsciiLower(b[i]))
                return false;
            i += 1;
        }
    }
    return true;
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
