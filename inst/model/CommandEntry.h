// Command entries of [Go2]: subject;action;argument.
#pragma once

#include <string>

namespace setup {

class CodePage;

struct CommandEntry {
    std::string subject;
    std::string action;
    std::string argument; // may itself hold ";"
};

// Split at the first ";" and what follows at its next ";"; missing fields
// are empty. Nothing is expanded here.
CommandEntry SplitCommandEntry(const CodePage &cp, const std::string &entry);

} // namespace setup
