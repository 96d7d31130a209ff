// The mode from the command line, quoted program names included, and the
// uninstall command that the install registers.
#include <gtest/gtest.h>

#include "PathText.h"
#include "SetupMode.h"
#include "UninstallEntry.h"

namespace setup {
namespace {

TEST(SetupMode, FirstTwoCharactersAfterTheProgramName) {
    EXPECT_EQ(SetupMode::Install, ModeFromCommandLine("setup.exe"));
    EXPECT_EQ(SetupMode::Install, ModeFromCommandLine("setup.exe   "));
    EXPECT_EQ(SetupMode::RemovalFirstStage, ModeFromCommandLine("setup.exe -u"));
    EXPECT_EQ(SetupMode::RemovalFirstStage, ModeFromCommandLine("setup.exe  -U"));
    EXPECT_EQ(SetupMode::RemovalFirstStage, ModeFromCommandLine("setup.exe -uninstall"));
    EXPECT_EQ(SetupMode::RemovalSecondStage, ModeFromCommandLine("C:\\TEMP\\ins1.tmp.exe -f"));
    EXPECT_EQ(SetupMode::Install, ModeFromCommandLine("setup.exe -x"));
    EXPECT_EQ(SetupMode::Install, ModeFromCommandLine("setup.exe u"));
    EXPECT_EQ(SetupMode::Install, ModeFromCommandLine("setup.exe -"));
    EXPECT_EQ(SetupMode::RemovalFirstStage,
              ModeFromCommandLine("\"C:\\Program Files\\Quillbox\\setup.exe\" -u"));
    EXPECT_EQ(SetupMode::RemovalFirstStage, ModeFromCommandLine("\"C:\\a b\\setup.exe\"-u"));
    // The program name alone in quotes: no arguments.
    EXPECT_EQ(SetupMode::Install, ModeFromCommandLine("\"C:\\a -u\\setup.exe\""));
    EXPECT_EQ("-u x", ArgumentsOf("\"C:\\a b\\setup.exe\" -u x"));
    EXPECT_EQ("", ArgumentsOf("\"unterminated -u"));
}

TEST(SetupMode, TheUninstallCommandIsQuoted) {
    const CodePage cp = CodePage::ShiftJis();
    const std::string command = UninstallCommand(cp, "C:\\Program Files\\Quillbox");
    EXPECT_EQ("\"C:\\Program Files\\Quillbox\\setup.exe\" -u", command);
    EXPECT_EQ(SetupMode::RemovalFirstStage, ModeFromCommandLine(command));
    // Unquoted, the blank would end the program name at "C:\Program".
    EXPECT_EQ(SetupMode::Install, ModeFromCommandLine("C:\\Program Files\\Quillbox\\setup.exe -u"));
    EXPECT_EQ("\"D:\\Q\\setup.exe\" -u", UninstallCommand(cp, "D:\\Q\\"));
}

} // namespace
} // namespace setup
