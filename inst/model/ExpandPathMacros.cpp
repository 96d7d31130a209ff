#include "ExpandPathMacros.h"

#include "PathText.h"
#include "SetupPlatform.h"
#include "SystemFolders.h"

namespace setup {

namespace {

std::string WindowsDrive(const SetupPlatform &platform) {
    return platform.WindowsFolder().substr(0, 1);
}

} // namespace

bool ExpandPathMacros(std::string &value, const std::string &root, const SetupPlatform &platform) {
    const CodePage cp(platform);
    if (value.size() > 2 && value[0] == kSeparator && value[1] == kSeparator)
        return false;

    struct Macro {
        const char *name;
        std::string (*expand)(const SetupPlatform &, const std::string &root);
    };
    static const Macro macros[] = {
        {"%programs%", [](const SetupPlatform &p, const std::string &) { return ProgramFilesFolder(p); }},
        {"%windows%", [](const SetupPlatform &p, const std::string &) { return p.WindowsFolder(); }},
        {"%system%", [](const SetupPlatform &p, const std::string &) { return p.SystemFolder(); }},
        {"%desktop%", [](const SetupPlatform &p, const std::string &) { return DesktopFolder(p); }},
        {"%windrive%", [](const SetupPlatform &p, const std::string &) { return WindowsDrive(p); }},
        {"%programmenu%", [](const SetupPlatform &p, const std::string &) { return ProgramsMenuFolder(p); }},
        {"%personalprogrammenu%",
         [](const SetupPlatform &p, const std::string &) { return PersonalProgramsMenuFolder(p); }},
        {"%root%", [](const SetupPlatform &, const std::string &r) { return r; }},
    };
    // Each test looks at the value as the earlier ones left it.
    for (const Macro &macro : macros) {
        const std::string name = macro.name;
        if (StartsWithNoCase(cp, value, name))
            value = macro.expand(platform, root) + value.substr(name.size());
    }

    if (FindChar(cp, value, kSeparator) != std::string::npos)
        return true;
    value = JoinPath(cp, root.empty() ? ProgramFilesFolder(platform) : root, value);
    return true;
}

bool ExpandPathValue(std::string &value, const std::string &root, const SetupPlatform &platform) {
    ExpandPathMacros(value, root, platform);
    return FitsPathBuffer(value);
}

} // namespace setup
