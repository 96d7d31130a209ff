// The system folders that the script's macros and the installer's own rules
// name, read where the system registers them.
#pragma once

#include <string>

namespace setup {

class SetupPlatform;

// A folder registered under HKEY_LOCAL_MACHINE's CurrentVersion key.
std::string CurrentVersionFolder(const SetupPlatform &platform, const char *valueName);
// "ProgramFilesDir" there.
std::string ProgramFilesFolder(const SetupPlatform &platform);
// The programs menu shared by all users ("Common Programs" under
// HKEY_LOCAL_MACHINE), or the user's own ("Programs" under HKEY_CURRENT_USER)
// when that is empty: where the shortcuts go.
std::string ProgramsMenuFolder(const SetupPlatform &platform);
// The user's own programs menu.
std::string PersonalProgramsMenuFolder(const SetupPlatform &platform);
// The user's desktop.
std::string DesktopFolder(const SetupPlatform &platform);

} // namespace setup
