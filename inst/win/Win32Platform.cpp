#include "Win32Platform.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Handles.h"

namespace setup {

namespace {

// Calls that write a string into a buffer and return its length, or the
// size they need (or, for GetModuleFileNameA, a full buffer) when it is too
// small. Grows the buffer until the whole string fits; "" on failure.
template <class Call>
std::string WholeString(Call call) {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = call(buffer.data(), size);
        if (length == 0)
            return std::string();
        if (length < size)
            return std::string(buffer.data(), length);
        buffer.resize(std::max<size_t>(length + 1, 2 * buffer.size()));
    }
}

} // namespace

HKEY RootHandle(RootKey root) {
    switch (root) {
    case RootKey::CurrentUser:
        return HKEY_CURRENT_USER;
    case RootKey::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RootKey::ClassesRoot:
        break;
    }
    return HKEY_CLASSES_ROOT;
}

Win32Platform::Win32Platform(HMODULE textModule)
    : textModule_(textModule ? textModule : ::GetModuleHandleA(nullptr)) {}

std::string Win32Platform::ProfileString(const std::string &path, const std::string &section,
                                         const std::string &key, const std::string &def) const {
    // The reader cuts a value to the buffer and then returns size - 1; a
    // value that fills the buffer exactly is read again with a larger one.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(),
                                                        buffer.data(), size, path.c_str());
        if (length + 1 < size)
            return std::string(buffer.data(), length);
        buffer.resize(2 * size);
    }
}

std::string Win32Platform::RegistryString(RootKey root, const std::string &keyPath,
                                          const std::string &name) const {
    RegistryKey key;
    if (::RegOpenKeyExA(RootHandle(root), keyPath.c_str(), 0, KEY_QUERY_VALUE, key.out()) !=
        ERROR_SUCCESS)
        return std::string();
    for (;;) {
        DWORD type = 0, size = 0;
        if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ)
            return std::string();
        std::vector<char> buffer(size + 1);
        DWORD got = size;
        const LONG read = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE *>(buffer.data()), &got);
        if (read == ERROR_MORE_DATA)
            continue; // the value grew between the two reads
        if (read != ERROR_SUCCESS || type != REG_SZ)
            return std::string();
        // The stored data may or may not end in its terminator.
        return std::string(buffer.data(), strnlen(buffer.data(), got));
    }
}

std::string Win32Platform::WindowsFolder() const {
    return WholeString([](char *b, DWORD n) { return ::GetWindowsDirectoryA(b, n); });
}

std::string Win32Platform::SystemFolder() const {
    return WholeString([](char *b, DWORD n) { return ::GetSystemDirectoryA(b, n); });
}

std::string Win32Platform::TempFolder() const {
    return WholeString([](char *b, DWORD n) { return ::GetTempPathA(n, b); });
}

std::string Win32Platform::CanonicalPath(const std::string &path) const {
    std::string full = WholeString(
        [&](char *b, DWORD n) { return ::GetFullPathNameA(path.c_str(), n, b, nullptr); });
    if (full.empty())
        return path;
    // Only a path that exists has a long form; the rest keeps its spelling.
    std::string longForm =
        WholeString([&](char *b, DWORD n) { return ::GetLongPathNameA(full.c_str(), b, n); });
    return longForm.empty() ? full : longForm;
}

std::string Win32Platform::ModulePath() const {
    return WholeString([](char *b, DWORD n) { return ::GetModuleFileNameA(nullptr, b, n); });
}

unsigned long Win32Platform::SystemDefaultLocale() const { return ::GetSystemDefaultLCID(); }

OsVersion Win32Platform::Version() const {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion version;
    if (::GetVersionExA(&info)) {
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
        version.build = info.dwBuildNumber;
        version.platformId = info.dwPlatformId;
    }
    return version;
}

std::string Win32Platform::LoadText(unsigned id) const {
    // The table holds UTF-16; with a zero buffer size the call hands out a
    // pointer into the resource itself, so no text is ever cut.
    const wchar_t *text = nullptr;
    const int length = ::LoadStringW(textModule_, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::string();
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string ansi(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text, length, &ansi[0], bytes, nullptr, nullptr);
    return ansi;
}

bool Win32Platform::IsLeadByte(unsigned char byte) const { return ::IsDBCSLeadByte(byte) != 0; }

} // namespace setup
