// Every install step on a real script and payload: folders, old files,
// the uninstall entry, the copies, the payload, registry values, shortcuts
// and commands; the progress values; the abort flag at each check; and the
// mends that keep the steps off what is not the product's own.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "InstallSteps.h"
#include "SetupTestSupport.h"
#include "SystemFolders.h"
#include "UninstallEntry.h"

namespace setup::test {
namespace {

// A window that stands for the progress page's Cancel button: a message
// posted to it is dispatched only by the steps' message pump, and its
// handling sets the abort flag, as the confirmed Cancel does.
class CancelButton {
public:
    explicit CancelButton(bool &abortFlag) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QuillboxTestCancel";
        RegisterClassA(&wc);
        window_ = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&abortFlag));
    }
    ~CancelButton() { DestroyWindow(window_); }
    void Press() { PostMessageA(window_, WM_APP, 0, 0); }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_APP)
            *reinterpret_cast<bool *>(GetWindowLongPtrA(w, GWLP_USERDATA)) = true;
        return DefWindowProcA(w, m, wp, lp);
    }
    HWND window_;
};

struct Install : ::testing::Test, PackageRun {
    std::string root, menu, uninstallKey;

    void SetUp() override {
        root = pkg.installFolder;
        pkg.WriteScript(
            "[Setup]\nName=Quillbox Test\n[Registry]\nName=" + pkg.registryName +
            "\n[MakeDirectory]\n0=%root%\\never\n1=%root%\\data\n2=%root%\\data\\sub\n"
            "[Del]\n0=%root%\\old\\*\n1=stale.txt\n"
            "[CopyFile]\n0=a.txt\n1=%root%\\data\\b.txt\n2=?%root%\\c.txt\n3=%root%\\missing.txt\n"
            "[Reg]\nMake0=HKEY_CURRENT_USER\\" + pkg.testKey + "\\\\Path\\%root%\\bin\n"
            "Make1=HKEY_CURRENT_USER\\" + pkg.testKey + "\\\\Plain\\not %root% expanded\n"
            "[Menu]\nName=" + pkg.menuName + "\n"
            "[Menu0]\nName=App\nPath=%root%\\a.txt\nArg=-x\nDescription=Quillbox\n"
            "Icon=%root%\\setup.exe\nIconNo=2\n"
            "[Menu1]\nName=Readme.lnk\nPath=readme.txt\n"
            "[Go2]\nMake0=%root%\\a.txt;#CheckExist;missing\nMake1=%root%\\missing.txt;;hide\n");
        for (const char *name : {"a.txt", "b.txt", "c.txt"})
            pkg.AddPayload(name, std::string("payload ") + name);
        ASSERT_TRUE(CreateFolderPathForTest(root + "\\old\\sub"));
        ASSERT_TRUE(WriteBytes(root + "\\old\\x.txt", "x"));
        ASSERT_TRUE(WriteBytes(root + "\\old\\sub\\y.txt", "y"));
        ASSERT_TRUE(WriteBytes(root + "\\stale.txt", "s"));
        ASSERT_TRUE(WriteBytes(root + "\\keep.txt", "k"));
        ASSERT_TRUE(WriteBytes(pkg.base / "neighbour.txt", "n"));
        Begin(pkg.Context());
        menu = ProgramsMenuFolder(pkg.platform) + "\\" + pkg.menuName;
        uninstallKey = UninstallKey(setup->cp, pkg.registryName);
    }
    static bool CreateFolderPathForTest(const std::string &path) {
        return SHCreateDirectoryExA(nullptr, path.c_str(), nullptr) == ERROR_SUCCESS;
    }
    bool Run() {
        std::unique_ptr<ProgressPage> page = pages->OpenProgress(PageMode::Install);
        return InstallSteps(*setup, *page);
    }
    std::string Value(const std::string &name) {
        return ReadRegistry(HKEY_CURRENT_USER, pkg.testKey, name);
    }
};

TEST_F(Install, EveryStepInOrder) {
    ASSERT_TRUE(Run());
    EXPECT_EQ((std::vector<int>{5, 30, 50, 70, 90, 90, 95}), pages->positions);
    EXPECT_TRUE(ui.shown.empty()) << ui.shown[0].text;

    EXPECT_TRUE(IsFolder(root + "\\data\\sub"));
    EXPECT_FALSE(IsFolder(root + "\\never")) << "[MakeDirectory] starts at 1";
    EXPECT_EQ(std::vector<std::string>(), FolderEntries(root + "\\old"));
    EXPECT_FALSE(IsFile(root + "\\stale.txt"));
    EXPECT_TRUE(IsFile(root + "\\keep.txt"));
    EXPECT_TRUE(IsFile(pkg.base / "neighbour.txt"));

    EXPECT_EQ("Quillbox Test", ReadRegistry(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayName"));
    EXPECT_EQ(root, ReadRegistry(HKEY_LOCAL_MACHINE, uninstallKey, "InstallLocation"));
    EXPECT_EQ(root + "\\setup.exe", ReadRegistry(HKEY_LOCAL_MACHINE, uninstallKey, "DisplayIcon"));
    EXPECT_EQ("\"" + root + "\\setup.exe\" -u",
              ReadRegistry(HKEY_LOCAL_MACHINE, uninstallKey, "UninstallString"));

    EXPECT_EQ(ReadBytes(pkg.folder + "\\setup.ini"), ReadBytes(root + "\\setup.ini"));
    EXPECT_EQ(ReadBytes(SetupExePath()), ReadBytes(root + "\\setup.exe"));
    EXPECT_EQ("payload a.txt", ReadBytes(root + "\\a.txt"));
    EXPECT_EQ("payload b.txt", ReadBytes(root + "\\data\\b.txt"));
    EXPECT_EQ("payload c.txt", ReadBytes(root + "\\c.txt"));
    for (const char *moved : {"a.txt", "b.txt", "c.txt"})
        EXPECT_FALSE(IsFile(pkg.folder + "\\" + moved)) << "moved, not copied: " << moved;

    EXPECT_EQ(root + "\\bin", Value("Path"));
    EXPECT_EQ("not %root% expanded", Value("Plain"));

    const LinkData app = ReadLink(menu + "\\App.lnk");
    EXPECT_EQ(root + "\\a.txt", app.target);
    EXPECT_EQ("-x", app.arguments);
    EXPECT_EQ("Quillbox", app.description);
    EXPECT_EQ(root + "\\setup.exe", app.icon);
    EXPECT_EQ(2, app.iconIndex);
    EXPECT_EQ(root + "\\readme.txt", ReadLink(menu + "\\Readme.lnk").target);
    EXPECT_FALSE(IsFile(menu + "\\Readme.lnk.lnk"));
}

TEST_F(Install, AbortBeforeTheFirstCheck) {
    ctx.abortFlag = true;
    EXPECT_FALSE(Run());
    EXPECT_TRUE(IsFolder(root + "\\data\\sub")) << "step 1 runs before its check";
    EXPECT_TRUE(IsFile(root + "\\stale.txt"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
    EXPECT_TRUE(pages->positions.empty());
}

// Cancel pressed while the bar stands at percent: what ran before the next
// check is done, nothing after it.
struct CancelCase {
    int percent;
    const char *lastDone;     // a file in the install folder that must exist, or ""
    const char *firstSkipped; // one that must not, or ""
};

class CancelAt : public Install, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelAt, StopsAtTheNextCheck) {
    CancelButton cancel(ctx.abortFlag);
    const int at = GetParam().percent;
    bool pressed = false;
    pages->onPosition = [&](int percent) {
        if (percent == at && !pressed) {
            pressed = true;
            cancel.Press();
        }
    };
    EXPECT_FALSE(Run());
    EXPECT_EQ(at, pages->positions.back());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, uninstallKey));
    if (*GetParam().lastDone) {
        EXPECT_TRUE(IsFile(root + "\\" + GetParam().lastDone)) << GetParam().lastDone;
    }
    if (*GetParam().firstSkipped) {
        EXPECT_FALSE(IsFile(root + "\\" + GetParam().firstSkipped)) << GetParam().firstSkipped;
    }
    EXPECT_EQ("", Value("Path")) << "the registry values come after 90";
}

INSTANTIATE_TEST_SUITE_P(Install, CancelAt,
                         ::testing::Values(CancelCase{5, "", "setup.ini"},
                                           CancelCase{30, "a.txt", "data\\b.txt"},
                                           CancelCase{70, "c.txt", ""}));

TEST_F(Install, CancelAtTheLastValuesOfTheBar) {
    // At 90 the first [Reg] value is written before the check that stops.
    CancelButton cancel(ctx.abortFlag);
    pages->onPosition = [&](int percent) {
        if (percent == 90 && pages->positions.size() == 6)
            cancel.Press();
    };
    EXPECT_FALSE(Run());
    EXPECT_EQ(root + "\\bin", Value("Path"));
    EXPECT_EQ("", Value("Plain"));
    EXPECT_FALSE(IsFolder(menu));

    // At 95 the shortcuts are made and no command runs.
    Package other;
    other.WriteScript("[Registry]\nName=" + other.registryName + "\n[Menu]\nName=" +
                      other.menuName + "\n[Menu0]\nName=App\n[Go2]\nMake0=x;#CheckExist;shown\n");
    ASSERT_TRUE(MakeFolder(other.installFolder));
    SetupContext ctx2 = other.Context();
    RecordingUi ui2;
    setup::Setup setup2(ctx2, other.platform, ui2);
    RecordingPages pages2(ctx2);
    CancelButton cancel2(ctx2.abortFlag);
    pages2.onPosition = [&](int percent) {
        if (percent == 95)
            cancel2.Press();
    };
    EXPECT_FALSE(InstallSteps(setup2, *pages2.OpenProgress(PageMode::Install)));
    EXPECT_TRUE(IsFile(ProgramsMenuFolder(other.platform) + "\\" + other.menuName + "\\App.lnk"));
    EXPECT_TRUE(ui2.shown.empty());
}

TEST_F(Install, AbortInARetryPromptAndBetweenCommands) {
    // The program held open without sharing: its copy fails, and Abort
    // stops the run before the payload is moved.
    {
        FileLock lock(pkg.folder + "\\setup.exe");
        ui.answers = {Answer::Abort};
        EXPECT_FALSE(Run());
    }
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(TableText(*setup, TextCopyFailed, {pkg.folder + "\\setup.exe"}), ui.shown[0].text);
    EXPECT_TRUE(IsFile(root + "\\setup.ini"));
    EXPECT_FALSE(IsFile(root + "\\setup.exe"));
    EXPECT_FALSE(IsFile(root + "\\a.txt"));
    EXPECT_EQ((std::vector<int>{5}), pages->positions);

    // A Cancel taken while a command's message is up ends the commands.
    Package other;
    other.WriteScript("[Registry]\nName=" + other.registryName +
                      "\n[Go2]\nMake0=x;#CheckExist;first\nMake1=y;#CheckExist;second\n");
    ASSERT_TRUE(MakeFolder(other.installFolder));
    SetupContext ctx2 = other.Context();
    RecordingUi ui2;
    ui2.onShow = [&](const Shown &) { ctx2.abortFlag = true; };
    setup::Setup setup2(ctx2, other.platform, ui2);
    RecordingPages pages2(ctx2);
    EXPECT_FALSE(InstallSteps(setup2, *pages2.OpenProgress(PageMode::Install)));
    ASSERT_EQ(1u, ui2.shown.size());
    EXPECT_EQ("first", ui2.shown[0].text);
}

TEST_F(Install, OldFilesOutsideTheProductStay) {
    // The programs menu stands for every protected folder here: in the test
    // prefix the desktop is a link to the home folder of the machine.
    const std::string programs = ProgramsMenuFolder(pkg.platform);
    const std::string canary = programs + "\\" + TestName("canary") + ".txt";
    ASSERT_TRUE(WriteBytes(canary, "c"));
    pkg.WriteScript("[Registry]\nName=" + pkg.registryName +
                    "\n[Del]\n0=%programmenu%\n1=%programmenu%\\*\n2=%root%\\..\\*\n"
                    "3=%root%\\.\\*\n4=%root%\\old\\..\\keep.txt\n5=" + programs + "\\..\n");
    EXPECT_TRUE(Run());
    EXPECT_TRUE(IsFile(canary));
    EXPECT_TRUE(IsFile(pkg.base / "neighbour.txt"));
    EXPECT_TRUE(IsFile(root + "\\keep.txt"));
    EXPECT_TRUE(IsFile(root + "\\old\\x.txt"));
    DeleteFileA(canary.c_str());
}

TEST_F(Install, AMenuNameThatLeavesTheMenuMakesNoShortcut) {
    const std::string outside = TestName("outside");
    pkg.WriteScript("[Registry]\nName=" + pkg.registryName + "\n[Menu]\nName=..\\" + outside +
                    "\n[Menu0]\nName=App\n");
    EXPECT_TRUE(Run());
    const std::string programs = ProgramsMenuFolder(pkg.platform);
    EXPECT_FALSE(IsFolder(programs.substr(0, programs.rfind('\\')) + "\\" + outside));
    EXPECT_FALSE(IsFolder(programs + "\\..\\" + outside));
}

TEST_F(Install, ValuesBeyondTheBufferAreNotUsed) {
    // root + "\" + name is 260 bytes: one more than a path buffer holds.
    const std::string name(kPathBufferSize - root.size() - 1, 'n');
    const std::string nested(name.size() - std::string("\\long.txt").size(), 'n');
    pkg.AddPayload("short.txt", "s");
    pkg.AddPayload("long.txt", "l");
    pkg.WriteScript("[Registry]\nName=" + pkg.registryName + "\n[MakeDirectory]\n1=" + name +
                    "\n[CopyFile]\n0=short.txt\n1=%root%\\" + nested + "\\long.txt\n"
                    "[Reg]\nMake0=HKEY_CURRENT_USER\\" + pkg.testKey + "\\\\Long\\%root%\\" +
                    name + "\n");
    ui.answers = {Answer::Retry, Answer::Ignore};
    EXPECT_TRUE(Run());
    EXPECT_FALSE(IsFolder(root + "\\" + name.substr(0, 200)));
    EXPECT_TRUE(IsFile(root + "\\short.txt"));
    // The payload value that does not fit fails like any other move: asked
    // again on Retry, left in place on Ignore.
    ASSERT_EQ(2u, ui.shown.size());
    EXPECT_EQ(TableText(*setup, TextCopyFailed, {pkg.folder + "\\long.txt"}), ui.shown[1].text);
    EXPECT_TRUE(IsFile(pkg.folder + "\\long.txt"));
    bool present = true;
    ReadRegistry(HKEY_CURRENT_USER, pkg.testKey, "Long", &present);
    EXPECT_FALSE(present);
}

} // namespace
} // namespace setup::test
