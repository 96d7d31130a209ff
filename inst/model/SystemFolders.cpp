#include "SystemFolders.h"

#include "SetupPlatform.h"

namespace setup {

namespace {
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
} // namespace

std::string CurrentVersionFolder(const SetupPlatform &platform, const char *valueName) {
    return platform.RegistryString(RootKey::LocalMachine, kCurrentVersion, valueName);
}

std::string ProgramFilesFolder(const SetupPlatform &platform) {
    return CurrentVersionFolder(platform, "ProgramFilesDir");
}

std::string ProgramsMenuFolder(const SetupPlatform &platform) {
    std::string common = platform.RegistryString(RootKey::LocalMachine, kShellFolders,
                                                 "Common Programs");
    return common.empty() ? PersonalProgramsMenuFolder(platform) : common;
}

std::string PersonalProgramsMenuFolder(const SetupPlatform &platform) {
    return platform.RegistryString(RootKey::CurrentUser, kShellFolders, "Programs");
}

std::string DesktopFolder(const SetupPlatform &platform) {
    return platform.RegistryString(RootKey::CurrentUser, kShellFolders, "Desktop");
}

} // namespace setup
