// The host layer over Win32, in the ANSI forms of the calls.
#include "host.h"

#include "Cp932.h"
#include "win/Handles.h"

#include <windows.h>

#include <cstring>

namespace corvex {

namespace {

using quillbox::win::FindHandle;
using quillbox::win::KernelHandle;
using quillbox::win::NullIfInvalid;
using quillbox::win::RegistryKey;

class Win32Input : public InputFile {
public:
    Win32Input(HANDLE h, uint64_t size) : file_(h), size_(size) {}
    uint64_t Size() const override { return size_; }
    int64_t ReadAt(uint64_t offset, void *buffer, size_t count) override {
        LONG high = LONG(offset >> 32);
        DWORD low = ::SetFilePointer(file_.get(), LONG(uint32_t(offset)), &high, FILE_BEGIN);
        if (low == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
            return -1;
        size_t done = 0;
        while (done < count) {
            DWORD want = count - done > 0x40000000u ? 0x40000000u : DWORD(count - done), got = 0;
            if (!::ReadFile(file_.get(), static_cast<char *>(buffer) + done, want, &got, nullptr))
                return -1;
            if (got == 0)
                break;
            done += got;
        }
        return int64_t(done);
    }

private:
    KernelHandle file_;
    uint64_t size_;
};

class Win32Output : public OutputFile {
public:
    explicit Win32Output(HANDLE h) : file_(h) {}
    bool Write(const void *data, size_t count) override {
        const char *p = static_cast<const char *>(data);
        while (count) {
            DWORD want = count > 0x40000000u ? 0x40000000u : DWORD(count), written = 0;
            if (!::WriteFile(file_.get(), p, want, &written, nullptr) || written != want)
                return false;
            p += written;
            count -= written;
        }
        return true;
    }
    bool SetTime(int64_t utcSeconds) override {
        // FILETIME counts 100-nanosecond steps from 1601-01-01 UTC.
        const uint64_t ticks = (uint64_t(utcSeconds) + 11644473600ull) * 10000000ull;
        FILETIME time;
        time.dwLowDateTime = DWORD(ticks);
        time.dwHighDateTime = DWORD(ticks >> 32);
        return ::SetFileTime(file_.get(), &time, nullptr, &time) != 0;
    }

private:
    KernelHandle file_;
};

void CopyEntry(const WIN32_FIND_DATAA &data, FolderEntry &entry) {
    std::memcpy(entry.name, data.cFileName, sizeof entry.name);
    entry.name[sizeof entry.name - 1] = 0;
    entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    entry.size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

class Win32Enumeration : public FolderEnumeration {
public:
    Win32Enumeration(HANDLE h, const WIN32_FIND_DATAA &first) : find_(h), pending_(first) {}
    bool Next(FolderEntry &entry) override {
        if (havePending_) {
            havePending_ = false;
            CopyEntry(pending_, entry);
            return true;
        }
        WIN32_FIND_DATAA data;
        if (!::FindNextFileA(find_.get(), &data))
            return false;
        CopyEntry(data, entry);
        return true;
    }

private:
    FindHandle find_;
    WIN32_FIND_DATAA pending_;
    bool havePending_ = true;
};

// The volume and file index of an existing folder.
bool FolderIdentity(const char *path, BY_HANDLE_FILE_INFORMATION &info) {
    const KernelHandle h(NullIfInvalid(
        ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
    return h.get() && ::GetFileInformationByHandle(h.get(), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Cuts the separator at the end of a full path longer than a drive root,
// when it is a character of its own: the byte before it may be the second
// byte of a double-byte character, in the lead-byte range or not.
void CutTrailingSeparator(char *path, DWORD &length) {
    if (length <= 3)
        return;
    const quillbox::LeadBytes lead([](unsigned char b) { return ::IsDBCSLeadByte(b) != FALSE; });
    if (lead.EndsWithSingleByte(std::string_view(path, length), '\\'))
        path[--length] = 0;
}

class Win32Host : public Host {
public:
    PathStyle Style() const override { return PathStyle::Windows; }
    bool IsLeadByte(unsigned char b) const override { return ::IsDBCSLeadByte(b) != FALSE; }

    std::unique_ptr<InputFile> OpenInput(const char *path) override {
        KernelHandle h(NullIfInvalid(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                                   nullptr)));
        if (!h.get())
            return nullptr;
        // GetFileSize rather than GetFileSizeEx: the library still loads on
        // the systems that lack the latter.
        DWORD high = 0;
        const DWORD low = ::GetFileSize(h.get(), &high);
        if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
            return nullptr;
        std::unique_ptr<InputFile> input(new Win32Input(h.get(), uint64_t(high) << 32 | low));
        h.release();
        return input;
    }

    EntryInfo FindEntry(const char *path) override {
        WIN32_FIND_DATAA data;
        const FindHandle find(NullIfInvalid(::FindFirstFileA(path, &data)));
        EntryInfo info;
        if (!find.get())
            return info;
        FolderEntry entry;
        CopyEntry(data, entry);
        info.kind = entry.folder ? EntryKind::Folder : EntryKind::File;
        info.size = entry.folder ? 0 : entry.size;
        return info;
    }

    EntryInfo Attributes(const char *path) override {
        EntryInfo info;
        DWORD attributes = ::GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            DWORD error = ::GetLastError();
            info.kind = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                            ? EntryKind::Missing
                            : EntryKind::Error;
            return info;
        }
        info.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
        return info;
    }

    std::unique_ptr<FolderEnumeration> EnumerateFolder(const char *pattern) override {
        WIN32_FIND_DATAA first;
        HANDLE h = ::FindFirstFileA(pattern, &first);
        if (h == INVALID_HANDLE_VALUE)
            return nullptr;
        return std::unique_ptr<FolderEnumeration>(new Win32Enumeration(h, first));
    }

    bool SameFolder(const char *a, const char *b) override {
        BY_HANDLE_FILE_INFORMATION ia, ib;
        if (FolderIdentity(a, ia) && FolderIdentity(b, ib))
            return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
                   ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
        // Without file identities, compare the full paths.
        char fa[MAX_PATH], fb[MAX_PATH];
        DWORD la = ::GetFullPathNameA(a, MAX_PATH, fa, nullptr);
        DWORD lb = ::GetFullPathNameA(b, MAX_PATH, fb, nullptr);
        if (!la || la >= MAX_PATH || !lb || lb >= MAX_PATH)
            return false;
        CutTrailingSeparator(fa, la);
        CutTrailingSeparator(fb, lb);
        return ::lstrcmpiA(fa, fb) == 0;
    }

    bool CreateFolder(const char *path) override { return ::CreateDirectoryA(path, nullptr) != FALSE; }

    std::unique_ptr<OutputFile> CreateOutput(const char *path) override {
        HANDLE h = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return nullptr;
        return std::unique_ptr<OutputFile>(new Win32Output(h));
    }

    std::unique_ptr<OutputFile> CreateNewOutput(const char *path, bool &exists) override {
        HANDLE h = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            exists = false;
            return std::unique_ptr<OutputFile>(new Win32Output(h));
        }
        DWORD error = ::GetLastError();
        exists = error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
        return nullptr;
    }

    bool RemoveFile(const char *path) override { return ::DeleteFileA(path) != FALSE; }

    bool PumpOneMessage() override {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            return false;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        return true;
    }

    void ReadThresholdSetting(char *buffer, size_t size) override {
        buffer[0] = 0;
        RegistryKey key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\TALVEN\\Corvex", 0, KEY_READ,
                            key.out()) != ERROR_SUCCESS)
            return;
        DWORD capacity = DWORD(size - 1);
        if (::RegQueryValueExA(key.get(), "CRITERIA_KEYWORD_COUNT", nullptr, nullptr,
                               reinterpret_cast<BYTE *>(buffer), &capacity) != ERROR_SUCCESS) {
            buffer[0] = 0; // missing, or too long for the buffer
            return;
        }
        buffer[capacity < size ? capacity : size - 1] = 0;
    }

    uint32_t TickMs() override { return ::GetTickCount(); }
};

} // namespace

Host &PlatformHost() {
    static Win32Host host;
    return host;
}

} // namespace corvex
