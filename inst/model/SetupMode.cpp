#include "SetupMode.h"

namespace setup {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

std::string ArgumentsOf(const std::string &commandLine) {
    // The quote and the blanks are ASCII, never part of a double-byte character.
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t close = commandLine.find('"', 1);
        i = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && !IsBlank(commandLine[i]))
            ++i;
    }
    while (i < commandLine.size() && IsBlank(commandLine[i]))
        ++i;
    return commandLine.substr(i);
}

SetupMode ModeFromCommandLine(const std::string &commandLine) {
    const std::string arguments = ArgumentsOf(commandLine);
    if (arguments.size() >= 2 && arguments[0] == '-') {
        if (arguments[1] == 'u' || arguments[1] == 'U')
            return SetupMode::RemovalFirstStage;
        if (arguments[1] == 'f' || arguments[1] == 'F')
            return SetupMode::RemovalSecondStage;
    }
    return SetupMode::Install;
}

} // namespace setup
