// The product's entry among the system's uninstall entries.
#pragma once

#include <string>

namespace setup {

class CodePage;
class Setup;

// The entry's key below HKEY_LOCAL_MACHINE: the Uninstall key joined with
// [Registry] Name.
std::string UninstallKey(const CodePage &cp, const std::string &registryName);

// Whether [Registry] Name names a key of its own below the Uninstall key; an
// empty name (or separators only) would make the Uninstall key itself the
// product's entry, which the removal would delete with every other program's.
bool IsUsableRegistryName(const CodePage &cp, const std::string &registryName);

// The command that removes the product: the installed "setup.exe" quoted,
// so that a folder with blanks cannot start another program, then " -u".
std::string UninstallCommand(const CodePage &cp, const std::string &installFolder);

// The install folder that the product's entry registers as
// "InstallLocation"; "" when [Registry] Name is unusable or the entry or
// the value is missing.
std::string RegisteredInstallLocation(const Setup &setup);

// The folder of an earlier install, as the folder page shows it: the
// registered "InstallLocation", or else the registered "UninstallString"
// cut at its last separator, without a leading double quote; "" when the
// entry holds neither.
std::string OldVersionFolder(const Setup &setup);

} // namespace setup
