// Path functions walk code page 932 characters: a trail byte 0x5C is part of
// its character, never a separator.
#include <gtest/gtest.h>

#include "PathText.h"

namespace setup {
namespace {

const CodePage sjis = CodePage::ShiftJis();
const CodePage single = CodePage::SingleByte();
// "ソ" and "表" end in the byte 0x5C.
const std::string so = "\x83\x5C";
const std::string hyo = "\x95\x5C";

TEST(PathText, JoinInsertsOneSeparator) {
    EXPECT_EQ("C:\\a\\b.txt", JoinPath(sjis, "C:\\a", "b.txt"));
    EXPECT_EQ("C:\\a\\b.txt", JoinPath(sjis, "C:\\a\\", "b.txt"));
    EXPECT_EQ("\\b.txt", JoinPath(sjis, "", "b.txt"));
    EXPECT_EQ("C:\\a\\", JoinPath(sjis, "C:\\a", ""));
    // A folder that ends in a double-byte character with trail byte 0x5C
    // still gets its separator; read as single bytes it would not.
    EXPECT_EQ("C:\\" + hyo + "\\x", JoinPath(sjis, "C:\\" + hyo, "x"));
    EXPECT_EQ("C:\\" + hyo + "x", JoinPath(single, "C:\\" + hyo, "x"));
}

TEST(PathText, FolderAndFileNamePartsSkipTrailBytes) {
    const std::string path = "C:\\" + so + "\\" + hyo + ".txt";
    EXPECT_EQ("C:\\" + so, FolderPart(sjis, path));
    EXPECT_EQ(hyo + ".txt", FileNamePart(sjis, path));
    EXPECT_EQ("C:\\" + so, FolderPart(sjis, "C:\\" + so + "\\"));
    EXPECT_EQ("C:", FolderPart(sjis, "C:\\" + so));
    EXPECT_EQ(so, FileNamePart(sjis, "C:\\" + so));
    EXPECT_EQ("name", FolderPart(sjis, "name"));
    EXPECT_EQ("name", FileNamePart(sjis, "name"));
    EXPECT_EQ("C:\\\x83", FolderPart(single, "C:\\" + so));
    EXPECT_EQ(std::string::npos, FindChar(sjis, so + hyo, '\\'));
    EXPECT_EQ(3u, FindChar(sjis, so + "a\\", '\\'));
}

TEST(PathText, TrailingSeparatorsAndComponents) {
    EXPECT_EQ("C:\\a", StripTrailingSeparators(sjis, "C:\\a\\\\"));
    EXPECT_EQ("C:\\" + so, StripTrailingSeparators(sjis, "C:\\" + so));
    EXPECT_EQ((std::vector<std::string>{"a", so, "b"}),
              PathComponents(sjis, "\\a\\\\" + so + "\\b\\"));
    EXPECT_TRUE(HasDotComponent(sjis, "C:\\a\\..\\b"));
    EXPECT_TRUE(HasDotComponent(sjis, "C:\\a\\."));
    EXPECT_TRUE(HasDotComponent(sjis, "..."));
    EXPECT_TRUE(HasDotComponent(sjis, "a\\. .\\b"));
    EXPECT_FALSE(HasDotComponent(sjis, "C:\\a.b\\.c\\d."));
}

TEST(PathText, CaseIsFoldedForAsciiLettersOnly) {
    EXPECT_TRUE(EqualNoCase(sjis, "C:\\Program Files", "c:\\PROGRAM FILES"));
    EXPECT_FALSE(EqualNoCase(sjis, "C:\\a", "C:\\ab"));
    // Trail bytes in the range of ASCII letters belong to their characters.
    EXPECT_FALSE(EqualNoCase(sjis, "\x82\x61", "\x82\x41"));
    EXPECT_TRUE(EqualNoCase(single, "\x82\x61", "\x82\x41"));
    EXPECT_TRUE(StartsWithNoCase(sjis, "%WINDOWS%\\Fonts", "%windows%"));
    EXPECT_FALSE(StartsWithNoCase(sjis, "%win", "%windows%"));
    // A prefix that stops inside a character does not match it.
    EXPECT_FALSE(StartsWithNoCase(sjis, so + "x", "\x83"));
}

TEST(PathText, AbsoluteAndRootPaths) {
    EXPECT_TRUE(IsAbsolutePath("C:\\"));
    EXPECT_TRUE(IsAbsolutePath("\\\\server\\share"));
    EXPECT_FALSE(IsAbsolutePath("C:"));
    EXPECT_FALSE(IsAbsolutePath("C:x"));
    EXPECT_FALSE(IsAbsolutePath("\\x"));
    EXPECT_FALSE(IsAbsolutePath("x"));
    EXPECT_FALSE(IsAbsolutePath(""));
    for (const char *root : {"C:\\", "c:", "C:\\\\", "\\\\server\\share", "\\\\server\\share\\",
                             "\\\\server", "\\\\"})
        EXPECT_TRUE(IsRootPath(sjis, root)) << root;
    for (const char *folder : {"C:\\a", "\\\\server\\share\\a"})
        EXPECT_FALSE(IsRootPath(sjis, folder)) << folder;
}

} // namespace
} // namespace setup
