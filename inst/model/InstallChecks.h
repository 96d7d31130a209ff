// The checks of the running system that come before anything else in an
// install run, in the parts that need no Windows calls.
#pragma once

#include <string>

namespace setup {

class Setup;
class SetupPlatform;

// The [OS] key of a version: the number (major*100+minor), "NT" in the NT
// family (platform id 2), "Server" for 502.
std::string VersionKey(int version, unsigned family);

// Whether the script accepts a version of a family (platform id 1 or 2):
// within [OS] Win9x_Min..Win9x_Max or WinNT_Min..WinNT_Max, bounds included,
// and its version key not set. When list is given and the version is
// accepted, the version's name is appended to it (after ", " unless it is
// empty).
bool CheckWindowsVersion(const Setup &setup, int version, unsigned family, std::string *list);

// The names of the versions the script accepts, in the fixed order of the
// eight versions the installer knows.
std::string SupportedVersionsList(const Setup &setup);

// Whether the registered browser version, read as the decimal number its
// text begins with, is 4.71 or later.
bool IsBrowserVersionSufficient(const std::string &version);

// Whether path lies in folder or below it, both in the system's canonical
// spelling (a short and a long name of the same folder are equal), without
// regard to ASCII case.
bool IsInFolder(const SetupPlatform &platform, const std::string &folder, const std::string &path);

} // namespace setup
