// The script read through the real profile-string reader, and the macros
// expanded with the real folders of the prefix.
#include <gtest/gtest.h>

#include "ExpandPathMacros.h"
#include "SetupTestSupport.h"

namespace setup::test {
namespace {

TEST(Script, RealReaderValuesListsAndLimits) {
    Package pkg;
    const std::string at259(259, 'a'), at260(260, 'b'), longValue(5000, 'c');
    // "表示" in code page 932: 0x95 0x5C 0x8E 0xA6, the first with trail byte 0x5C.
    const std::string japanese = "\x95\x5C\x8E\xA6";
    pkg.WriteScript("[SETUP]\r\nname=" + japanese + "\r\n[Del]\r\n0=" + at259 + "\r\n1=" + at260 +
                    "\r\n2=" + longValue + "\r\n4=after a gap\r\n[OS]\r\nWinNT_Min= 500x\r\n");
    const Script script(pkg.platform, pkg.folder + "\\setup.ini");
    EXPECT_EQ(japanese, script.Value("Setup", "Name"));
    EXPECT_EQ(500, script.Integer("os", "winnt_min", "0"));
    EXPECT_EQ(9999, script.Integer("OS", "WinNT_Max", "9999"));
    std::vector<std::string> values;
    script.ForEach("Del", "", 0, [&](int, const std::string &v) {
        values.push_back(v);
        return true;
    });
    EXPECT_EQ((std::vector<std::string>{at259, at260, longValue}), values);

    SetupContext ctx = pkg.Context();
    EXPECT_EQ(pkg.folder + "\\setup.ini", ctx.scriptPath);
    EXPECT_EQ(japanese, ctx.productName);
}

TEST(Script, MacrosExpandToThePrefixFolders) {
    const TestPlatform platform;
    char windows[MAX_PATH], system[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string shell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const std::string programFiles = ReadRegistry(
        HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    ASSERT_FALSE(programFiles.empty());
    const struct {
        const char *value;
        std::string expected;
    } cases[] = {
        {"%programs%\\Q", programFiles + "\\Q"},
        {"%Windows%\\Fonts", std::string(windows) + "\\Fonts"},
        {"%system%\\x.dll", std::string(system) + "\\x.dll"},
        {"%windrive%:\\Data", std::string(1, windows[0]) + ":\\Data"},
        {"%desktop%\\a", ReadRegistry(HKEY_CURRENT_USER, shell, "Desktop") + "\\a"},
        {"%programmenu%\\Q", ReadRegistry(HKEY_LOCAL_MACHINE, shell, "Common Programs") + "\\Q"},
        {"%personalprogrammenu%\\Q", ReadRegistry(HKEY_CURRENT_USER, shell, "Programs") + "\\Q"},
        {"Quillbox", programFiles + "\\Quillbox"},
    };
    for (const auto &c : cases) {
        std::string value = c.value;
        EXPECT_TRUE(ExpandPathMacros(value, "", platform));
        EXPECT_EQ(c.expected, value) << c.value;
    }
}

} // namespace
} // namespace setup::test
