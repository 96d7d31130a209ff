#include "InstallChecks.h"

#include "PathText.h"
#include "Setup.h"
#include "Texts.h"

namespace setup {

namespace {

const char *VersionName(int version, unsigned family) {
    switch (version) {
    case 400:
        return family == 1 ? "Windows 95" : "Windows NT 4.0";
    case 410:
        return "Windows 98";
    case 490:
        return "Windows Me";
    case 500:
        return "Windows 2000";
    case 501:
        return "Windows XP";
    case 502:
        return "Windows Server 2003";
    case 600:
        return "Windows Vista, Windows Server 2008";
    default:
        return "";
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string VersionKey(int version, unsigned family) {
    return std::to_string(version) + (family == 2 ? "NT" : "") + (version == 502 ? "Server" : "");
}

bool CheckWindowsVersion(const Setup &setup, int version, unsigned family, std::string *list) {
    const Script script = setup.script();
    const int ntMax = script.Integer("OS", "WinNT_Max", "9999");
    int low, high;
    if (family == 1) {
        low = script.Integer("OS", "Win9x_Min", "0");
        high = script.Integer("OS", "Win9x_Max", "9999");
    } else if (family == 2) {
        low = script.Integer("OS", "WinNT_Min", "0");
        high = ntMax;
    } else {
        return false;
    }
    if (version < low || version > high)
        return false;
    if (!script.Value("OS", VersionKey(version, family)).empty())
        return false;
    if (list) {
        if (!list->empty())
            *list += ", ";
        *list += VersionName(version, family);
        if (version == 600 && ntMax > 600)
            *list += setup.Text(TextOrLater);
    }
    return true;
}

std::string SupportedVersionsList(const Setup &setup) {
    static const struct {
        int version;
        unsigned family;
    } known[] = {{400, 1}, {400, 2}, {410, 1}, {490, 1}, {500, 2}, {501, 2}, {502, 2}, {600, 2}};
    std::string list;
    for (const auto &v : known)
        CheckWindowsVersion(setup, v.version, v.family, &list);
    return list;
}

bool IsBrowserVersionSufficient(const std::string &version) {
    // Compared exactly as decimal digits: whole part, then up to nine digits
    // of the fraction, against 4.71.
    size_t i = 0;
    while (i < version.size() && (version[i] == ' ' || version[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < version.size() && (version[i] == '+' || version[i] == '-'))
        negative = version[i++] == '-';
    unsigned long long whole = 0;
    for (; i < version.size() && IsDigit(version[i]); ++i)
        whole = whole < 1000000 ? whole * 10 + unsigned(version[i] - '0') : whole;
    unsigned long long fraction = 0; // in billionths
    if (i < version.size() && version[i] == '.') {
        unsigned long long scale = 100000000;
        for (++i; i < version.size() && IsDigit(version[i]); ++i, scale /= 10)
            fraction += scale * unsigned(version[i] - '0');
    }
    if (negative)
        return false;
    return whole > 4 || (whole == 4 && fraction >= 710000000);
}

bool IsInFolder(const SetupPlatform &platform, const std::string &folder, const std::string &path) {
    if (!IsAbsolutePath(folder))
        return false;
    const CodePage cp(platform);
    const std::string inside =
        StripTrailingSeparators(cp, platform.CanonicalPath(folder)) + kSeparator;
    return StartsWithNoCase(cp, platform.CanonicalPath(path), inside);
}

} // namespace setup
