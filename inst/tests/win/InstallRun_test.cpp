// The install run: its checks with their codes and texts, the order of the
// pages, the roll-back of an interrupted install, and the refusals that
// keep it off what is not the product's own.
#include <gtest/gtest.h>

#include "InstallChecks.h"
#include "InstallRun.h"
#include "SetupTestSupport.h"
#include "UninstallEntry.h"

namespace setup::test {
namespace {

struct Run : ::testing::Test, PackageRun {
    FixedChecks checks;

    // A fresh run of a script; its folder page returns the package's install folder.
    void Script(const std::string &text) {
        pkg.WriteScript(text);
        SetupContext record;
        FillSetupContext(record, pkg.platform);
        Begin(record);
        pages->folderChosen = pkg.installFolder;
    }
    void SetUp() override {
        pkg.AddPayload("a.txt", "a");
        Script("[Setup]\nName=Quillbox Test\n[Registry]\nName=" + pkg.registryName +
               "\n[CopyFile]\n0=a.txt\n");
    }
    int Install() { return InstallRun(*setup, *pages, checks); }
    bool Installed() {
        return KeyExists(HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName)) ||
               IsFolder(ctx.installFolder);
    }
    // A refusal: one error box with the text, nothing shown or changed.
    void ExpectRefused(int code, const std::string &text) {
        EXPECT_EQ(0, Install());
        EXPECT_EQ(code, ctx.errorCode);
        ASSERT_EQ(1u, ui.shown.size());
        EXPECT_EQ(MessageKind::Error, ui.shown[0].kind);
        EXPECT_EQ(text, ui.shown[0].text);
        EXPECT_EQ("Quillbox Test " + setup->Text(TextSetup), ui.shown[0].caption);
        EXPECT_TRUE(pages->log.empty());
        EXPECT_FALSE(Installed());
    }
};

TEST_F(Run, AVersionRefusedByTheScript) {
    const OsVersion os = ctx.os;
    Script("[Setup]\nName=Quillbox Test\n[Registry]\nName=" + pkg.registryName + "\n[OS]\n" +
           VersionKey(int(os.major * 100 + os.minor), os.platformId) + "=no\nWinNT_Max=600\n");
    ExpectRefused(ErrorVersionRefused,
                  TableText(*setup, TextVersionRefused,
                            {"Windows 95, Windows NT 4.0, Windows 98, Windows Me, Windows 2000, "
                             "Windows XP, Windows Server 2003, Windows Vista, Windows Server 2008"}));
}

TEST_F(Run, NotAnAdministratorComesFirst) {
    checks.admin = false;
    ctx.browserVersion = "4.70";
    checks.fromTemp = false;
    ExpectRefused(ErrorNotAdministrator, setup->Text(TextNotAdministrator));
}

TEST_F(Run, AnOldBrowser) {
    ctx.browserVersion = "4.70.1155";
    checks.fromTemp = false;
    ExpectRefused(ErrorBrowserTooOld, setup->Text(TextBrowserTooOld));
}

TEST_F(Run, AStartOutsideTheTemporaryFolder) {
    checks.fromTemp = false;
    ExpectRefused(ErrorNotFromTemp, setup->Text(TextNotFromTemp));
}

TEST_F(Run, AScriptWithoutAnEntryOfItsOwn) {
    Script("[Setup]\nName=Quillbox Test\n[Del]\n0=%root%\\*\n");
    ExpectRefused(ErrorFatal, setup->Text(TextFatalError));
}

TEST_F(Run, ProtectedInstallFoldersAreRefusedBeforeAnyStep) {
    // No product name and no [Root] Name: the "ProgramFilesDir" folder itself,
    // which [Del] %root%\* would empty.
    const std::string canary = TestName("canary");
    Script("[Registry]\nName=" + pkg.registryName + "\n[Del]\n0=%root%\\*\n");
    pages->folderChosen.clear();
    const std::string programFiles = ctx.installFolder;
    ASSERT_TRUE(MakeFolder(programFiles + canary));
    EXPECT_EQ(0, Install());
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(TableText(*setup, TextFolderRefused, {programFiles}), ui.shown[0].text);
    EXPECT_TRUE(IsFolder(programFiles + canary));
    EXPECT_EQ((std::vector<std::string>{"banner", "licence", "folder"}), pages->log);
    RemoveDirectoryA((programFiles + canary).c_str());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName)));

    // A registered or typed drive root, or the Windows folder.
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (const std::string &folder : {std::string("C:\\"), std::string(windows) + "\\"}) {
        ui.shown.clear();
        Script("[Registry]\nName=" + pkg.registryName + "\n[Del]\n0=%root%\\*\n");
        pages->folderChosen = folder;
        EXPECT_EQ(0, Install());
        ASSERT_EQ(1u, ui.shown.size());
        EXPECT_EQ(TableText(*setup, TextFolderRefused, {folder}), ui.shown[0].text);
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName)));
    }
    EXPECT_TRUE(IsFolder(std::string(windows) + "\\system32"));
}

TEST_F(Run, PagesInOrderAndTheFinish) {
    pages->licenceButtons = {PageNext};
    pages->folderButtons = {PageBack, PageNext};
    EXPECT_EQ(1, Install());
    EXPECT_EQ((std::vector<std::string>{"banner", "licence", "folder", "licence", "folder",
                                        "progress:install", "close", "finish:install"}),
              pages->log);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ("a", ReadBytes(ctx.installFolder + "\\a.txt"));
}

TEST_F(Run, CancelOnAPageChangesNothing) {
    pages->licenceButtons = {PageCancel};
    EXPECT_EQ(0, Install());
    EXPECT_EQ((std::vector<std::string>{"banner", "licence", "interrupted"}), pages->log);
    pages->log.clear();
    pages->licenceButtons = {PageNext};
    pages->folderButtons = {PageCancel};
    EXPECT_EQ(0, Install());
    EXPECT_EQ((std::vector<std::string>{"banner", "licence", "folder", "interrupted"}), pages->log);
    EXPECT_FALSE(Installed());
}

TEST_F(Run, AnInterruptedInstallIsRolledBack) {
    // Cancelled once the payload file is in place.
    pages->onPosition = [&](int percent) {
        if (percent == 90)
            ctx.abortFlag = true;
    };
    EXPECT_EQ(0, Install());
    EXPECT_EQ((std::vector<std::string>{"banner", "licence", "folder", "progress:install", "close",
                                        "progress:removal", "close", "interrupted"}),
              pages->log);
    // The moved file is removed again; the entry, the installed program and
    // its script stay for a later removal through the entry.
    EXPECT_FALSE(IsFile(ctx.installFolder + "\\a.txt"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName)));
    EXPECT_TRUE(IsFile(ctx.installFolder + "\\setup.exe"));
    EXPECT_TRUE(IsFile(ctx.installFolder + "\\setup.ini"));
}

TEST_F(Run, NoProgressPageNoInstall) {
    pages->progressFails = true;
    EXPECT_EQ(0, Install());
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(setup->Text(TextFatalError), ui.shown[0].text);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName)));
    EXPECT_TRUE(IsFile(pkg.folder + "\\a.txt"));
}

TEST_F(Run, TheUninstallEntryStartsTheFirstRemovalStage) {
    ASSERT_EQ(1, Install());
    const std::string command = ReadRegistry(
        HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName), "UninstallString");
    ASSERT_EQ("\"" + ctx.installFolder + "\\setup.exe\" -u", command);
    ASSERT_NE(std::string::npos, ctx.installFolder.find(' '));
    // The installed program, started as the control panel starts it, takes
    // the removal path and asks first; No changes nothing.
    const ProgramRun run = RunAnsweringOneBox(command, IDNO);
    ASSERT_TRUE(run.started);
    ASSERT_TRUE(run.boxShown);
    EXPECT_EQ(ctx.caption, run.caption);
    EXPECT_EQ(TableText(*setup, TextConfirmRemove, {"Quillbox Test"}), run.text);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(IsFile(ctx.installFolder + "\\a.txt"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName)));
}

} // namespace
} // namespace setup::test
