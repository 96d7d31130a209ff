// Real files and folders for the tests, in a fresh folder under the Wine
// prefix's temporary folder that is removed again when the test ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A unique folder under GetTempPathA, removed with everything in it on
// destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // The folder's path, without a trailing backslash.
    const std::string &Path() const { return path_; }
    // Path() + "\" + name.
    std::string operator/(const std::string &name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// An open handle to a file that denies every other opener (share mode 0)
// until it is destroyed.
class FileLock {
public:
    explicit FileLock(const std::string &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// Writes bytes to a file, replacing it; true on success.
bool WriteBytes(const std::string &path, const std::string &bytes);
// The whole content of a file; sets *ok to false when it cannot be read.
std::string ReadBytes(const std::string &path, bool *ok = nullptr);
bool IsFile(const std::string &path);
bool IsFolder(const std::string &path);
bool MakeFolder(const std::string &path);
// The names of a folder's entries (not "." and ".."), in the order in which
// the file system returns them: the order in which a folder walk sees them.
std::vector<std::string> FolderEntries(const std::string &folder);
// The same, sorted by name.
std::vector<std::string> SortedEntries(const std::string &folder);
// Removes a file or a folder with everything in it; long paths included.
void RemoveTree(const std::string &path);
// Creates a file through the "\\?\" form of its path, for paths that are too
// long for the plain ANSI calls.
bool WriteBytesLongPath(const std::string &path, const std::string &bytes);
