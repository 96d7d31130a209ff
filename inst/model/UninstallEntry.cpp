#include "UninstallEntry.h"

#include "PathText.h"
#include "RegistrySpec.h"
#include "Setup.h"

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

namespace {

std::string EntryValue(const Setup &setup, const char *name) {
    const std::string registryName = setup.script().Value("Registry", "Name");
    if (!IsUsableRegistryName(setup.cp, registryName))
        return std::string();
    return setup.platform.RegistryString(RootKey::LocalMachine,
                                         UninstallKey(setup.cp, registryName), name);
}

} // namespace

std::string RegisteredInstallLocation(const Setup &setup) {
    return EntryValue(setup, "InstallLocation");
}

std::string OldVersionFolder(const Setup &setup) {
    std::string folder = RegisteredInstallLocation(setup);
    if (folder.empty()) {
        const std::string command = EntryValue(setup, "UninstallString");
        if (!command.empty())
            folder = FolderPart(setup.cp, command);
    }
    if (!folder.empty() && folder[0] == '"')
        folder.erase(0, 1);
    return folder;
}

} // namespace setup
