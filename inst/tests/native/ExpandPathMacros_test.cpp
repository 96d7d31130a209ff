// Path values: one macro at the start, bare names below the root, network
// paths untouched, and values that no longer fit refused.
#include <gtest/gtest.h>

#include "ExpandPathMacros.h"
#include "FakePlatform.h"
#include "PathText.h"

namespace setup {
namespace {

using test::FakePlatform;

const char kShell[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Expand(const FakePlatform &p, std::string value, const std::string &root = "C:\\App") {
    EXPECT_TRUE(ExpandPathMacros(value, root, p)) << value;
    return value;
}

TEST(ExpandPathMacros, EachMacroAtTheStart) {
    FakePlatform p;
    EXPECT_EQ("C:\\Program Files\\Tools", Expand(p, "%programs%\\Tools"));
    EXPECT_EQ("C:\\WINDOWS\\Fonts", Expand(p, "%WINDOWS%\\Fonts"));
    EXPECT_EQ("C:\\WINDOWS\\system32\\x.dll", Expand(p, "%system%\\x.dll"));
    EXPECT_EQ("C:\\Documents and Settings\\user\\Desktop\\a.lnk", Expand(p, "%Desktop%\\a.lnk"));
    EXPECT_EQ("C:\\Data", Expand(p, "%windrive%:\\Data"));
    EXPECT_EQ("C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Q",
              Expand(p, "%programmenu%\\Q"));
    EXPECT_EQ("C:\\Documents and Settings\\user\\Start Menu\\Programs\\Q",
              Expand(p, "%personalprogrammenu%\\Q"));
    EXPECT_EQ("C:\\App\\bin", Expand(p, "%root%\\bin"));
}

TEST(ExpandPathMacros, OnlyTheStartOfTheValueIsExpanded) {
    FakePlatform p;
    EXPECT_EQ("Data\\%system%", Expand(p, "Data\\%system%"));
    EXPECT_EQ("C:\\WINDOWS%system%\\x", Expand(p, "%windows%%system%\\x"));
    // A bare name whose macro is not at the start goes below the root as written.
    EXPECT_EQ("C:\\App\\x%root%", Expand(p, "x%root%"));
}

TEST(ExpandPathMacros, BareNamesGoBelowTheRoot) {
    FakePlatform p;
    EXPECT_EQ("C:\\App\\readme.txt", Expand(p, "readme.txt"));
    EXPECT_EQ("C:\\App\\", Expand(p, ""));
    EXPECT_EQ("C:\\App", Expand(p, "%root%"));
    EXPECT_EQ("C:\\Program Files\\Quillbox", Expand(p, "Quillbox", ""));
    EXPECT_EQ("C:\\Program Files\\", Expand(p, "", ""));
    EXPECT_EQ("C:\\App\\", Expand(p, "", "C:\\App\\"));
    // A name made of double-byte characters ending in 0x5C holds no separator.
    const std::string so = "\x83\x5C";
    EXPECT_EQ("C:\\App\\" + so, Expand(p, so));
    p.shiftJis = false;
    EXPECT_EQ(so, Expand(p, so));
}

TEST(ExpandPathMacros, NetworkPathsAreLeftAlone) {
    FakePlatform p;
    std::string value = "\\\\server\\share\\x";
    EXPECT_FALSE(ExpandPathMacros(value, "C:\\App", p));
    EXPECT_EQ("\\\\server\\share\\x", value);
    value = "\\\\";
    EXPECT_TRUE(ExpandPathMacros(value, "C:\\App", p));
    EXPECT_EQ("\\\\", value);
}

TEST(ExpandPathMacros, MissingFoldersExpandToNothing) {
    FakePlatform p;
    p.registry.clear();
    EXPECT_EQ("\\x", Expand(p, "%desktop%\\x"));
    EXPECT_EQ("\\Quillbox", Expand(p, "Quillbox", ""));
    // Without the shared programs menu, %programmenu% is the user's own.
    FakePlatform q;
    q.SetRegistry(RootKey::LocalMachine, kShell, "Common Programs", "");
    EXPECT_EQ("C:\\Documents and Settings\\user\\Start Menu\\Programs\\Q",
              Expand(q, "%programmenu%\\Q"));
}

TEST(ExpandPathMacros, ValuesThatDoNotFitAreRefused) {
    FakePlatform p;
    const std::string root = "C:\\App";
    // root + "\" + name: 259 bytes fit the 260-byte buffer, 260 do not.
    std::string fits(259 - root.size() - 1, 'a');
    std::string value = fits;
    EXPECT_TRUE(ExpandPathValue(value, root, p));
    EXPECT_EQ(259u, value.size());
    value = fits + "a";
    EXPECT_FALSE(ExpandPathValue(value, root, p));
    EXPECT_EQ(260u, value.size()) << "never cut";
    // The same limit after a macro.
    value = "%windows%\\" + std::string(259 - 11, 'b');
    EXPECT_TRUE(ExpandPathValue(value, root, p));
    value += "b";
    EXPECT_FALSE(ExpandPathValue(value, root, p));
}

} // namespace
} // namespace setup
