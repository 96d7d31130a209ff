#include "Folders.h"

#include <windows.h>

#include "Handles.h"
#include "PathText.h"

namespace setup {

bool IsExistingFile(const std::string &path) {
    if (!FitsPathBuffer(path))
        return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::string &path) {
    if (!FitsPathBuffer(path))
        return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolderPath(const CodePage &cp, const std::string &path) {
    if (!IsAbsolutePath(path) || !FitsPathBuffer(path))
        return false;
    // Each pass starts from the full path and walks up to the nearest missing
    // parent, which it creates; the depth counts the levels still to make.
    // Every pass makes one folder or ends, so a bound on the passes only
    // guards against a file system that answers inconsistently.
    int depth = 1;
    std::string attempt = path;
    for (size_t step = 0; step < 4 * kPathBufferSize; ++step) {
        if (::CreateDirectoryA(attempt.c_str(), nullptr)) {
            if (--depth <= 0)
                return true;
            attempt = path;
            continue;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_PATH_NOT_FOUND && error != ERROR_ALREADY_EXISTS)
            return false;
        if (error == ERROR_ALREADY_EXISTS && attempt == path)
            return true;
        const std::string shorter = FolderPart(cp, attempt);
        if (shorter.size() < 3 || shorter == attempt)
            return false;
        ++depth;
        attempt = shorter;
    }
    return false;
}

bool DeleteFolderTree(const CodePage &cp, const std::string &folder) {
    if (!FitsPathBuffer(folder))
        return false;
    const DWORD own = ::GetFileAttributesA(folder.c_str());
    if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT))
        return ::RemoveDirectoryA(folder.c_str()) != 0;
    const std::string pattern = JoinPath(cp, folder, "*.*");
    if (!FitsPathBuffer(pattern))
        return false;
    bool all = true;
    WIN32_FIND_DATAA entry;
    {
        FindHandle find(NullIfInvalid(::FindFirstFileA(pattern.c_str(), &entry)));
        if (find.get()) {
            do {
                const std::string name = entry.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string path = JoinPath(cp, folder, name);
                if (!FitsPathBuffer(path)) {
                    all = false;
                    continue;
                }
                const bool removed = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                                         ? DeleteFolderTree(cp, path)
                                         : ::DeleteFileA(path.c_str()) != 0;
                all = all && removed;
            } while (::FindNextFileA(find.get(), &entry));
        }
    }
    const bool self = ::RemoveDirectoryA(folder.c_str()) != 0;
    return all && self;
}

} // namespace setup
