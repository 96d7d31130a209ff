// Where the product's shortcuts live, shared by the install and the removal.
#pragma once

#include <string>

namespace setup {

class CodePage;
class Setup;

// The programs menu, joined with [Menu] Name when that is set. False when
// there is no programs menu, when the result does not fit a path buffer, or
// when [Menu] Name would reach outside a folder of the product's own (a "."
// or ".." component, or a protected folder): the removal deletes that
// folder's whole tree.
bool ShortcutFolder(const Setup &setup, std::string &folder);

// A shortcut's file: ".lnk" appended unless the name already ends with it
// (any case).
std::string WithLinkExtension(const CodePage &cp, const std::string &path);

} // namespace setup
