// The code page a licence or readme is read in, on a Japanese (932) and a
// Western (1252) system.
#include <gtest/gtest.h>

#include "TextEncoding.h"

namespace setup {
namespace {

// "使用許諾契約書。" in Shift-JIS and in UTF-8: a line of the licence.
const std::string sjisLine = "\x8E\x67\x97\x70\x8B\x96\x91\xF8\x8C\x5F\x96\xF1\x8F\x91\x81\x42";
const std::string utf8Line = u8"使用許諾契約書。";
// "Café “Licence”" in code page 1252.
const std::string westernLine = "Caf\xE9 \x93Licence\x94";

struct Case {
    const char *what;
    std::string bytes;
    unsigned onJapanese, onWestern;
    size_t mark;
};

TEST(TextEncoding, EachKindOfTextOnBothSystems) {
    const Case cases[] = {
        {"plain ASCII is the system's own", "Quillbox License\r\n", 932, 1252, 0},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8Line, 65001, 65001, 3},
        {"UTF-8 without a mark", "Quillbox " + utf8Line + "\r\n", 65001, 65001, 0},
        {"a mark before ASCII alone", "\xEF\xBB\xBFQuillbox", 65001, 65001, 3},
        {"UTF-16 with its mark", std::string("\xFF\xFEQ\0", 4), 1200, 1200, 2},
        {"Shift-JIS", "Quillbox " + sjisLine + "\r\n", 932, 932, 0},
        {"Western", westernLine + "\r\n", 1252, 1252, 0},
        // Shift-JIS pairs alone, without a punctuation or kana row, could as
        // well be Western letters: only the Japanese system reads them so.
        {"kanji only", "\x8E\x67\x97\x70", 932, 1252, 0},
        {"a Western text that is well-formed Shift-JIS", "\xE9t\xE9" "e", 932, 1252, 0},
        // A lead byte at the end or before a byte no trail can be: not Shift-JIS.
        {"a cut Shift-JIS text", sjisLine + "\x8E", 1252, 1252, 0},
        {"a half-width kana", "\xB1\xB2 " + sjisLine, 932, 932, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const TextEncoding japanese = GuessTextEncoding(c.bytes, 932);
        const TextEncoding western = GuessTextEncoding(c.bytes, 1252);
        EXPECT_EQ(c.onJapanese, japanese.codePage);
        EXPECT_EQ(c.onWestern, western.codePage);
        EXPECT_EQ(c.mark, japanese.markLength);
        EXPECT_EQ(c.mark, western.markLength);
    }
    // Another system keeps its own code page for what is not Japanese.
    EXPECT_EQ(1251u, GuessTextEncoding(westernLine, 1251).codePage);
    EXPECT_EQ(932u, GuessTextEncoding(sjisLine, 1251).codePage);
}

TEST(TextEncoding, OnlyWellFormedUtf8IsUtf8) {
    EXPECT_TRUE(IsWellFormedUtf8(utf8Line));
    EXPECT_TRUE(IsWellFormedUtf8("\xF0\x9F\x93\xA7 mail"));
    EXPECT_TRUE(IsWellFormedUtf8(""));
    EXPECT_FALSE(IsWellFormedUtf8(sjisLine));
    EXPECT_FALSE(IsWellFormedUtf8(westernLine));
    EXPECT_FALSE(IsWellFormedUtf8("\xC0\xAF"));         // "/" written long
    EXPECT_FALSE(IsWellFormedUtf8("\xE0\x80\xAF"));     // the same in three bytes
    EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(IsWellFormedUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(IsWellFormedUtf8("\xE3\x81"));         // cut short
}

} // namespace
} // namespace setup
