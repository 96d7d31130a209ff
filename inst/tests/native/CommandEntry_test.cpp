#include <gtest/gtest.h>

#include "CommandEntry.h"
#include "PathText.h"

namespace setup {
namespace {

void ExpectEntry(const std::string &text, const std::string &subject, const std::string &action,
                 const std::string &argument) {
    const CommandEntry entry = SplitCommandEntry(CodePage::ShiftJis(), text);
    EXPECT_EQ(subject, entry.subject) << text;
    EXPECT_EQ(action, entry.action) << text;
    EXPECT_EQ(argument, entry.argument) << text;
}

TEST(SplitCommandEntry, UpToThreeFields) {
    ExpectEntry("DELFILE;;C:\\x;y.txt", "DELFILE", "", "C:\\x;y.txt");
    ExpectEntry("%root%\\x.dll;DllRegisterServer;hide", "%root%\\x.dll", "DllRegisterServer", "hide");
    ExpectEntry("%root%\\x.dll;Init", "%root%\\x.dll", "Init", "");
    ExpectEntry("%root%\\readme.txt", "%root%\\readme.txt", "", "");
    ExpectEntry(";;", "", "", "");
}

} // namespace
} // namespace setup
