#include "PathText.h"

#include "SetupPlatform.h"

namespace setup {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

} // namespace

CodePage::CodePage(const SetupPlatform &platform)
    : LeadBytes([&platform](unsigned char b) { return platform.IsLeadByte(b); }) {}

size_t FindChar(const CodePage &cp, const std::string &text, char c, size_t from) {
    for (size_t i = from; i < text.size(); i += cp.CharLength(text, i)) {
        if (text[i] == c && cp.CharLength(text, i) == 1)
            return i;
    }
    return std::string::npos;
}

size_t FindLastSeparator(const CodePage &cp, const std::string &text) {
    return cp.FindLastSingleByte(text, [](char c) { return c == kSeparator; });
}

bool EndsWithSeparator(const CodePage &cp, const std::string &text) {
    return cp.EndsWithSingleByte(text, kSeparator);
}

std::string JoinPath(const CodePage &cp, const std::string &path, const std::string &name) {
    std::string joined = path;
    if (!EndsWithSeparator(cp, joined))
        joined += kSeparator;
    return joined + name;
}

std::string FolderPart(const CodePage &cp, const std::string &path) {
    size_t last = FindLastSeparator(cp, path);
    return last == std::string::npos ? path : path.substr(0, last);
}

std::string FileNamePart(const CodePage &cp, const std::string &path) {
    size_t last = FindLastSeparator(cp, path);
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string StripTrailingSeparators(const CodePage &cp, const std::string &path) {
    std::string stripped = path;
    while (EndsWithSeparator(cp, stripped))
        stripped.pop_back();
    return stripped;
}

std::vector<std::string> PathComponents(const CodePage &cp, const std::string &path) {
    std::vector<std::string> components;
    size_t start = 0;
    for (;;) {
        size_t end = FindChar(cp, path, kSeparator, start);
        std::string part = path.substr(start, end == std::string::npos ? std::string::npos
                                                                        : end - start);
        if (!part.empty())
            components.push_back(part);
        if (end == std::string::npos)
            return components;
        start = end + 1;
    }
}

bool HasDotComponent(const CodePage &cp, const std::string &path) {
    for (const std::string &part : PathComponents(cp, path)) {
        // The system drops trailing dots and blanks from a name, so ". ." is
        // as much "." as "." is.
        if (part.find_first_not_of(". ") == std::string::npos && part.find('.') != std::string::npos)
            return true;
    }
    return false;
}

bool EqualNoCase(const CodePage &cp, const std::string &a, const std::string &b) {
    return cp.EqualIgnoringAsciiCase(a, b);
}

bool StartsWithNoCase(const CodePage &cp, const std::string &text, const std::string &prefix) {
    return cp.StartsWithIgnoringAsciiCase(text, prefix);
}

bool IsAbsolutePath(const std::string &path) {
    // The bytes that qualify are ASCII, never part of a double-byte character.
    if (path.size() >= 2 && path[0] == kSeparator && path[1] == kSeparator)
        return true;
    return path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == kSeparator;
}

bool IsRootPath(const CodePage &cp, const std::string &path) {
    std::string stripped = StripTrailingSeparators(cp, path);
    if (stripped.size() == 2 && IsAsciiLetter(stripped[0]) && stripped[1] == ':')
        return true;
    if (path.size() >= 2 && path[0] == kSeparator && path[1] == kSeparator)
        return PathComponents(cp, path).size() <= 2;
    return false;
}

} // namespace setup
