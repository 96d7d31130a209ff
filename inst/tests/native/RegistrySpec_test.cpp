// Registry specifications and the keys the installer never deletes.
#include <gtest/gtest.h>

#include "PathText.h"
#include "RegistrySpec.h"

namespace setup {
namespace {

const CodePage sjis = CodePage::ShiftJis();

void ExpectSpec(const std::string &text, RootKey root, const std::string &key,
                const std::string &name, const std::string &data) {
    const RegistrySpec parsed = ParseRegistrySpec(sjis, text);
    EXPECT_EQ(root, parsed.root) << text;
    EXPECT_EQ(key, parsed.keyPath) << text;
    EXPECT_EQ(name, parsed.name) << text;
    EXPECT_EQ(data, parsed.data) << text;
}

TEST(ParseRegistrySpec, FourParts) {
    ExpectSpec("HKEY_LOCAL_MACHINE\\Software\\A\\\\Path\\%root%\\bin", RootKey::LocalMachine,
               "Software\\A", "Path", "%root%\\bin");
    ExpectSpec("hkey_current_user\\Software\\A", RootKey::CurrentUser, "Software\\A", "", "");
    ExpectSpec("HKEY_CURRENT_USER\\Software\\A\\\\Name", RootKey::CurrentUser, "Software\\A",
               "Name", "");
    ExpectSpec("HKEY_CLASSES_ROOT\\.qbx\\\\\\Quillbox.File", RootKey::ClassesRoot, ".qbx", "",
               "Quillbox.File");
}

TEST(ParseRegistrySpec, AnythingElseIsClassesRoot) {
    ExpectSpec("HKCU\\Software\\A", RootKey::ClassesRoot, "Software\\A", "", "");
    ExpectSpec("HKEY_USERS\\x", RootKey::ClassesRoot, "x", "", "");
    // Without a separator even a root's full name selects HKEY_CLASSES_ROOT,
    // with an empty key path.
    ExpectSpec("HKEY_CURRENT_USER", RootKey::ClassesRoot, "", "", "");
    ExpectSpec("", RootKey::ClassesRoot, "", "", "");
}

TEST(ParseRegistrySpec, TrailBytesAreNoSeparators) {
    // "表" ends in 0x5C: the key path is Software\表, not Software\ + a lead byte.
    const std::string hyo = "\x95\x5C";
    ExpectSpec("HKEY_CURRENT_USER\\Software\\" + hyo + "\\\\Name\\" + hyo + "\\d",
               RootKey::CurrentUser, "Software\\" + hyo, "Name", hyo + "\\d");
    const RegistrySpec bytewise =
        ParseRegistrySpec(CodePage::SingleByte(), "HKEY_CURRENT_USER\\Software\\" + hyo + "\\\\N");
    EXPECT_EQ("Software\\\x95", bytewise.keyPath);
}

TEST(IsProtectedRegistryKey, RootsAndTopLevelKeys) {
    EXPECT_TRUE(IsProtectedRegistryKey(sjis, RootKey::ClassesRoot, ""));
    EXPECT_TRUE(IsProtectedRegistryKey(sjis, RootKey::CurrentUser, "\\"));
    EXPECT_TRUE(IsProtectedRegistryKey(sjis, RootKey::CurrentUser, "Software"));
    EXPECT_TRUE(IsProtectedRegistryKey(sjis, RootKey::LocalMachine, "\\SOFTWARE\\"));
    EXPECT_FALSE(IsProtectedRegistryKey(sjis, RootKey::CurrentUser, "Software\\Quillbox"));
    // A product may own a top-level key of HKEY_CLASSES_ROOT: its file type.
    EXPECT_FALSE(IsProtectedRegistryKey(sjis, RootKey::ClassesRoot, ".qbx"));
}

TEST(IsProtectedRegistryKey, EveryProgramsUninstallEntries) {
    const std::string uninstall = kUninstallKeyPath;
    EXPECT_TRUE(IsProtectedRegistryKey(sjis, RootKey::LocalMachine, uninstall));
    EXPECT_TRUE(IsProtectedRegistryKey(sjis, RootKey::LocalMachine, uninstall + "\\"));
    EXPECT_TRUE(IsProtectedRegistryKey(sjis, RootKey::LocalMachine, "software\\microsoft\\windows"));
    EXPECT_FALSE(IsProtectedRegistryKey(sjis, RootKey::LocalMachine, uninstall + "\\Quillbox"));
    EXPECT_FALSE(IsProtectedRegistryKey(sjis, RootKey::CurrentUser, uninstall));
}

} // namespace
} // namespace setup
