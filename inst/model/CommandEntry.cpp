#include "CommandEntry.h"

#include "PathText.h"

namespace setup {

CommandEntry SplitCommandEntry(const CodePage &cp, const std::string &entry) {
    CommandEntry parts;
    const size_t first = FindChar(cp, entry, ';');
    parts.subject = entry.substr(0, first);
    if (first == std::string::npos)
        return parts;
    const size_t second = FindChar(cp, entry, ';', first + 1);
    if (second == std::string::npos) {
        parts.action = entry.substr(first + 1);
        return parts;
    }
    parts.action = entry.substr(first + 1, second - first - 1);
    parts.argument = entry.substr(second + 1);
    return parts;
}

} // namespace setup
