// The commands of [Go2]: checks, deletions, registration through
// regsvr32, calls into a library, and opening through the shell.
#pragma once

#include <string>

namespace setup {

class Setup;

// Runs one command entry (subject;action;argument) by the first rule that
// applies. 1 when the command ran (or the rule always gives 1), 0 when it
// could not be started or called; callers ignore it. Failures show text 123
// unless the argument is "hide".
int RunScriptCommand(Setup &setup, const std::string &entry);

} // namespace setup
