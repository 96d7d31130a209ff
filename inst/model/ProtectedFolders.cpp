#include "ProtectedFolders.h"

#include "PathText.h"
#include "SetupPlatform.h"
#include "SystemFolders.h"

namespace setup {

ProtectedFolders::ProtectedFolders(const SetupPlatform &platform) : platform_(platform) {
    const std::string found[] = {
        platform.WindowsFolder(),
        platform.SystemFolder(),
        ProgramFilesFolder(platform),
        // On a 64-bit system the program files folder has two views; a
        // 32-bit installer sees the other one under these names.
        CurrentVersionFolder(platform, "ProgramFilesDir (x86)"),
        CurrentVersionFolder(platform, "ProgramW6432Dir"),
        ProgramsMenuFolder(platform),
        PersonalProgramsMenuFolder(platform),
        DesktopFolder(platform),
        platform.TempFolder(),
    };
    for (const std::string &folder : found) {
        if (IsAbsolutePath(folder))
            folders_.push_back(Normal(folder));
    }
}

std::string ProtectedFolders::Normal(const std::string &path) const {
    const CodePage cp(platform_);
    return StripTrailingSeparators(cp, platform_.CanonicalPath(path));
}

bool ProtectedFolders::Covers(const std::string &path) const {
    const CodePage cp(platform_);
    if (!IsAbsolutePath(path) || HasDotComponent(cp, path))
        return true;
    // Device paths ("\\?\", "\\.\") reach every folder under another spelling.
    if (path.size() >= 4 && path[0] == kSeparator && path[1] == kSeparator &&
        (path[2] == '?' || path[2] == '.') && path[3] == kSeparator)
        return true;
    const std::string normal = Normal(path);
    if (IsRootPath(cp, normal))
        return true;
    const std::string inside = normal + kSeparator;
    for (const std::string &folder : folders_) {
        if (EqualNoCase(cp, folder, normal) || StartsWithNoCase(cp, folder, inside))
            return true;
    }
    return false;
}

} // namespace setup
