// The version check with its supported-versions list, and the browser version.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "InstallChecks.h"
#include "TestUi.h"

namespace setup {
namespace {

using test::FakePlatform;

struct Checks {
    FakePlatform p;
    SetupContext ctx;
    test::NoMessages ui;
    Setup setup{ctx, p, ui};
    explicit Checks(const std::string &script, unsigned long locale = 0x0409) {
        p.locale = locale;
        p.SetScript(script);
        FillSetupContext(ctx, p);
    }
};

TEST(CheckWindowsVersion, VersionKeys) {
    EXPECT_EQ("400", VersionKey(400, 1));
    EXPECT_EQ("400NT", VersionKey(400, 2));
    EXPECT_EQ("490", VersionKey(490, 1));
    EXPECT_EQ("502NTServer", VersionKey(502, 2));
    EXPECT_EQ("601NT", VersionKey(601, 2));
}

TEST(CheckWindowsVersion, BoundsAreInclusiveAndKeysRefuse) {
    Checks c("[OS]\nWin9x_Min=410\nWin9x_Max=490\nWinNT_Min=500\nWinNT_Max=502\n501NT=no\n");
    EXPECT_FALSE(CheckWindowsVersion(c.setup, 400, 1, nullptr));
    EXPECT_TRUE(CheckWindowsVersion(c.setup, 410, 1, nullptr));
    EXPECT_TRUE(CheckWindowsVersion(c.setup, 490, 1, nullptr));
    EXPECT_FALSE(CheckWindowsVersion(c.setup, 491, 1, nullptr));
    EXPECT_FALSE(CheckWindowsVersion(c.setup, 400, 2, nullptr));
    EXPECT_TRUE(CheckWindowsVersion(c.setup, 500, 2, nullptr));
    EXPECT_FALSE(CheckWindowsVersion(c.setup, 501, 2, nullptr));
    EXPECT_TRUE(CheckWindowsVersion(c.setup, 502, 2, nullptr));
    EXPECT_FALSE(CheckWindowsVersion(c.setup, 600, 2, nullptr));
    // Neither family: refused whatever the bounds.
    EXPECT_FALSE(CheckWindowsVersion(c.setup, 500, 3, nullptr));
    EXPECT_FALSE(CheckWindowsVersion(c.setup, 500, 0, nullptr));
}

TEST(CheckWindowsVersion, SupportedVersionsList) {
    Checks c("[OS]\nWinNT_Min=500\n");
    EXPECT_EQ("Windows 95, Windows 98, Windows Me, Windows 2000, Windows XP, Windows Server 2003, "
              "Windows Vista, Windows Server 2008 or later version",
              SupportedVersionsList(c.setup));
    Checks xp("[OS]\nWin9x_Max=0\nWinNT_Max=600\n501NT=no\n");
    EXPECT_EQ("Windows NT 4.0, Windows 2000, Windows Server 2003, Windows Vista, Windows Server 2008",
              SupportedVersionsList(xp.setup));
    Checks none("[OS]\nWin9x_Max=0\nWinNT_Max=0\n");
    EXPECT_EQ("", SupportedVersionsList(none.setup));
}

TEST(CheckWindowsVersion, ListInJapanese) {
    Checks c("[OS]\nWin9x_Max=0\nWinNT_Min=600\n", 0x0411);
    EXPECT_EQ("Windows Vista, Windows Server 2008 またはそれ以降のバージョン",
              SupportedVersionsList(c.setup));
}

TEST(IsBrowserVersionSufficient, DecimalNumberAtTheStart) {
    for (const char *enough : {"4.71", "4.710", "4.72.3110.0", "6.0.2900.2180", "5", " 5.5",
                               "9.11.9600.18376", "10"})
        EXPECT_TRUE(IsBrowserVersionSufficient(enough)) << enough;
    for (const char *old : {"4.70.1155", "4.7", "4", "4.709999", "", "abc", "-5", ".9", "0.471"})
        EXPECT_FALSE(IsBrowserVersionSufficient(old)) << old;
}

TEST(IsInFolder, TheProgramBelowTheTemporaryFolder) {
    FakePlatform p;
    p.canonical["C:\\DOCUME~1\\x\\setup.exe"] = "C:\\TEMP\\x\\setup.exe";
    for (const char *inside : {"C:\\TEMP\\setup.exe", "c:\\temp\\pkg\\SETUP.EXE",
                               "C:\\DOCUME~1\\x\\setup.exe"})
        EXPECT_TRUE(IsInFolder(p, p.tempFolder, inside)) << inside;
    for (const char *outside : {"C:\\TEMPX\\setup.exe", "C:\\TEM", "D:\\setup.exe", "setup.exe"})
        EXPECT_FALSE(IsInFolder(p, p.tempFolder, outside)) << outside;
    EXPECT_TRUE(IsInFolder(p, "C:\\TEMP", "C:\\TEMP\\a")) << "a folder without its separator";
    EXPECT_FALSE(IsInFolder(p, "", "C:\\TEMP\\a"));
}

} // namespace
} // namespace setup
