// Folders, registry keys, shortcuts and the retry prompts on the real
// files, keys and link files of the test prefix.
#include <gtest/gtest.h>

#include <memory>

#include "CreateShortcut.h"
#include "FileActions.h"
#include "Folders.h"
#include "Handles.h"
#include "RegistryActions.h"
#include "SetupTestSupport.h"
#include "SystemChecks.h"

namespace setup::test {
namespace {

TEST(SystemChecks, TheUserAndTheStartFolder) {
    const TestPlatform platform;
    // The prefix's user is an administrator; the 9x family has no such notion.
    OsVersion os = platform.Version();
    EXPECT_TRUE(IsUserAdmin(os));
    os.platformId = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_TRUE(IsUserAdmin(os));
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    EXPECT_TRUE(IsRunningFromTemp(platform, std::string(temp) + "pkg\\setup.exe"));
    EXPECT_FALSE(IsRunningFromTemp(platform, platform.Win32Platform::ModulePath()));
    EXPECT_FALSE(IsRunningFromTemp(platform, "C:\\setup.exe"));
}

const CodePage &Cp() {
    static const CodePage cp{TestPlatform()};
    return cp;
}

TEST(Folders, CreateFolderPathMakesEveryMissingLevel) {
    TempFolder tmp;
    const std::string deep = tmp / "a\\b\\c";
    EXPECT_TRUE(CreateFolderPath(Cp(), deep));
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_TRUE(CreateFolderPath(Cp(), deep)) << "an existing folder";
    EXPECT_FALSE(CreateFolderPath(Cp(), "relative\\x"));
    ASSERT_TRUE(WriteBytes(tmp / "file", "x"));
    EXPECT_FALSE(CreateFolderPath(Cp(), tmp / "file\\sub"));
    // A path that does not fit the buffer is refused, not cut.
    std::string tooLong = tmp / "long\\";
    tooLong += std::string(kPathBufferSize - tooLong.size(), 'x');
    EXPECT_FALSE(CreateFolderPath(Cp(), tooLong));
    EXPECT_FALSE(IsFolder(tmp / "long"));
}

TEST(Folders, DeleteFolderTreeRemovesEverything) {
    TempFolder tmp;
    const std::string tree = tmp / "tree";
    ASSERT_TRUE(CreateFolderPath(Cp(), tree + "\\x\\y"));
    ASSERT_TRUE(WriteBytes(tree + "\\a.txt", "a"));
    ASSERT_TRUE(WriteBytes(tree + "\\x\\y\\b.txt", "b"));
    ASSERT_TRUE(WriteBytes(tmp / "sibling.txt", "s"));
    EXPECT_TRUE(DeleteFolderTree(Cp(), tree));
    EXPECT_FALSE(IsFolder(tree));
    EXPECT_TRUE(IsFile(tmp / "sibling.txt"));

    // A read-only file is not made writable: it and its folders stay.
    ASSERT_TRUE(CreateFolderPath(Cp(), tree + "\\ro"));
    ASSERT_TRUE(WriteBytes(tree + "\\ro\\r.txt", "r"));
    ASSERT_TRUE(WriteBytes(tree + "\\w.txt", "w"));
    ASSERT_TRUE(SetFileAttributesA((tree + "\\ro\\r.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteFolderTree(Cp(), tree));
    EXPECT_TRUE(IsFile(tree + "\\ro\\r.txt"));
    EXPECT_FALSE(IsFile(tree + "\\w.txt"));
    SetFileAttributesA((tree + "\\ro\\r.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Registry, WriteAndDeleteBelowTheProductsKey) {
    const std::string key = "Software\\" + TestName("reg");
    EXPECT_TRUE(WriteRegistryValue(RootKey::CurrentUser, key + "\\a\\b", "Path", "C:\\Q\\bin"));
    EXPECT_EQ("C:\\Q\\bin", ReadRegistry(HKEY_CURRENT_USER, key + "\\a\\b", "Path"));
    EXPECT_TRUE(WriteRegistryValue(RootKey::CurrentUser, key + "\\a\\c\\d", "", "x"));
    // A subkey with subkeys of its own cannot be deleted alone.
    EXPECT_FALSE(DeleteRegistrySubkey(Cp(), RootKey::CurrentUser, key + "\\a", "c"));
    EXPECT_TRUE(DeleteRegistrySubkey(Cp(), RootKey::CurrentUser, key + "\\a", "b"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\a\\b"));
    EXPECT_TRUE(DeleteKeyTree(Cp(), RootKey::CurrentUser, key));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
    EXPECT_FALSE(DeleteKeyTree(Cp(), RootKey::CurrentUser, key)) << "already gone";
}

TEST(Registry, RootsAndTopLevelKeysAreNeverDeleted) {
    const std::string canary = TestName("canary");
    ASSERT_TRUE(WriteRegistry(HKEY_CLASSES_ROOT, canary, "", "x"));
    ASSERT_TRUE(WriteRegistry(HKEY_CURRENT_USER, "Software\\" + canary, "", "x"));
    EXPECT_FALSE(DeleteKeyTree(Cp(), RootKey::ClassesRoot, ""));
    EXPECT_FALSE(DeleteKeyTree(Cp(), RootKey::CurrentUser, "Software"));
    EXPECT_FALSE(DeleteRegistrySubkey(Cp(), RootKey::CurrentUser, "", "Software"));
    EXPECT_FALSE(DeleteRegistrySubkey(Cp(), RootKey::LocalMachine,
                                      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", ""));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, canary));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\" + canary));
    RemoveKey(HKEY_CLASSES_ROOT, canary);
    RemoveKey(HKEY_CURRENT_USER, "Software\\" + canary);
}

TEST(Shortcut, SavedWithEveryFieldAndReadBack) {
    TempFolder tmp;
    const std::string target = tmp / "app.exe";
    ASSERT_TRUE(CopyFileA(SetupExePath().c_str(), target.c_str(), FALSE));
    // The folder is made when it is missing; ".lnk" is added.
    EXPECT_TRUE(CreateShortcut(Cp(), tmp / "menu\\sub\\App", target, "-x \"a b\"",
                               "\x95\x5C\x8E\xA6 description", target, 1));
    ASSERT_TRUE(IsFile(tmp / "menu\\sub\\App.lnk"));
    const LinkData link = ReadLink(tmp / "menu\\sub\\App.lnk");
    EXPECT_EQ(target, link.target);
    EXPECT_EQ("-x \"a b\"", link.arguments);
    EXPECT_EQ("\x95\x5C\x8E\xA6 description", link.description);
    EXPECT_EQ(target, link.icon);
    EXPECT_EQ(1, link.iconIndex);
    // A name that ends in ".lnk" keeps it.
    EXPECT_TRUE(CreateShortcut(Cp(), tmp / "Readme.LNK", target, "", "", "", 0));
    EXPECT_TRUE(IsFile(tmp / "Readme.LNK"));
    EXPECT_FALSE(IsFile(tmp / "Readme.LNK.lnk"));
    // A link path that does not fit is refused.
    EXPECT_FALSE(CreateShortcut(Cp(), tmp / std::string(kPathBufferSize, 'l'), target, "", "", "", 0));
}

struct Prompted {
    SetupContext ctx;
    TestPlatform platform;
    RecordingUi ui;
    setup::Setup setup{ctx, platform, ui};
    Prompted() { FillSetupContext(ctx, platform); }
};

TEST(RetryPrompts, MoveOfALockedFileAsksUntilIgnored) {
    TempFolder tmp;
    const std::string source = tmp / "a.txt", target = tmp / "b.txt";
    ASSERT_TRUE(WriteBytes(source, "new"));
    ASSERT_TRUE(WriteBytes(target, "old"));
    Prompted p;
    p.ui.answers = {Answer::Retry, Answer::Ignore};
    {
        FileLock lock(source);
        ASSERT_TRUE(lock.Held());
        EXPECT_FALSE(MoveWithRetry(p.setup, source, target));
    }
    ASSERT_EQ(2u, p.ui.shown.size());
    EXPECT_EQ(MessageKind::RetryError, p.ui.shown[0].kind);
    EXPECT_EQ(TableText(p.setup, TextCopyFailed, {source}), p.ui.shown[0].text);
    EXPECT_EQ(p.ctx.caption, p.ui.shown[0].caption);
    EXPECT_FALSE(p.ctx.abortFlag);
    EXPECT_TRUE(IsFile(source));
    // Retry after the other opener let go: the existing target is replaced.
    Prompted again;
    auto lock = std::make_unique<FileLock>(source);
    again.ui.answers = {Answer::Retry};
    again.ui.onShow = [&](const Shown &) { lock.reset(); };
    EXPECT_TRUE(MoveWithRetry(again.setup, source, target));
    EXPECT_EQ(1u, again.ui.shown.size());
    EXPECT_EQ("new", ReadBytes(target));
    EXPECT_FALSE(IsFile(source));
}

TEST(RetryPrompts, AbortSetsTheAbortFlag) {
    TempFolder tmp;
    const std::string file = tmp / "a.txt";
    ASSERT_TRUE(WriteBytes(file, "a"));
    Prompted p;
    p.ui.answers = {Answer::Abort};
    {
        FileLock lock(file);
        EXPECT_FALSE(DeleteWithRetry(p.setup, file));
        EXPECT_FALSE(CopyWithRetry(p.setup, file, tmp / "copy.txt"));
    }
    ASSERT_EQ(2u, p.ui.shown.size());
    EXPECT_EQ(TableText(p.setup, TextDeleteFailed, {file}), p.ui.shown[0].text);
    EXPECT_EQ(TableText(p.setup, TextCopyFailed, {file}), p.ui.shown[1].text);
    EXPECT_TRUE(p.ctx.abortFlag);
    EXPECT_TRUE(IsFile(file));
    // A copy overwrites its target.
    ASSERT_TRUE(WriteBytes(tmp / "copy.txt", "old"));
    EXPECT_TRUE(CopyWithRetry(p.setup, file, tmp / "copy.txt"));
    EXPECT_EQ("a", ReadBytes(tmp / "copy.txt"));
}

} // namespace
} // namespace setup::test
