// A test double of the installer's system seam: INI files held as text and
// parsed at every read (so a change between reads is seen), a registry of
// string values, fixed folders, and the texts of the string table.
#pragma once

#include <map>
#include <string>

#include "SetupPlatform.h"

namespace setup::test {

class FakePlatform : public SetupPlatform {
public:
    FakePlatform();

    std::map<std::string, std::string> files; // path -> INI text
    std::map<std::string, std::string> registry; // RegistryId(...) -> value
    std::map<std::string, std::string> canonical; // path -> its canonical spelling
    std::string windowsFolder = "C:\\WINDOWS";
    std::string systemFolder = "C:\\WINDOWS\\system32";
    std::string tempFolder = "C:\\TEMP\\";
    std::string modulePath = "C:\\TEMP\\pkg\\setup.exe";
    unsigned long locale = 0x0409;
    OsVersion version{5, 1, 2600, 2};
    bool shiftJis = true;
    mutable int profileReads = 0;

    void SetRegistry(RootKey root, const std::string &key, const std::string &name,
                     const std::string &value);
    // The script beside modulePath.
    void SetScript(const std::string &text);

    std::string ProfileString(const std::string &path, const std::string &section,
                              const std::string &key, const std::string &def) const override;
    std::string RegistryString(RootKey root, const std::string &keyPath,
                               const std::string &name) const override;
    std::string WindowsFolder() const override { return windowsFolder; }
    std::string SystemFolder() const override { return systemFolder; }
    std::string TempFolder() const override { return tempFolder; }
    std::string CanonicalPath(const std::string &path) const override;
    std::string ModulePath() const override { return modulePath; }
    unsigned long SystemDefaultLocale() const override { return locale; }
    OsVersion Version() const override { return version; }
    std::string LoadText(unsigned id) const override;
    bool IsLeadByte(unsigned char byte) const override;
};

// The texts of the string table by id, as UTF-8.
const std::map<unsigned, std::string> &TableTexts();

} // namespace setup::test
