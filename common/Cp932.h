// Text in an ANSI code page, walked one character at a time, so that the
// second byte of a double-byte character (0x5C, "\", among them in code page
// 932) is never taken for a character of its own. Shared by the library and
// its hosts, the console tool, the desktop program and the installer; portable,
// with no call into the system.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillbox {

// The lead bytes of code page 932 (Shift-JIS), the product's one double-byte
// code page: 0x81 to 0x9F and 0xE0 to 0xFC.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A code page's lead bytes as a table, asked once of a test (code page 932's,
// the system's, a locale's), so that a walk costs one load per byte.
class LeadBytes {
public:
    // A single-byte code page.
    LeadBytes() = default;
    template <class IsLead>
    explicit LeadBytes(IsLead isLead) {
        for (int b = 0; b < 256; ++b)
            lead_[b] = isLead(static_cast<unsigned char>(b));
    }
    static LeadBytes ShiftJis() { return LeadBytes(IsShiftJisLeadByte); }

    bool IsLead(unsigned char byte) const { return lead_[byte]; }
    // Bytes taken by the character that begins at text[i] of a text of
    // length bytes: 2 for a lead byte with another byte after it, else 1
    // (a lone lead byte at the end stands for itself).
    size_t CharLength(const char *text, size_t length, size_t i) const {
        return IsLead(static_cast<unsigned char>(text[i])) && i + 1 < length ? 2 : 1;
    }
    // Calls visit(offset, bytes) for each character of the text, in order.
    template <class Visit>
    void ForEachChar(const char *text, size_t length, Visit visit) const {
        for (size_t i = 0; i < length;) {
            const size_t bytes = CharLength(text, length, i);
            visit(i, bytes);
            i += bytes;
        }
    }

    // The rules that every path and name comparison of the product shares.

    // Whether byte n of the text is the second byte of a double-byte character.
    bool IsTrailByteAt(std::string_view text, size_t n) const {
        size_t i = 0;
        while (i < n)
            i += CharLength(text.data(), text.size(), i);
        return i > n;
    }
    // The offset of the last single-byte character c of the text for which
    // is(c) holds, or npos.
    template <class Is>
    size_t FindLastSingleByte(std::string_view text, Is is) const {
        size_t found = std::string_view::npos;
        ForEachChar(text.data(), text.size(), [&](size_t i, size_t bytes) {
            if (bytes == 1 && is(text[i]))
                found = i;
        });
        return found;
    }
    // Whether the text's last character is the single byte c.
    bool EndsWithSingleByte(std::string_view text, char c) const {
        return !text.empty() && text.back() == c && !IsTrailByteAt(text, text.size() - 1);
    }
    // Whether the text begins with prefix: ASCII letters compared without
    // regard to case, the bytes of double-byte characters exactly. A lone
    // lead byte at the end of the prefix matches only the same lone byte at
    // the end of the text, never half a character.
    bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) const {
        if (prefix.size() > text.size())
            return false;
        for (size_t i = 0; i < prefix.size();) {
            const size_t bytes = CharLength(prefix.data(), prefix.size(), i);
            if (bytes == 2) {
                if (text[i] != prefix[i] || text[i + 1] != prefix[i + 1])
                    return false;
            } else if (IsLead(static_cast<unsigned char>(prefix[i]))) {
                return text.size() == prefix.size() && text[i] == prefix[i];
            } else if (FoldAscii(text[i]) != FoldAscii(prefix[i])) {
                return false;
            }
            i += bytes;
        }
        return true;
    }
    bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) const {
        return a.size() == b.size() && StartsWithIgnoringAsciiCase(a, b);
    }

private:
    static char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

    bool lead_[256] = {};
};

} // namespace quillbox
