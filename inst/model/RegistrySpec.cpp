#include "RegistrySpec.h"

#include <vector>

#include "PathText.h"

namespace setup {

namespace {

// Offset of the first two consecutive separator characters at or after from.
size_t FindDoubleSeparator(const CodePage &cp, const std::string &text, size_t from) {
    for (size_t i = FindChar(cp, text, kSeparator, from); i != std::string::npos;
         i = FindChar(cp, text, kSeparator, i + 1)) {
        if (i + 1 < text.size() && text[i + 1] == kSeparator)
            return i;
    }
    return std::string::npos;
}

RootKey RootByName(const CodePage &cp, const std::string &name) {
    if (EqualNoCase(cp, name, "HKEY_CURRENT_USER"))
        return RootKey::CurrentUser;
    if (EqualNoCase(cp, name, "HKEY_LOCAL_MACHINE"))
        return RootKey::LocalMachine;
    return RootKey::ClassesRoot;
}

} // namespace

RegistrySpec ParseRegistrySpec(const CodePage &cp, const std::string &text) {
    RegistrySpec parsed;
    const size_t first = FindChar(cp, text, kSeparator);
    if (first == std::string::npos)
        return parsed;
    parsed.root = RootByName(cp, text.substr(0, first));
    const size_t keyStart = first + 1;
    const size_t doubled = FindDoubleSeparator(cp, text, keyStart);
    if (doubled == std::string::npos) {
        parsed.keyPath = text.substr(keyStart);
        return parsed;
    }
    parsed.keyPath = text.substr(keyStart, doubled - keyStart);
    const size_t nameStart = doubled + 2;
    const size_t nameEnd = FindChar(cp, text, kSeparator, nameStart);
    if (nameEnd == std::string::npos) {
        parsed.name = text.substr(nameStart);
        return parsed;
    }
    parsed.name = text.substr(nameStart, nameEnd - nameStart);
    parsed.data = text.substr(nameEnd + 1);
    return parsed;
}

bool IsProtectedRegistryKey(const CodePage &cp, RootKey root, const std::string &keyPath) {
    const std::vector<std::string> parts = PathComponents(cp, keyPath);
    if (parts.empty())
        return true;
    if (root == RootKey::ClassesRoot)
        return false;
    if (parts.size() == 1)
        return true;
    if (root != RootKey::LocalMachine)
        return false;
    const std::vector<std::string> uninstall = PathComponents(cp, kUninstallKeyPath);
    if (parts.size() > uninstall.size())
        return false;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!EqualNoCase(cp, parts[i], uninstall[i]))
            return false;
    }
    return true;
}

} // namespace setup
