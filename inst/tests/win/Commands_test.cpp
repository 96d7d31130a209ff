// [Go2] commands on real files and keys, with the real regsvr32 and a test
// library, and the shell's window states seen by the program it starts.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include "RunScriptCommand.h"
#include "SetupTestSupport.h"

namespace setup::test {
namespace {

const char kMarks[] = "Software\\QuillboxSetupTest";

std::string BesideTests(const std::string &name) {
    std::string path = SetupExePath();
    return path.substr(0, path.rfind('\\') + 1) + name;
}

struct Commands : ::testing::Test {
    Package pkg;
    SetupContext ctx = pkg.Context();
    RecordingUi ui;
    setup::Setup setup{ctx, pkg.platform, ui};
    void SetUp() override {
        RemoveKey(HKEY_CURRENT_USER, kMarks);
        ASSERT_TRUE(MakeFolder(ctx.installFolder));
        ASSERT_TRUE(CopyFileA(BesideTests("regtest.dll").c_str(),
                              (ctx.installFolder + "\\regtest.dll").c_str(), FALSE));
    }
    void TearDown() override { RemoveKey(HKEY_CURRENT_USER, kMarks); }
    bool Marked(const char *name) {
        bool present = false;
        ReadRegistry(HKEY_CURRENT_USER, kMarks, name, &present);
        return present;
    }
    std::string Failure(int errcode, const std::string &subject) {
        return TableText(setup, TextCommandFailed, {std::to_string(errcode), subject});
    }
};

TEST_F(Commands, CheckExistShowsTheArgumentForAMissingFile) {
    const std::string root = ctx.installFolder;
    EXPECT_EQ(1, RunScriptCommand(setup, "%root%\\regtest.dll;#CheckExist;not shown"));
    EXPECT_EQ(1, RunScriptCommand(setup, "%root%\\missing.dll;#checkexist;Install it first."));
    EXPECT_EQ(1, RunScriptCommand(setup, "%root%;#CheckExist;A folder is no file."));
    ASSERT_EQ(2u, ui.shown.size());
    EXPECT_EQ(MessageKind::Error, ui.shown[0].kind);
    EXPECT_EQ("Install it first.", ui.shown[0].text);
    EXPECT_EQ(ctx.caption, ui.shown[0].caption);
    EXPECT_EQ("A folder is no file.", ui.shown[1].text);
}

TEST_F(Commands, DeletionsOfFilesFoldersAndKeys) {
    const std::string root = ctx.installFolder;
    ASSERT_TRUE(WriteBytes(root + "\\a.txt", "a"));
    ASSERT_TRUE(MakeFolder(root + "\\empty"));
    ASSERT_TRUE(MakeFolder(root + "\\full"));
    ASSERT_TRUE(WriteBytes(root + "\\full\\f.txt", "f"));
    ASSERT_TRUE(WriteRegistry(HKEY_CURRENT_USER, pkg.testKey + "\\Sub", "", "x"));
    ASSERT_TRUE(WriteRegistry(HKEY_CURRENT_USER, pkg.testKey + "\\Tree\\Deep", "", "x"));
    const std::string hkcu = "HKEY_CURRENT_USER\\" + pkg.testKey;

    EXPECT_EQ(1, RunScriptCommand(setup, "delfile;;" + root + "\\a.txt"));
    EXPECT_EQ(1, RunScriptCommand(setup, "DELDIR;;" + root + "\\empty"));
    EXPECT_EQ(1, RunScriptCommand(setup, "DELDIR;;" + root + "\\full"));
    EXPECT_EQ(1, RunScriptCommand(setup, "DELREG;;" + hkcu + "\\\\Sub"));
    EXPECT_EQ(1, RunScriptCommand(setup, "DELKEY;;" + hkcu + "\\Tree"));
    EXPECT_FALSE(IsFile(root + "\\a.txt"));
    EXPECT_FALSE(IsFolder(root + "\\empty"));
    EXPECT_TRUE(IsFile(root + "\\full\\f.txt")) << "only an empty folder is removed";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, pkg.testKey + "\\Sub"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, pkg.testKey + "\\Tree"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, pkg.testKey));
    EXPECT_TRUE(ui.shown.empty());

    // The argument is used as written: %root% is not expanded, so the file
    // is not found and the retry prompt names the text as it stands.
    ASSERT_TRUE(WriteBytes(root + "\\b.txt", "b"));
    EXPECT_EQ(1, RunScriptCommand(setup, "DELFILE;;%root%\\b.txt"));
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(TableText(setup, TextDeleteFailed, {"%root%\\b.txt"}), ui.shown[0].text);
    EXPECT_TRUE(IsFile(root + "\\b.txt"));
}

TEST_F(Commands, RootAndTopLevelKeysSurvive) {
    const std::string canary = TestName("canary");
    ASSERT_TRUE(WriteRegistry(HKEY_CLASSES_ROOT, canary, "", "x"));
    ASSERT_TRUE(WriteRegistry(HKEY_CURRENT_USER, "Software\\" + canary, "", "x"));
    for (const char *entry : {"DELKEY;;HKEY_CURRENT_USER", "DELREG;;HKEY_CURRENT_USER",
                              "DELKEY;;HKCU\\", "DELKEY;;HKEY_CURRENT_USER\\Software",
                              "DELREG;;HKEY_CURRENT_USER\\\\Software",
                              "DELREG;;HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\"
                              "CurrentVersion\\\\Uninstall"})
        EXPECT_EQ(1, RunScriptCommand(setup, entry)) << entry;
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, canary));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\" + canary));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
    RemoveKey(HKEY_CLASSES_ROOT, canary);
    RemoveKey(HKEY_CURRENT_USER, "Software\\" + canary);
}

TEST_F(Commands, RegisterAndUnregisterThroughRegsvr32) {
    EXPECT_EQ(1, RunScriptCommand(setup, "%root%\\regtest.dll;DllRegisterServer;hide"));
    EXPECT_TRUE(WaitFor([&] { return Marked("Registered"); }));
    EXPECT_EQ(1, RunScriptCommand(setup, "%ROOT%\\regtest.dll;DllUnregisterServer"));
    EXPECT_TRUE(WaitFor([&] { return Marked("Unregistered"); }));
    EXPECT_TRUE(ui.shown.empty());
    // The action's case matters for these two: another case is an export
    // looked up by that name, which the library does not have.
    EXPECT_EQ(0, RunScriptCommand(setup, "%root%\\regtest.dll;dllregisterserver"));
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(Failure(-1, ctx.installFolder + "\\regtest.dll") + ", dllregisterserver()",
              ui.shown[0].text);
}

TEST_F(Commands, ExportsAreCalledInThisProcess) {
    const std::string dll = ctx.installFolder + "\\regtest.dll";
    EXPECT_EQ(1, RunScriptCommand(setup, "%root%\\regtest.dll;QuillboxMark"));
    EXPECT_TRUE(Marked("Marked"));
    EXPECT_NE(nullptr, GetModuleHandleA(dll.c_str())) << "the library stays loaded";
    EXPECT_TRUE(ui.shown.empty());

    EXPECT_EQ(0, RunScriptCommand(setup, "%root%\\regtest.dll;Init"));
    EXPECT_EQ(0, RunScriptCommand(setup, "%root%\\missing.dll;Init;x"));
    EXPECT_EQ(0, RunScriptCommand(setup, "%root%\\missing.dll;Init;HIDE"));
    ASSERT_EQ(2u, ui.shown.size());
    EXPECT_EQ(Failure(-1, dll) + ", Init()", ui.shown[0].text);
    EXPECT_EQ(Failure(-1, ctx.installFolder + "\\missing.dll") + ", Init()", ui.shown[1].text);
    EXPECT_EQ(MessageKind::Error, ui.shown[1].kind);
}

TEST_F(Commands, TheShellOpensWithTheWindowState) {
    const std::string root = ctx.installFolder;
    const struct {
        const char *word;
        int show;
    } states[] = {{"max", SW_SHOWMAXIMIZED}, {"Hide", SW_HIDE}, {"", SW_SHOWNORMAL}};
    int n = 0;
    for (const auto &state : states) {
        const std::string program = root + "\\shown" + std::to_string(++n) + ".exe";
        ASSERT_TRUE(CopyFileA(BesideTests("setup_test_shown.exe").c_str(), program.c_str(), FALSE));
        EXPECT_EQ(1, RunScriptCommand(setup, "%root%\\shown" + std::to_string(n) + ".exe;;" +
                                                 state.word));
        // The program makes its file first and writes into it after: wait
        // for what it writes, not for the file alone.
        ASSERT_TRUE(WaitFor([&] { return IsFile(program + ".shown") && !ReadBytes(program + ".shown").empty(); }))
            << state.word;
        EXPECT_EQ(std::to_string(state.show), ReadBytes(program + ".shown")) << state.word;
    }
    EXPECT_TRUE(ui.shown.empty());
    // A subject the shell cannot open: its code in text 123, unless hidden.
    EXPECT_EQ(1, RunScriptCommand(setup, "%root%\\missing.txt;;min"));
    EXPECT_EQ(1, RunScriptCommand(setup, "%root%\\missing.txt;;hide"));
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(Failure(SE_ERR_FNF, root + "\\missing.txt"), ui.shown[0].text);
}

} // namespace
} // namespace setup::test
