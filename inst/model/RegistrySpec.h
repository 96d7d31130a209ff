// Registry specifications of the script: root\key path\\name\data.
#pragma once

#include <string>

#include "SetupPlatform.h"

namespace setup {

class CodePage;

// Where every program's uninstall entry lives, below HKEY_LOCAL_MACHINE.
constexpr char kUninstallKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

struct RegistrySpec {
    RootKey root = RootKey::ClassesRoot;
    std::string keyPath;
    std::string name;
    std::string data;
};

// The root is the text before the first separator: "HKEY_CURRENT_USER" and
// "HKEY_LOCAL_MACHINE" (any case) select those keys, anything else
// HKEY_CLASSES_ROOT. The key path runs to the first "\\" after it, the name
// to the next single separator, and the data is the rest. Missing parts are
// empty; a value without any separator is HKEY_CLASSES_ROOT with everything
// empty.
RegistrySpec ParseRegistrySpec(const CodePage &cp, const std::string &text);

// Whether deleting keyPath below root would destroy what is not a product's
// own: a root key itself, a key directly below HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER (such as "Software"), or the list of every program's
// uninstall entries or a key above it.
bool IsProtectedRegistryKey(const CodePage &cp, RootKey root, const std::string &keyPath);

} // namespace setup
