// The real setup.exe as a user starts it, in the Japanese and the English
// locale: its refusals, their texts and its exit code, with nothing changed.
#include <gtest/gtest.h>

#include "InstallChecks.h"
#include "SetupTestSupport.h"
#include "UninstallEntry.h"

namespace setup::test {
namespace {

TEST(Program, StartedOutsideTheTemporaryFolder) {
    // A folder in the drive's root, as a double-click on the CD would start it.
    const std::string folder = "C:\\" + TestName("cd");
    ASSERT_TRUE(MakeFolder(folder));
    ASSERT_TRUE(CopyFileA(SetupExePath().c_str(), (folder + "\\setup.exe").c_str(), FALSE));
    const std::string registryName = TestName("entry");
    ASSERT_TRUE(WriteBytes(folder + "\\setup.ini", "[Setup]\r\nName=Quillbox Test\r\n[Root]\r\n"
                                                   "Name=" + folder + "\\installed\r\n[Registry]\r\n"
                                                   "Name=" + registryName + "\r\n"));
    const TestPlatform platform(folder + "\\setup.exe");
    SetupContext ctx;
    FillSetupContext(ctx, platform);
    RecordingUi ui;
    const setup::Setup s(ctx, platform, ui);

    const ProgramRun run = RunAnsweringOneBox("\"" + folder + "\\setup.exe\"");
    ASSERT_TRUE(run.boxShown);
    EXPECT_EQ(ctx.caption, run.caption);
    EXPECT_EQ(s.Text(TextNotFromTemp), run.text);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_FALSE(IsFolder(folder + "\\installed"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey(s.cp, registryName)));
    RemoveTree(folder);
}

TEST(Program, AVersionTheScriptRefuses) {
    Package pkg;
    SetupContext ctx = pkg.Context();
    const OsVersion os = ctx.os;
    const int version = int(os.major * 100 + os.minor);
    pkg.WriteScript("[Setup]\r\nName=Quillbox Test\r\n[Registry]\r\nName=" + pkg.registryName +
                    "\r\n[OS]\r\nWin9x_Max=0\r\nWinNT_Min=500\r\n" +
                    VersionKey(version, os.platformId) + "=no\r\n");
    ctx = pkg.Context();
    RecordingUi ui;
    const setup::Setup s(ctx, pkg.platform, ui);
    const ProgramRun run = RunAnsweringOneBox("\"" + pkg.folder + "\\setup.exe\"");
    ASSERT_TRUE(run.boxShown);
    EXPECT_EQ(ctx.caption, run.caption);
    EXPECT_EQ(TableText(s, TextVersionRefused, {SupportedVersionsList(s)}), run.text);
    EXPECT_NE(std::string::npos, run.text.find("Windows 2000, Windows XP"));
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_FALSE(IsFolder(pkg.installFolder));
}

} // namespace
} // namespace setup::test
