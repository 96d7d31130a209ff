// What the install refuses before any step changes the machine: a script
// without a product entry of its own, and an install folder that is not a
// folder of its own.
#pragma once

#include <string>

namespace setup {

class Setup;

// Whether folder can receive the product: an absolute path that fits a path
// buffer, with no "." or ".." component, that is not a protected folder and
// contains none. (The folder page refuses a typed folder by the same rule.)
bool IsAcceptableInstallFolder(const Setup &setup, const std::string &folder);

// 0 when the install may go on; otherwise the text to show: TextFatalError
// for an unusable [Registry] Name, TextFolderRefused (with the folder for
// its "%s") for the install folder of the context.
unsigned CheckInstallTarget(const Setup &setup);

// 0 when a removal may run on the product's entry; otherwise TextFatalError:
// [Registry] Name is unusable (the removal would delete the Uninstall key
// itself), the entry registers no install folder (bare names of the script
// would resolve below the "ProgramFilesDir" folder), or it registers one
// that an install would refuse.
unsigned CheckRemovalTarget(const Setup &setup);

} // namespace setup
