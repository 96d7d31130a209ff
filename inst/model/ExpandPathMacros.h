// Path values of the script: one macro at the start of the value is replaced
// by the folder it names, and a bare name is placed below a root folder.
#pragma once

#include <string>

namespace setup {

class SetupPlatform;

// Rewrites value in place. A network path ("\\...", longer than two
// characters) is left as it is and gives false; everything else gives true.
// The macros, tested in this order at the start of the value without regard
// to case: %programs%, %windows%, %system%, %desktop%, %windrive% (the drive
// letter alone), %programmenu%, %personalprogrammenu%, %root%. A value that
// then holds no separator is a bare name and becomes root joined with it, or
// the "ProgramFilesDir" folder joined with it when root is empty.
bool ExpandPathMacros(std::string &value, const std::string &root, const SetupPlatform &platform);

// ExpandPathMacros, then whether the result fits a path buffer: the form
// every step uses, so that no action ever runs on a value that does not fit.
bool ExpandPathValue(std::string &value, const std::string &root, const SetupPlatform &platform);

} // namespace setup
