// The folders the installer never destroys because they are not its own: a
// drive root or the root of a network share, the Windows folder, the system
// folder, the "ProgramFilesDir" folder (in both views of a 64-bit system),
// the programs-menu folders, the
// desktop folder and the temporary folder. Paths are compared without
// regard to ASCII case, in the system's canonical spelling, a trailing
// separator ignored.
#pragma once

#include <string>
#include <vector>

namespace setup {

class SetupPlatform;

class ProtectedFolders {
public:
    // Reads where the system keeps each folder, once.
    explicit ProtectedFolders(const SetupPlatform &platform);

    // Whether path is a protected folder, contains one, or is no absolute
    // path of a folder at all (a relative path could name anything).
    bool Covers(const std::string &path) const;

private:
    std::string Normal(const std::string &path) const;

    const SetupPlatform &platform_;
    std::vector<std::string> folders_;
};

} // namespace setup
