#include "SystemChecks.h"

#include <windows.h>

#include <vector>

#include "Handles.h"
#include "InstallChecks.h"

namespace setup {

bool IsUserAdmin(const OsVersion &os) {
    if (os.platformId == VER_PLATFORM_WIN32_WINDOWS)
        return true;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    SidPointer administrators;
    if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS,
                                    0, 0, 0, 0, 0, 0, administrators.out()))
        return false;
    KernelHandle token;
    if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.out()) &&
        !::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.out()))
        return false;
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size);
    if (size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    if (!::GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size))
        return false;
    const TOKEN_GROUPS *groups = reinterpret_cast<const TOKEN_GROUPS *>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (::EqualSid(groups->Groups[i].Sid, administrators.get()) &&
            (groups->Groups[i].Attributes & (SE_GROUP_ENABLED | SE_GROUP_ENABLED_BY_DEFAULT)))
            return true;
    }
    return false;
}

bool IsRunningFromTemp(const SetupPlatform &platform, const std::string &modulePath) {
    return IsInFolder(platform, platform.TempFolder(), modulePath);
}

} // namespace setup
