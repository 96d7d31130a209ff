#include "UninstallEntry.h"

#include "PathText.h"
#include "RegistrySpec.h"

namespace setup {

std::string UninstallKey(const CodePage &cp, const std::string &registryName) {
    return JoinPath(cp, kUninstallKeyPath, registryName);
}

bool IsUsableRegistryName(const CodePage &cp, const std::string &registryName) {
    return !PathComponents(cp, registryName).empty();
}

std::string UninstallCommand(const CodePage &cp, const std::string &installFolder) {
    return "\"" + JoinPath(cp, installFolder, "setup.exe") + "\" -u";
}

} // namespace setup
