// The files that Quillbox-Setup.exe carries: resources of the program, each
// an RCDATA item whose file name is the string of the same id, from
// kFirstPackageFile on, up to the first id without a name.
#pragma once

#include <string>

namespace setup {

constexpr unsigned kFirstPackageFile = 1000;

// Writes every carried file into folder, which must be new and empty. False
// when a file could not be written in full (or a name is not a plain file
// name); what was written stays for the caller to remove.
bool UnpackPackageFiles(const std::string &folder);

} // namespace setup
