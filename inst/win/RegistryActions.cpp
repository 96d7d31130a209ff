#include "RegistryActions.h"

#include <windows.h>

#include "Handles.h"
#include "PathText.h"
#include "RegistrySpec.h"
#include "Win32Platform.h"

namespace setup {

bool WriteRegistryValue(RootKey root, const std::string &keyPath, const std::string &name,
                        const std::string &text) {
    RegistryKey key;
    if (::RegCreateKeyExA(RootHandle(root), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, key.out(), nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE *>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteRegistrySubkey(const CodePage &cp, RootKey root, const std::string &keyPath,
                          const std::string &name) {
    const std::string deleted = name.empty() ? keyPath : JoinPath(cp, keyPath, name);
    if (IsProtectedRegistryKey(cp, root, deleted))
        return false;
    RegistryKey key;
    if (::RegOpenKeyExA(RootHandle(root), keyPath.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS)
        return false;
    return ::RegDeleteKeyA(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool DeleteKeyTree(const CodePage &cp, RootKey root, const std::string &keyPath) {
    if (IsProtectedRegistryKey(cp, root, keyPath))
        return false;
    RegistryKey key;
    if (::RegOpenKeyExA(RootHandle(root), keyPath.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS)
        return false;
    bool all = true;
    // A subkey that cannot be deleted is stepped over, so that it is not met
    // again and again.
    DWORD index = 0;
    for (;;) {
        char name[256];
        DWORD length = sizeof name;
        if (::RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (!DeleteKeyTree(cp, root, JoinPath(cp, keyPath, std::string(name, length)))) {
            all = false;
            ++index;
        }
    }
    key.reset();
    return ::RegDeleteKeyA(RootHandle(root), keyPath.c_str()) == ERROR_SUCCESS && all;
}

} // namespace setup
