#include "TestFiles.h"

#include <algorithm>
#include <cstdio>

namespace {

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool Valid() const { return h != INVALID_HANDLE_VALUE; }
};

struct Find {
    HANDLE h;
    explicit Find(HANDLE handle) : h(handle) {}
    ~Find() {
        if (h != INVALID_HANDLE_VALUE)
            FindClose(h);
    }
    Find(const Find &) = delete;
    Find &operator=(const Find &) = delete;
};

std::wstring LongForm(const std::string &path) {
    // Test paths are ASCII, so a byte-wise widening is exact.
    std::wstring wide = L"\\\\?\\";
    for (char c : path)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

bool WriteAll(HANDLE h, const std::string &bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written != chunk)
            return false;
        done += chunk;
    }
    return true;
}

void RemoveTreeWide(const std::wstring &path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    {
        Find find(FindFirstFileW((path + L"\\*").c_str(), &data));
        if (find.h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = data.cFileName;
                if (name != L"." && name != L"..")
                    RemoveTreeWide(path + L"\\" + name);
            } while (FindNextFileW(find.h, &data));
        }
    }
    RemoveDirectoryW(path.c_str());
}

} // namespace

TempFolder::TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    static unsigned serial = 0;
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "\\corvex-%lu-%u", GetCurrentProcessId(), ++serial);
        path_ = base + name;
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            path_.clear();
            break;
        }
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty())
        RemoveTree(path_);
}

FileLock::FileLock(const std::string &path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

FileLock::~FileLock() {
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

bool WriteBytes(const std::string &path, const std::string &bytes) {
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.h, bytes);
}

bool WriteBytesLongPath(const std::string &path, const std::string &bytes) {
    Handle file(CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.h, bytes);
}

std::string ReadBytes(const std::string &path, bool *ok) {
    if (ok)
        *ok = false;
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file.h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    if (ok)
        *ok = true;
    return bytes;
}

bool IsFile(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string &path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

std::vector<std::string> FolderEntries(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    Find find(FindFirstFileA((folder + "\\*.*").c_str(), &data));
    if (find.h == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find.h, &data));
    return names;
}

std::vector<std::string> SortedEntries(const std::string &folder) {
    std::vector<std::string> names = FolderEntries(folder);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::string &path) { RemoveTreeWide(LongForm(path)); }
