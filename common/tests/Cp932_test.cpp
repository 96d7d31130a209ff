// The character walk that every path and name rule of the product stands on:
// a trail byte is never a character of its own, whichever byte it is.
#include <gtest/gtest.h>

#include <string>

#include "Cp932.h"

namespace {

using quillbox::LeadBytes;

const LeadBytes sjis = LeadBytes::ShiftJis();
const LeadBytes single;
// "表" and "ソ" end in 0x5C ("\"); "ア" (0x83 0x41) ends in an ASCII letter.
const std::string hyo = "\x95\x5C";
const std::string so = "\x83\x5C";
const std::string a = "\x83\x41";

TEST(LeadBytes, TrailBytesBelongToTheirCharacter) {
    const std::string text = "x" + hyo + hyo;
    EXPECT_FALSE(sjis.IsTrailByteAt(text, 0));
    EXPECT_FALSE(sjis.IsTrailByteAt(text, 1));
    EXPECT_TRUE(sjis.IsTrailByteAt(text, 2));
    EXPECT_FALSE(sjis.IsTrailByteAt(text, 3));
    EXPECT_TRUE(sjis.IsTrailByteAt(text, 4));
    // Two lead bytes in a row: the second is the first one's trail byte.
    EXPECT_TRUE(sjis.IsTrailByteAt("\x95\x95\x5C", 1));
    EXPECT_FALSE(sjis.IsTrailByteAt("\x95\x95\x5C", 2));
    EXPECT_FALSE(single.IsTrailByteAt(text, 2));
}

TEST(LeadBytes, SeparatorsAreFoundOnlyAsCharacters) {
    const auto backslash = [](char c) { return c == '\\'; };
    EXPECT_EQ(2u, sjis.FindLastSingleByte("C:\\" + hyo + "x", backslash));
    EXPECT_EQ(5u, sjis.FindLastSingleByte("C:\\" + hyo + "\\x", backslash));
    EXPECT_EQ(std::string::npos, sjis.FindLastSingleByte(hyo + so, backslash));
    EXPECT_EQ(3u, single.FindLastSingleByte(hyo + so, backslash));

    EXPECT_TRUE(sjis.EndsWithSingleByte("C:\\" + hyo + "\\", '\\'));
    EXPECT_FALSE(sjis.EndsWithSingleByte("C:\\" + hyo, '\\'));
    EXPECT_TRUE(single.EndsWithSingleByte("C:\\" + hyo, '\\'));
    EXPECT_FALSE(sjis.EndsWithSingleByte("", '\\'));
    // A lone lead byte at the end stands for itself.
    EXPECT_TRUE(sjis.EndsWithSingleByte("ab\x95", '\x95'));
}

TEST(LeadBytes, CaseIsFoldedForAsciiLettersOnly) {
    EXPECT_TRUE(sjis.EqualIgnoringAsciiCase("C:\\Mail", "c:\\MAIL"));
    EXPECT_FALSE(sjis.EqualIgnoringAsciiCase("C:\\Mail", "c:\\MAI"));
    // The trail byte 0x41 of "ア" is not the letter A.
    EXPECT_TRUE(sjis.EqualIgnoringAsciiCase(a, a));
    EXPECT_FALSE(sjis.EqualIgnoringAsciiCase(a, "\x83\x61"));
    EXPECT_TRUE(single.EqualIgnoringAsciiCase(a, "\x83\x61"));

    EXPECT_TRUE(sjis.StartsWithIgnoringAsciiCase("C:\\Program Files\\x", "c:\\program files"));
    EXPECT_FALSE(sjis.StartsWithIgnoringAsciiCase("C:\\Prog", "c:\\program files"));
    // A prefix ending in a lone lead byte would match half of the text's
    // character: only the same lone byte ending the text matches it.
    EXPECT_FALSE(sjis.StartsWithIgnoringAsciiCase("x" + so, "x\x83"));
    EXPECT_TRUE(sjis.StartsWithIgnoringAsciiCase("x\x83", "x\x83"));
}

} // namespace
