// The installer's system seam over the real Win32 calls.
#pragma once

#include <windows.h>

#include "SetupPlatform.h"

namespace setup {

// The HKEY of a root the script names.
HKEY RootHandle(RootKey root);

class Win32Platform : public SetupPlatform {
public:
    // Texts come from the string table of textModule: the running program
    // unless another module is named.
    explicit Win32Platform(HMODULE textModule = nullptr);

    std::string ProfileString(const std::string &path, const std::string &section,
                              const std::string &key, const std::string &def) const override;
    std::string RegistryString(RootKey root, const std::string &keyPath,
                               const std::string &name) const override;
    std::string WindowsFolder() const override;
    std::string SystemFolder() const override;
    std::string TempFolder() const override;
    std::string CanonicalPath(const std::string &path) const override;
    std::string ModulePath() const override;
    unsigned long SystemDefaultLocale() const override;
    OsVersion Version() const override;
    std::string LoadText(unsigned id) const override;
    bool IsLeadByte(unsigned char byte) const override;

private:
    HMODULE textModule_;
};

} // namespace setup
