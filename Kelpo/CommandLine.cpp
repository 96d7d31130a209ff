#include "CommandLine.h"

#include <Corvex.h>

#include "Cp932.h"

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
    // Code page 932, the only code page the texts and the library's paths
    // use on Linux.
    return quillbox::IsShiftJisLeadByte(byte);
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

} // namespace

bool OptionNameEquals(const char *arg, const char *name)
{
    static const quillbox::LeadBytes lead(IsLeadByte);
    return lead.EqualIgnoringAsciiCase(arg, name);
}

Command ParseCommandLine(int argc, const char *const *argv)
{
    Command command;
    bool count = false, kindGiven = false;
    int at = 1;
    for (; at < argc && IsOptionPrefix(argv[at][0]); ++at) {
        const char *name = argv[at] + 1;
        if (OptionNameEquals(name, "c") && !count) {
            count = true;
        } else if (OptionNameEquals(name, "mbox") && !kindGiven) {
            command.kind = KindMbox;
            kindGiven = true;
        } else if (OptionNameEquals(name, "nifty") && !kindGiven) {
            command.kind = KindNifty;
            kindGiven = true;
        } else if (OptionNameEquals(name, "tree") && !command.tree) {
            command.tree = true;
        } else {
            return Command(); // an unknown option, or one given twice
        }
    }
    const int paths = argc - at;
    if (count && paths == 1) {
        command.action = Action::Count;
        command.input = argv[at];
    } else if (!count && paths == 2) {
        command.action = Action::Extract;
        command.input = argv[at];
        command.output = argv[at + 1];
    } else {
        return Command();
    }
    return command;
}

} // namespace kelpo
