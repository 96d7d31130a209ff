// Paths and script values walked one character at a time in the system code
// page: the second byte of a double-byte character (0x5C among them in code
// page 932) is never taken for a separator, a ";" or a letter to fold.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Cp932.h"

namespace setup {

class SetupPlatform;

// The platform's path buffer, terminator included. Nothing longer is ever
// used as a path: it is refused, never cut.
constexpr size_t kPathBufferSize = 260;
inline bool FitsPathBuffer(const std::string &path) { return path.size() < kPathBufferSize; }

// The lead bytes of a code page.
class CodePage : public quillbox::LeadBytes {
public:
    // The system's, as the platform tells them.
    explicit CodePage(const SetupPlatform &platform);
    // Code page 932 (Shift-JIS) by its fixed lead-byte ranges.
    static CodePage ShiftJis() { return CodePage(quillbox::LeadBytes::ShiftJis()); }
    // A single-byte code page.
    static CodePage SingleByte() { return CodePage(quillbox::LeadBytes()); }

    using LeadBytes::CharLength;
    // Bytes taken by the character at offset i (1 or 2; 1 at a lone final lead byte).
    size_t CharLength(const std::string &text, size_t i) const {
        return CharLength(text.data(), text.size(), i);
    }

private:
    explicit CodePage(const quillbox::LeadBytes &lead) : LeadBytes(lead) {}
};

constexpr char kSeparator = '\\';

// Offset of the first character c at or after from (from on a character
// boundary), or npos.
size_t FindChar(const CodePage &cp, const std::string &text, char c, size_t from = 0);
// Offset of the last separator character, or npos.
size_t FindLastSeparator(const CodePage &cp, const std::string &text);
bool EndsWithSeparator(const CodePage &cp, const std::string &text);

// path, a separator unless path already ends with one, then name.
std::string JoinPath(const CodePage &cp, const std::string &path, const std::string &name);
// The text before the last separator; the whole text when it has none.
std::string FolderPart(const CodePage &cp, const std::string &path);
// The text after the last separator; the whole text when it has none.
std::string FileNamePart(const CodePage &cp, const std::string &path);
// The path without its trailing separators.
std::string StripTrailingSeparators(const CodePage &cp, const std::string &path);
// The names between separators, empty ones left out.
std::vector<std::string> PathComponents(const CodePage &cp, const std::string &path);
// Whether some component consists of dots only ("." and ".." among them),
// which the system would resolve to another folder.
bool HasDotComponent(const CodePage &cp, const std::string &path);

// Comparisons without regard to ASCII case; double-byte characters compare
// exactly.
bool EqualNoCase(const CodePage &cp, const std::string &a, const std::string &b);
bool StartsWithNoCase(const CodePage &cp, const std::string &text, const std::string &prefix);

// "X:\..." or "\\...".
bool IsAbsolutePath(const std::string &path);
// A drive root ("X:", "X:\") or the root of a network share ("\\server\share",
// or less), trailing separators ignored.
bool IsRootPath(const CodePage &cp, const std::string &path);

} // namespace setup
