// Reading the script: integers, numbered lists, values in full, no caching.
#include <gtest/gtest.h>

#include <climits>

#include "FakePlatform.h"
#include "Script.h"

namespace setup {
namespace {

using test::FakePlatform;

TEST(ParseDecimalInteger, AsTheScriptWritesThem) {
    EXPECT_EQ(-12, ParseDecimalInteger("  -12abc"));
    EXPECT_EQ(7, ParseDecimalInteger("+7"));
    EXPECT_EQ(500, ParseDecimalInteger("500NT"));
    EXPECT_EQ(0, ParseDecimalInteger("abc"));
    EXPECT_EQ(0, ParseDecimalInteger(""));
    EXPECT_EQ(0, ParseDecimalInteger("- 5"));
    EXPECT_EQ(INT_MAX, ParseDecimalInteger("99999999999999999999"));
    EXPECT_EQ(INT_MIN, ParseDecimalInteger("-99999999999999999999"));
}

std::vector<std::string> List(const Script &script, const std::string &section,
                              const std::string &prefix, int first) {
    std::vector<std::string> values;
    script.ForEach(section, prefix, first, [&](int index, const std::string &value) {
        values.push_back(std::to_string(index) + "=" + value);
        return true;
    });
    return values;
}

TEST(Script, ListsStopAtTheFirstGap) {
    FakePlatform p;
    p.SetScript("[Del]\n0=a\n1=b\n3=d\n[MakeDirectory]\n0=zero\n1=one\n2=\n3=three\n"
                "[reg]\nmake0=x\nErase0=y\nErase1=z\n");
    const Script script(p, "C:\\TEMP\\pkg\\setup.ini");
    EXPECT_EQ((std::vector<std::string>{"0=a", "1=b"}), List(script, "Del", "", 0));
    // [MakeDirectory] starts at 1; an empty value is a gap too.
    EXPECT_EQ((std::vector<std::string>{"1=one"}), List(script, "MakeDirectory", "", 1));
    EXPECT_EQ((std::vector<std::string>{"0=x"}), List(script, "Reg", "Make", 0));
    EXPECT_EQ(2, script.Count("REG", "erase", 0));
    EXPECT_EQ(0, script.Count("CopyFile", "", 0));
}

TEST(Script, EachValueIsReadWhenItsTurnComes) {
    FakePlatform p;
    p.SetScript("[CopyFile]\n0=a\n1=b\n");
    const Script script(p, "C:\\TEMP\\pkg\\setup.ini");
    std::vector<std::string> seen;
    script.ForEach("CopyFile", "", 0, [&](int index, const std::string &value) {
        seen.push_back(value);
        if (index == 0)
            p.SetScript("[CopyFile]\n0=a\n1=changed\n2=c\n");
        return true;
    });
    EXPECT_EQ((std::vector<std::string>{"a", "changed", "c"}), seen);
    // A visitor that returns false ends the list.
    EXPECT_EQ(1, script.ForEach("CopyFile", "", 0, [](int, const std::string &) { return false; }));
}

TEST(Script, ValuesAndDefaults) {
    FakePlatform p;
    const std::string longName(300, 'n');
    p.SetScript("[Setup]\nName=" + longName + "\n[OS]\nWinNT_Min= 500\n");
    const Script script(p, "C:\\TEMP\\pkg\\setup.ini");
    EXPECT_EQ(longName, script.Value("setup", "NAME")) << "read in full, never cut";
    EXPECT_EQ(500, script.Integer("OS", "WinNT_Min", "0"));
    EXPECT_EQ(9999, script.Integer("OS", "WinNT_Max", "9999"));
    EXPECT_EQ("dflt", script.Value("Root", "Name", "dflt"));
    const Script missing(p, "C:\\elsewhere\\setup.ini");
    EXPECT_EQ("", missing.Value("Setup", "Name"));
}

} // namespace
} // namespace setup
