// Which code page a licence or readme file is written in. Those files come
// from the package's maker, not from the system the installer runs on: a
// Japanese text must read right on a Western Windows and a Western one on a
// Japanese Windows, while a text in the system's own code page reads as the
// system reads it.
#pragma once

#include <cstddef>
#include <string>

namespace setup {

// Windows code page numbers.
constexpr unsigned kCodePageShiftJis = 932;
constexpr unsigned kCodePageWestern = 1252;
constexpr unsigned kCodePageUtf16Le = 1200;
constexpr unsigned kCodePageUtf8 = 65001;

struct TextEncoding {
    unsigned codePage;
    // Bytes of a byte-order mark before the text.
    size_t markLength;
};

// In this order:
// - a UTF-8 or UTF-16 (little-endian) byte-order mark says so;
// - a text that holds bytes above 0x7F and is well-formed UTF-8 throughout
//   is UTF-8;
// - on a system whose code page is 932 a text that is well-formed Shift-JIS
//   is the system's own; one that is not is taken for a Western (1252) text;
// - on any other system a text that is well-formed Shift-JIS and holds at
//   least one double-byte character of its punctuation and kana rows
//   (lead bytes 0x81 to 0x83, which a Western text hardly ever holds before
//   a byte that can follow them) is Shift-JIS;
// - anything else is in the system's code page.
TextEncoding GuessTextEncoding(const std::string &bytes, unsigned systemCodePage);

bool IsWellFormedUtf8(const std::string &bytes);

} // namespace setup
