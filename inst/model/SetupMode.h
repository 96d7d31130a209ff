// What a run of the installer does, by its command line.
#pragma once

#include <string>

namespace setup {

enum class SetupMode {
    Install,
    RemovalFirstStage,  // "-u", the form the uninstall entry registers
    RemovalSecondStage, // "-f", started by the first stage from a temporary copy
};

// The text after the program name, whether the name is quoted or not, and
// without the blanks that separate it.
std::string ArgumentsOf(const std::string &commandLine);

// The mode by the first two characters of the arguments, without regard to
// case ("-uninstall" is "-u"); anything else installs.
SetupMode ModeFromCommandLine(const std::string &commandLine);

} // namespace setup
