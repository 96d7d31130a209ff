// The install run's checks of the user and of where the program runs from,
// behind an interface so that a run can be tested as another user would see it.
#pragma once

#include <string>

#include "SetupPlatform.h"

namespace setup {

// True on the Windows 9x family; on the NT family, when the thread's (or
// else the process's) token holds the built-in Administrators group enabled.
bool IsUserAdmin(const OsVersion &os);

// Whether modulePath lies in the temporary folder or below it.
bool IsRunningFromTemp(const SetupPlatform &platform, const std::string &modulePath);

class SystemChecks {
public:
    virtual ~SystemChecks() = default;
    virtual bool IsUserAdmin() const = 0;
    virtual bool IsRunningFromTemp() const = 0;
};

// The checks of the running program and its user.
class Win32SystemChecks : public SystemChecks {
public:
    Win32SystemChecks(const SetupPlatform &platform, const OsVersion &os,
                      const std::string &modulePath)
        : platform_(platform), os_(os), modulePath_(modulePath) {}
    bool IsUserAdmin() const override { return setup::IsUserAdmin(os_); }
    bool IsRunningFromTemp() const override {
        return setup::IsRunningFromTemp(platform_, modulePath_);
    }

private:
    const SetupPlatform &platform_;
    OsVersion os_;
    std::string modulePath_;
};

} // namespace setup
