// Shortcut files through the shell's link object.
#pragma once

#include <string>

namespace setup {

class CodePage;

// Saves a shortcut at linkPath (".lnk" appended unless it ends with it)
// with the target, arguments, description and icon; makes the shortcut's
// folder when it is missing. True when the link file was saved.
bool CreateShortcut(const CodePage &cp, const std::string &linkPath, const std::string &target,
                    const std::string &arguments, const std::string &description,
                    const std::string &iconFile, int iconIndex);

} // namespace setup
