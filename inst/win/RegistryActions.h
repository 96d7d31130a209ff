// Registry writes and deletions of the install and the removal. Deletions
// never take a root key, a key directly below HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER, or the list of every program's uninstall entries.
#pragma once

#include <string>

#include "SetupPlatform.h"

namespace setup {

class CodePage;

// Opens or makes keyPath below root and sets name to text as REG_SZ. False
// when the key cannot be opened or made, or the value not set.
bool WriteRegistryValue(RootKey root, const std::string &keyPath, const std::string &name,
                        const std::string &text);

// Deletes the subkey name (which must have no subkeys on the NT family)
// below keyPath; an empty name deletes keyPath itself.
bool DeleteRegistrySubkey(const CodePage &cp, RootKey root, const std::string &keyPath,
                          const std::string &name);

// Deletes keyPath with every subkey below it. True when all are gone.
bool DeleteKeyTree(const CodePage &cp, RootKey root, const std::string &keyPath);

} // namespace setup
