// The removal stages in the test prefix: the refusals that change nothing,
// the question, and the bounded wait for the installed program. (The two
// stages as real processes, end to end, are the package's test.)
#include <gtest/gtest.h>

#include <shlwapi.h>

#include "InstallSteps.h"
#include "RegistrySpec.h"
#include "RemovalRun.h"
#include "SetupTestSupport.h"
#include "UninstallEntry.h"

namespace setup::test {
namespace {

struct Removal : ::testing::Test, PackageRun {
    FixedChecks checks;
    std::string root, entry;

    void SetUp() override {
        root = pkg.installFolder;
        pkg.WriteScript("[Setup]\nName=Quillbox Test\n[Registry]\nName=" + pkg.registryName +
                        "\n[CopyFile]\n0=a.txt\n");
        pkg.AddPayload("a.txt", "a");
        ASSERT_TRUE(MakeFolder(root));
        Begin(pkg.Context());
        ASSERT_TRUE(InstallSteps(*setup, *pages->OpenProgress(PageMode::Install)));
        entry = UninstallKey(setup->cp, pkg.registryName);
        // The removal runs from the installed program and its script.
        pkg.platform.modulePath = root + "\\setup.exe";
        SetupContext record;
        FillSetupContext(record, pkg.platform);
        Begin(record);
        pages->log.clear();
    }
    bool Unchanged() {
        return IsFile(root + "\\a.txt") && IsFile(root + "\\setup.ini") &&
               KeyExists(HKEY_LOCAL_MACHINE, entry) && pages->log.empty();
    }
};

TEST_F(Removal, DeclinedOrRefusedChangesNothing) {
    // The question, answered No.
    EXPECT_EQ(0, RemovalFirstStage(*setup, *pages, checks));
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(MessageKind::Question, ui.shown[0].kind);
    EXPECT_EQ(TableText(*setup, TextConfirmRemove, {"Quillbox Test"}), ui.shown[0].text);
    EXPECT_EQ(nullptr, ui.shown[0].owner);
    EXPECT_TRUE(Unchanged());

    // Not an administrator.
    ui.shown.clear();
    checks.admin = false;
    EXPECT_EQ(0, RemovalFirstStage(*setup, *pages, checks));
    EXPECT_EQ(ErrorNotAdministrator, ctx.errorCode);
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(setup->Text(TextNotAdministrator), ui.shown[0].text);
    EXPECT_TRUE(Unchanged());
    checks.admin = true;

    // An entry without its folder, or with one that is not the product's own.
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    for (const std::string &location : {std::string(), std::string(windows), std::string("C:\\")}) {
        ui.shown.clear();
        if (location.empty())
            ASSERT_EQ(ERROR_SUCCESS, SHDeleteValueA(HKEY_LOCAL_MACHINE, entry.c_str(), "InstallLocation"));
        else
            ASSERT_TRUE(WriteRegistry(HKEY_LOCAL_MACHINE, entry, "InstallLocation", location));
        ui.answers = {Answer::Yes};
        EXPECT_EQ(0, RemovalFirstStage(*setup, *pages, checks)) << location;
        EXPECT_EQ(0, RemovalSecondStage(*setup, *pages, checks)) << location;
        EXPECT_EQ(std::vector<std::string>(2, setup->Text(TextFatalError)), ui.Texts())
            << location;
        EXPECT_TRUE(Unchanged()) << location;
    }
    ASSERT_TRUE(WriteRegistry(HKEY_LOCAL_MACHINE, entry, "InstallLocation", root));

    // A script whose [Registry] Name is empty would name the Uninstall key.
    ASSERT_TRUE(WriteBytes(root + "\\setup.ini", "[Setup]\nName=Quillbox Test\n[CopyFile]\n0=a.txt\n"));
    ui.shown.clear();
    ui.answers = {Answer::Yes};
    EXPECT_EQ(0, RemovalFirstStage(*setup, *pages, checks));
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(setup->Text(TextFatalError), ui.shown[0].text);
    EXPECT_TRUE(Unchanged());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKeyPath));
}

TEST_F(Removal, TheSecondStageRunsOnlyFromTheTemporaryFolder) {
    // Started in the install folder, its "temporary" files would be the
    // installed program and script.
    checks.fromTemp = false;
    EXPECT_EQ(0, RemovalSecondStage(*setup, *pages, checks));
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(setup->Text(TextNotFromTemp), ui.shown[0].text);
    EXPECT_TRUE(Unchanged());
    EXPECT_TRUE(IsFile(root + "\\setup.exe"));
}

// Releases a held file when its timer fires: the timer runs only while the
// waiting code dispatches messages.
std::unique_ptr<FileLock> heldFile;
void CALLBACK Release(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    heldFile.reset();
}

TEST_F(Removal, TheWaitForTheInstalledProgramIsBounded) {
    const std::string program = root + "\\setup.exe";
    heldFile.reset(new FileLock(program));
    ASSERT_TRUE(heldFile->Held());
    const DWORD start = GetTickCount();
    EXPECT_FALSE(DeleteWhenReleased(program, 300));
    EXPECT_GE(GetTickCount() - start, 300u);
    EXPECT_TRUE(IsFile(program));
    // Let go while the wait lasts: the file goes.
    SetTimer(nullptr, 0, 200, Release);
    EXPECT_TRUE(DeleteWhenReleased(program, 20000));
    EXPECT_FALSE(heldFile);
    EXPECT_FALSE(IsFile(program));
    EXPECT_TRUE(DeleteWhenReleased(program, 0)) << "a file that is gone is no wait";
}

} // namespace
} // namespace setup::test
