// The folders and keys an install refuses before it changes anything, and
// the folder its shortcuts go to.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "ExpandPathMacros.h"
#include "InstallTarget.h"
#include "ProtectedFolders.h"
#include "RegistrySpec.h"
#include "ShortcutFolder.h"
#include "TestUi.h"
#include "UninstallEntry.h"

namespace setup {
namespace {

using test::FakePlatform;

const char kShell[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCommonPrograms[] = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";

TEST(ProtectedFolders, TheSystemsFoldersAndWhatHoldsThem) {
    FakePlatform p;
    p.canonical["C:\\PROGRA~1"] = "C:\\Program Files";
    p.SetRegistry(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion",
                  "ProgramW6432Dir", "C:\\Program Files (64)");
    const ProtectedFolders protectedFolders(p);
    for (const char *path :
         {"C:\\", "D:", "C:\\WINDOWS", "c:\\windows\\", "C:\\WINDOWS\\System32", "C:\\Program Files",
          "C:\\Program Files\\\\", "C:\\PROGRA~1", "C:\\Documents and Settings",
          "C:\\Documents and Settings\\user", "C:\\Documents and Settings\\user\\Desktop",
          "C:\\Documents and Settings\\All Users\\Start Menu", kCommonPrograms, "C:\\TEMP\\",
          "\\\\server\\share", "\\\\server\\share\\", "\\\\?\\C:\\Quillbox",
          "C:\\Program Files\\Quillbox\\..", "C:\\Program Files\\.\\Quillbox", "Quillbox",
          "\\Quillbox", "C:Quillbox", "", "C:\\Program Files (64)\\"})
        EXPECT_TRUE(protectedFolders.Covers(path)) << path;
    for (const char *path :
         {"C:\\Program Files\\Quillbox", "C:\\Program Files (x86)", "C:\\WINDOWS\\system32\\Q",
          "C:\\TEMP\\pkg", "C:\\Tools", "\\\\server\\share\\Quillbox",
          "C:\\Documents and Settings\\user\\Desktop\\Q"})
        EXPECT_FALSE(protectedFolders.Covers(path)) << path;
}

struct Target {
    FakePlatform p;
    SetupContext ctx;
    test::NoMessages ui;
    Setup setup{ctx, p, ui};
    explicit Target(const std::string &script) {
        p.SetScript(script);
        FillSetupContext(ctx, p);
    }
};

TEST(InstallTarget, RefusedBeforeAnyStep) {
    EXPECT_EQ(0u, CheckInstallTarget(Target("[Setup]\nName=Q\n[Registry]\nName=Q\n").setup));
    // An empty [Registry] Name would make the Uninstall key itself the entry.
    EXPECT_EQ(TextFatalError, CheckInstallTarget(Target("[Setup]\nName=Q\n").setup));
    EXPECT_EQ(TextFatalError,
              CheckInstallTarget(Target("[Setup]\nName=Q\n[Registry]\nName=\\\n").setup));
    // An empty product name and [Root] Name: the "ProgramFilesDir" folder itself.
    Target empty("[Registry]\nName=Q\n");
    EXPECT_EQ("C:\\Program Files\\", empty.ctx.installFolder);
    EXPECT_EQ(TextFolderRefused, CheckInstallTarget(empty.setup));
    // A registered or typed drive root, or the Windows folder.
    Target typed("[Setup]\nName=Q\n[Registry]\nName=Q\n");
    for (const char *folder : {"D:\\", "C:\\WINDOWS", "%windows%"}) {
        typed.ctx.installFolder = folder;
        if (typed.ctx.installFolder[0] == '%')
            ExpandPathMacros(typed.ctx.installFolder, "", typed.p);
        EXPECT_EQ(TextFolderRefused, CheckInstallTarget(typed.setup)) << folder;
    }
}

TEST(InstallTarget, FolderAtTheBufferLimit) {
    Target t("[Setup]\nName=Q\n[Registry]\nName=Q\n");
    const std::string base = "C:\\Tools\\";
    t.ctx.installFolder = base + std::string(259 - base.size(), 'q');
    EXPECT_EQ(0u, CheckInstallTarget(t.setup));
    t.ctx.installFolder += "q";
    EXPECT_EQ(TextFolderRefused, CheckInstallTarget(t.setup));
}

TEST(ShortcutFolder, ProgramsMenuAndMenuName) {
    std::string folder;
    EXPECT_TRUE(ShortcutFolder(Target("").setup, folder));
    EXPECT_EQ(kCommonPrograms, folder);
    EXPECT_TRUE(ShortcutFolder(Target("[Menu]\nName=Quillbox\\Tools\n").setup, folder));
    EXPECT_EQ(std::string(kCommonPrograms) + "\\Quillbox\\Tools", folder);
    // A name that reaches outside a folder of the product's own is refused.
    for (const char *name : {"..", "..\\..\\WINDOWS", "Q\\.", "\\", "\\\\"}) {
        Target t(std::string("[Menu]\nName=") + name + "\n");
        EXPECT_FALSE(ShortcutFolder(t.setup, folder)) << name;
    }
    Target personal("[Menu]\nName=Q\n");
    personal.p.SetRegistry(RootKey::LocalMachine, kShell, "Common Programs", "");
    EXPECT_TRUE(ShortcutFolder(personal.setup, folder));
    EXPECT_EQ("C:\\Documents and Settings\\user\\Start Menu\\Programs\\Q", folder);
    personal.p.SetRegistry(RootKey::CurrentUser, kShell, "Programs", "");
    EXPECT_FALSE(ShortcutFolder(personal.setup, folder));
}

TEST(ShortcutFolder, LinkExtension) {
    const CodePage cp = CodePage::ShiftJis();
    EXPECT_EQ("C:\\M\\App.lnk", WithLinkExtension(cp, "C:\\M\\App"));
    EXPECT_EQ("C:\\M\\App.LNK", WithLinkExtension(cp, "C:\\M\\App.LNK"));
    EXPECT_EQ(".lnk", WithLinkExtension(cp, ""));
    // ".lnk" that begins inside a double-byte character is not the extension.
    EXPECT_EQ("\x83.lnk.lnk", WithLinkExtension(cp, "\x83.lnk"));
}

TEST(UninstallEntry, KeyBelowTheUninstallKey) {
    const CodePage cp = CodePage::ShiftJis();
    EXPECT_EQ("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillbox",
              UninstallKey(cp, "Quillbox"));
    EXPECT_FALSE(IsUsableRegistryName(cp, ""));
    EXPECT_FALSE(IsUsableRegistryName(cp, "\\\\"));
    EXPECT_TRUE(IsUsableRegistryName(cp, "Quillbox"));
}

const char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Q";

TEST(RemovalTarget, RefusedWithoutAFolderOfItsOwn) {
    Target t("[Setup]\nName=Q\n[Registry]\nName=Q\n");
    // No entry, or an entry without "InstallLocation": bare names would
    // resolve below the "ProgramFilesDir" folder.
    EXPECT_EQ(TextFatalError, CheckRemovalTarget(t.setup));
    t.p.SetRegistry(RootKey::LocalMachine, kEntry, "UninstallString", "\"C:\\Q\\setup.exe\" -u");
    EXPECT_EQ(TextFatalError, CheckRemovalTarget(t.setup));
    for (const char *folder : {"C:\\", "C:\\WINDOWS", "C:\\Program Files", "Q", "C:\\Q\\.."}) {
        t.p.SetRegistry(RootKey::LocalMachine, kEntry, "InstallLocation", folder);
        EXPECT_EQ(TextFatalError, CheckRemovalTarget(t.setup)) << folder;
    }
    t.p.SetRegistry(RootKey::LocalMachine, kEntry, "InstallLocation", "C:\\Program Files\\Q");
    EXPECT_EQ(0u, CheckRemovalTarget(t.setup));
    // An empty [Registry] Name names the Uninstall key itself.
    Target unnamed("[Setup]\nName=Q\n");
    unnamed.p.SetRegistry(RootKey::LocalMachine, kUninstallKeyPath, "InstallLocation",
                          "C:\\Program Files\\Q");
    EXPECT_EQ(TextFatalError, CheckRemovalTarget(unnamed.setup));
}

TEST(UninstallEntry, OldVersionFolder) {
    Target t("[Registry]\nName=Q\n");
    EXPECT_EQ("", OldVersionFolder(t.setup));
    // Without "InstallLocation", the folder of the registered command, quoted or not.
    t.p.SetRegistry(RootKey::LocalMachine, kEntry, "UninstallString",
                    "\"C:\\Program Files\\\x83\x5c\\setup.exe\" -u");
    EXPECT_EQ("C:\\Program Files\\\x83\x5c", OldVersionFolder(t.setup));
    t.p.SetRegistry(RootKey::LocalMachine, kEntry, "UninstallString", "C:\\Old\\setup.exe -u");
    EXPECT_EQ("C:\\Old", OldVersionFolder(t.setup));
    t.p.SetRegistry(RootKey::LocalMachine, kEntry, "InstallLocation", "C:\\Program Files\\Q");
    EXPECT_EQ("C:\\Program Files\\Q", OldVersionFolder(t.setup));
}

} // namespace
} // namespace setup
