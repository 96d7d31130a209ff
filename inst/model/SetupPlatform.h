// The installer's door to the system for everything its script model needs:
// the profile-string reader, registry string reads, the system's folders,
// the code page, the version and locale, and its own texts. setup.exe passes
// the real calls (win/Win32Platform); the native tests pass a test double, so
// the model runs and is tested without Windows.
#pragma once

#include <string>

namespace setup {

// The three registry roots a script can name.
enum class RootKey { ClassesRoot, CurrentUser, LocalMachine };

struct OsVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    unsigned platformId = 0; // 1: the Windows 9x family, 2: the NT family
};

class SetupPlatform {
public:
    virtual ~SetupPlatform() = default;

    // The value of key in section of the INI file at path, in full (never
    // cut), or def when the key is missing. Section and key match without
    // regard to case.
    virtual std::string ProfileString(const std::string &path, const std::string &section,
                                      const std::string &key, const std::string &def) const = 0;
    // A REG_SZ value in full; "" when the key or the value is missing.
    virtual std::string RegistryString(RootKey root, const std::string &keyPath,
                                       const std::string &name) const = 0;
    virtual std::string WindowsFolder() const = 0;
    virtual std::string SystemFolder() const = 0;
    // The temporary folder, with its final separator.
    virtual std::string TempFolder() const = 0;
    // An absolute path in the system's own canonical spelling (long names,
    // trailing dots dropped) where the system knows one; otherwise unchanged.
    virtual std::string CanonicalPath(const std::string &path) const = 0;
    // Full path of the running program.
    virtual std::string ModulePath() const = 0;
    virtual unsigned long SystemDefaultLocale() const = 0;
    virtual OsVersion Version() const = 0;
    // Text id of the program's string table in the system code page; "" when missing.
    virtual std::string LoadText(unsigned id) const = 0;
    // Whether byte is the first byte of a double-byte character in the
    // system code page.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
};

} // namespace setup
