// Files and folders on disk: what exists, making a folder with its missing
// parents, and removing a folder with everything in it.
#pragma once

#include <string>

namespace setup {

class CodePage;

bool IsExistingFile(const std::string &path);   // a file, not a folder
bool IsExistingFolder(const std::string &path);

// Makes an absolute folder ("X:\..." or "\\...") and its missing parents,
// nearest missing parent first. True when the folder exists afterwards.
bool CreateFolderPath(const CodePage &cp, const std::string &path);

// Removes every file and subfolder of folder, then folder itself. True only
// when every removal succeeded. A linked folder (a junction or symbolic
// link) is removed as a link: what it points to is not its content.
bool DeleteFolderTree(const CodePage &cp, const std::string &folder);

} // namespace setup
