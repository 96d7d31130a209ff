// The shapes of the console tool's command line.
#pragma once

#include <cstdint>

namespace kelpo {

enum class Action {
    Usage,   // the command line fits no form: print the usage text
    Extract, // the library's Kelpo with input, output and kind
    Count    // a count of input: InetMailMessageCountInFile for kind 0, else
             // InetMailMessageCountInFileOfKind with the kind
};

struct Command {
    Action action = Action::Usage;
    const char *input = nullptr;
    const char *output = nullptr;
    int32_t kind = 0;
    bool tree = false; // -tree: the folder's whole tree, its structure kept
};

// Reads argv as the C runtime split it (argv[0] is the program). Paths are
// taken as they stand (the caller makes them absolute). Options come first,
// in any order, each at most once: "-c", one of "-mbox" and "-nifty", and
// "-tree"; then the input (and for an extraction the output folder).
Command ParseCommandLine(int argc, const char *const *argv);

// Whether arg (after its option prefix) equals name without regard to case;
// a double-byte character is one unit and never equals an ASCII letter.
bool OptionNameEquals(const char *arg, const char *name);

} // namespace kelpo
