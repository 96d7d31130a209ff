#include "InstallTarget.h"

#include "ProtectedFolders.h"
#include "Setup.h"
#include "UninstallEntry.h"

namespace setup {

bool IsAcceptableInstallFolder(const Setup &setup, const std::string &folder) {
    return FitsPathBuffer(folder) && !ProtectedFolders(setup.platform).Covers(folder);
}

unsigned CheckInstallTarget(const Setup &setup) {
    if (!IsUsableRegistryName(setup.cp, setup.script().Value("Registry", "Name")))
        return TextFatalError;
    if (!IsAcceptableInstallFolder(setup, setup.ctx.installFolder))
        return TextFolderRefused;
    return 0;
}

unsigned CheckRemovalTarget(const Setup &setup) {
    if (!IsUsableRegistryName(setup.cp, setup.script().Value("Registry", "Name")))
        return TextFatalError;
    const std::string folder = RegisteredInstallLocation(setup);
    if (folder.empty() || !IsAcceptableInstallFolder(setup, folder))
        return TextFatalError;
    return 0;
}

} // namespace setup
