// The only door between the mail logic and the operating system. Small and
// policy-free: path rules, names and result codes live in core/, so that the
// same logic runs (and is tested) over the Win32 calls and over POSIX.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace corvex {

// How paths look on the platform a host serves.
enum class PathStyle {
    Windows, // drive paths "X:\..." and network paths "\\server\share\...", separator '\'
    Posix    // absolute paths begin with '/', separator '/'
};

// What one directory entry is.
enum class EntryKind { Missing, File, Folder, Error };

struct EntryInfo {
    EntryKind kind = EntryKind::Missing;
    uint64_t size = 0; // bytes, for files
};

// One entry of a folder enumeration.
struct FolderEntry {
    char name[260];
    bool folder;
    bool link; // a symbolic link or junction (a reparse point on Windows)
    uint64_t size;
};

class FolderEnumeration {
public:
    virtual ~FolderEnumeration() = default;
    // Fills the next entry, in the file system's own order; false at the end.
    virtual bool Next(FolderEntry &entry) = 0;
};

class InputFile {
public:
    virtual ~InputFile() = default;
    // Positioned read of up to count bytes; returns the number read (0 at the
    // end of the file), or -1 when positioning or reading fails.
    virtual int64_t ReadAt(uint64_t offset, void *buffer, size_t count) = 0;
    // The file's size in bytes when it was opened.
    virtual uint64_t Size() const = 0;
};

class OutputFile {
public:
    virtual ~OutputFile() = default;
    // Writes all count bytes; false when the write fails.
    virtual bool Write(const void *data, size_t count) = 0;
    // Sets the file's last-write time (where the platform keeps one, its
    // creation time too) to utcSeconds since 1970-01-01 00:00:00 UTC, through
    // the open file, once everything is written; false when it stays as it is.
    virtual bool SetTime(int64_t utcSeconds) = 0;
};

class Host {
public:
    virtual ~Host() = default;

    virtual PathStyle Style() const = 0;
    // True when b is the first byte of a double-byte character in the
    // system's ANSI code page.
    virtual bool IsLeadByte(unsigned char b) const = 0;

    // Opens an existing file for reading with no sharing; null on failure.
    virtual std::unique_ptr<InputFile> OpenInput(const char *path) = 0;
    // Looks up the one entry that a path names (wildcards as the platform's
    // find functions take them); a path ending in a separator names none.
    virtual EntryInfo FindEntry(const char *path) = 0;
    // The attributes of a path: Missing when nothing of that name exists,
    // Error when the question itself fails.
    virtual EntryInfo Attributes(const char *path) = 0;
    // Starts enumerating the entries that match a pattern ("folder\*.*");
    // null when the enumeration cannot start.
    virtual std::unique_ptr<FolderEnumeration> EnumerateFolder(const char *pattern) = 0;
    // True when the two paths name the same existing folder.
    virtual bool SameFolder(const char *a, const char *b) = 0;
    // Creates one folder with default security.
    virtual bool CreateFolder(const char *path) = 0;
    // Creates (or replaces) a file for writing with no sharing; null on failure.
    virtual std::unique_ptr<OutputFile> CreateOutput(const char *path) = 0;
    // Creates a file for writing with no sharing only when nothing of that
    // name exists; on failure, exists tells whether that was the reason.
    virtual std::unique_ptr<OutputFile> CreateNewOutput(const char *path, bool &exists) = 0;
    // Deletes a file (one that is no longer open); false when it stays.
    virtual bool RemoveFile(const char *path) = 0;

    // Takes at most one pending window message of the calling thread,
    // translates and dispatches it; never waits.
    virtual bool PumpOneMessage() = 0;
    // Whether the calling thread has window messages to keep moving at all;
    // without, the pump points cost nothing (not even a look at the clock).
    virtual bool HasMessageQueue() const { return true; }
    // The threshold setting's raw bytes, at most size-1 of them, NUL-terminated;
    // empty when the setting is missing or does not fit.
    virtual void ReadThresholdSetting(char *buffer, size_t size) = 0;
    // A millisecond clock for rate limits (wraps around).
    virtual uint32_t TickMs() = 0;
};

// The host of the platform the library was built for.
Host &PlatformHost();

} // namespace corvex
