#include "CommandLine.h"

#include <Corvex.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelpo {
namespace {

bool IsLeadByte(unsigned char byte)
{
#ifdef _WIN32
    return IsDBCSLeadByte(byte) != FALSE;
#else
    // The lead bytes of code page 932, the only code page the texts and the
    // library's paths use on Linux.
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
#endif
}

// On Windows an option may also begin with a slash; on Linux a slash begins
// a path, so only the hyphen marks an option there.
bool IsOptionPrefix(char c)
{
#ifdef _WIN32
    return c == '-' || c == '/';
#else
    return c == '-';
#endif
}

unsigned char FoldCase(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

bool OptionNameEquals(const char *arg, const char *name)
{
    const auto *a = reinterpret_cast<const unsigned char *>(arg);
    const auto *n = reinterpret_cast<const unsigned char *>(name);
    while (*a != 0 && *n != 0) {
        if (IsLeadByte(*a) || IsLeadByte(*n)) {
            // Both bytes of a double-byte character are compared exactly.
            if (a[0] != n[0] || a[1] != n[1])
                return false;
            if (a[1] == 0)
                return true; // both end in the same cut-off lead byte
            a += 2;
            n += 2;
            continue;
        }
        if (FoldCase(*a) != FoldCase(*n))
            return false;
        ++a;
        ++n;
    }
    return *a == 0 && *n == 0;
}

Command ParseCommandLine(int argc, const char *const *argv)
{
    Command command;
    const int count = argc - 1;
    if (count < 1)
        return command;

    const char *first = argv[1];
    if (IsOptionPrefix(first[0])) {
        const char *name = first + 1;
        // A count of one kind: "-c" and the kind's option, in either order.
        if (count == 3 && IsOptionPrefix(argv[2][0])) {
            const char *second = argv[2] + 1;
            const char *kindName = OptionNameEquals(name, "c")     ? second
                                   : OptionNameEquals(second, "c") ? name
                                                                   : nullptr;
            if (kindName && OptionNameEquals(kindName, "mbox"))
                return {Action::Count, argv[3], nullptr, KindMbox};
            if (kindName && OptionNameEquals(kindName, "nifty"))
                return {Action::Count, argv[3], nullptr, KindNifty};
        }
        if (count == 3 && OptionNameEquals(name, "nifty")) {
            command = {Action::Extract, argv[2], argv[3], KindNifty};
        } else if (count == 3 && OptionNameEquals(name, "mbox")) {
            command = {Action::Extract, argv[2], argv[3], KindMbox};
        } else if (count == 2 && OptionNameEquals(name, "c")) {
            command = {Action::Count, argv[2], nullptr, KindGeneral};
        }
        return command;
    }

    if (count == 2)
        command = {Action::Extract, argv[1], argv[2], KindGeneral};
    return command;
}

} // namespace kelpo
