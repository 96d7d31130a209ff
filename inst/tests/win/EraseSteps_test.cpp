// The removal steps on a real install in the test prefix: every step and
// progress value in order, a file that cannot be deleted, and the rules
// that keep the removal off what is not the product's own.
#include <gtest/gtest.h>

#include "EraseSteps.h"
#include "InstallSteps.h"
#include "SetupTestSupport.h"
#include "SystemFolders.h"
#include "UninstallEntry.h"

namespace setup::test {
namespace {

struct Erase : ::testing::Test, PackageRun {
    std::string root, menu, productKey;

    void SetUp() override {
        root = pkg.installFolder;
        productKey = pkg.testKey + "\\Product";
        pkg.WriteScript(
            "[Setup]\nName=Quillbox Test\n[Registry]\nName=" + pkg.registryName +
            "\n[MakeDirectory]\n1=%root%\\data\n2=%root%\\data\\sub\n3=%root%\\empty\n"
            "[CopyFile]\n0=a.txt\n1=%root%\\data\\b.txt\n2=?%root%\\c.txt\n3=%root%\\missing.txt\n"
            "[Reg]\nMake0=HKEY_CURRENT_USER\\" + productKey + "\\Sub\\\\Value\\1\n"
            "Make1=HKEY_CURRENT_USER\\" + pkg.testKey + "\\Settings\\\\Value\\1\n"
            "Erase0=HKEY_CURRENT_USER\\" + productKey + "\n"
            "Erase1=HKEY_CURRENT_USER\\" + pkg.testKey + "\\\\Settings\n"
            "[Menu]\nName=" + pkg.menuName + "\n"
            "[Menu0]\nName=App\nPath=%root%\\a.txt\n[Menu1]\nName=Readme.lnk\nPath=readme.txt\n"
            "[Go2]\nErase0=DELFILE;;" + root + "\\written-by-the-product.log\n");
        for (const char *name : {"a.txt", "b.txt", "c.txt"})
            pkg.AddPayload(name, name);
        ASSERT_TRUE(MakeFolder(root));
        Begin(pkg.Context());
        menu = ProgramsMenuFolder(pkg.platform) + "\\" + pkg.menuName;
        ASSERT_TRUE(InstallSteps(*setup, *pages->OpenProgress(PageMode::Install)));
        ASSERT_TRUE(IsFile(menu + "\\App.lnk"));
        ASSERT_TRUE(KeyExists(HKEY_CURRENT_USER, productKey + "\\Sub"));
        ASSERT_TRUE(WriteBytes(root + "\\written-by-the-product.log", "log"));
        pages->log.clear();
    }
};

TEST_F(Erase, EveryStepAndProgressValueInOrder) {
    EXPECT_TRUE(EraseSteps(*setup, *pages));
    EXPECT_EQ((std::vector<std::string>{"progress:removal", "close"}), pages->log);
    EXPECT_EQ((std::vector<int>{90, 70, 50, 30, 10, 10}), pages->removalPositions);
    EXPECT_TRUE(ui.shown.empty());

    EXPECT_FALSE(IsFile(root + "\\written-by-the-product.log"));
    EXPECT_FALSE(IsFolder(menu)) << "the menu folder goes with what is in it";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, productKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, pkg.testKey + "\\Settings"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, pkg.testKey));
    for (const char *file : {"a.txt", "data\\b.txt", "c.txt"})
        EXPECT_FALSE(IsFile(root + "\\" + file)) << file;
    // The folders in ascending order: "data" still holds "sub" when its turn comes.
    EXPECT_TRUE(IsFolder(root + "\\data"));
    EXPECT_FALSE(IsFolder(root + "\\data\\sub"));
    EXPECT_FALSE(IsFolder(root + "\\empty"));
    // The entry, the installed program and its script are the second stage's.
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName)));
    EXPECT_TRUE(IsFile(root + "\\setup.exe"));
    EXPECT_TRUE(IsFile(root + "\\setup.ini"));
}

TEST_F(Erase, AFileThatCannotBeDeletedIsAskedForAndLeft) {
    // Abort and Ignore both leave the file; the steps never stop.
    ui.answers = {Answer::Abort};
    {
        FileLock lock(root + "\\c.txt");
        ASSERT_TRUE(lock.Held());
        EXPECT_TRUE(EraseSteps(*setup, *pages));
    }
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(MessageKind::RetryError, ui.shown[0].kind);
    EXPECT_EQ(TableText(*setup, TextDeleteFailed, {root + "\\c.txt"}), ui.shown[0].text);
    EXPECT_EQ(nullptr, ui.shown[0].owner);
    EXPECT_TRUE(IsFile(root + "\\c.txt"));
    EXPECT_FALSE(IsFile(root + "\\a.txt"));
    EXPECT_FALSE(IsFolder(root + "\\empty"));
    EXPECT_EQ((std::vector<int>{90, 70, 50, 30, 10, 10}), pages->removalPositions);
}

TEST_F(Erase, WithoutAProgressPageTheRemovalStillRuns) {
    pages->progressFails = true;
    EXPECT_TRUE(EraseSteps(*setup, *pages));
    EXPECT_FALSE(IsFile(root + "\\a.txt"));
    EXPECT_FALSE(IsFolder(menu));
}

// The user's desktop folder moved for the length of a test.
class MovedDesktop {
public:
    explicit MovedDesktop(const std::string &folder)
        : old_(ReadRegistry(HKEY_CURRENT_USER, kShellFolders, "Desktop")),
          moved_(WriteRegistry(HKEY_CURRENT_USER, kShellFolders, "Desktop", folder)) {}
    ~MovedDesktop() { WriteRegistry(HKEY_CURRENT_USER, kShellFolders, "Desktop", old_); }
    bool Moved() const { return moved_; }

private:
    static constexpr const char *kShellFolders =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    std::string old_;
    bool moved_;
};

TEST_F(Erase, NothingThatIsNotTheProductsOwnIsRemoved) {
    // An empty desktop folder stands for every protected folder that a
    // [MakeDirectory] value could name.
    const std::string emptyDesktop = pkg.base / "Desktop";
    ASSERT_TRUE(MakeFolder(emptyDesktop));
    const MovedDesktop desktop(emptyDesktop);
    ASSERT_TRUE(desktop.Moved());
    // A shortcut of that name in the programs menu itself.
    const std::string programs = ProgramsMenuFolder(pkg.platform);
    const std::string canary = programs + "\\" + TestName("App") + ".lnk";
    ASSERT_TRUE(WriteBytes(canary, "not ours"));
    const std::string canaryName = canary.substr(programs.size() + 1);
    pkg.WriteScript("[Registry]\nName=" + pkg.registryName +
                    "\n[MakeDirectory]\n1=%desktop%\n[Menu]\nName=..\\" +
                    programs.substr(programs.rfind('\\') + 1) + "\n[Menu0]\nName=" + canaryName +
                    "\n[Reg]\nErase0=HKEY_CURRENT_USER\nErase1=HKEY_LOCAL_MACHINE\\Software\n"
                    "Erase2=HKEY_CURRENT_USER\\Software\\\\Wine\n"
                    "[Go2]\nErase0=DELKEY;;HKEY_CURRENT_USER\\Software\n"
                    "Erase1=DELREG;;HKEY_LOCAL_MACHINE\\\\Software\n");
    EXPECT_TRUE(EraseSteps(*setup, *pages));
    EXPECT_TRUE(IsFolder(emptyDesktop));
    EXPECT_TRUE(IsFile(canary));
    EXPECT_TRUE(IsFolder(programs));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Wine"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft"));
    DeleteFileA(canary.c_str());
}

} // namespace
} // namespace setup::test
