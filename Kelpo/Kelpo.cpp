// The console tool: one extraction or one count through the library, one
// result text, and an exit status of 0 or -1.
#include "AbsolutePath.h"
#include "CommandLine.h"
#include "Output.h"
#include "Texts.h"

#include <Corvex.h>

#include <clocale>
#include <cstdint>
#include <string>

namespace kelpo {
namespace {

// Prints the text for a library result code; true when it was a failure.
bool ReportResult(int32_t resultCode)
{
    if (resultCode == ResultOk)
        return false;
    unsigned id = TextUnknownError;
    if (resultCode >= static_cast<int32_t>(TextFirstResult) &&
        resultCode <= static_cast<int32_t>(TextLastResult))
        id = static_cast<unsigned>(resultCode);
    PrintText(LoadText(id));
    return true;
}

int PrintUsage()
{
    PrintText(LoadText(TextUsageTitle));
    PrintText("\n");
    for (unsigned id = TextUsageFirstLine; id <= TextUsageLastLine; ++id) {
        if (id == TextUsageFirstLine + 4)
            PrintText(LoadText(TextUsageTreeLine));
        PrintText(LoadText(id));
    }
    return -1;
}

int RunKelpo(int argc, const char *const *argv)
{
    const Command command = ParseCommandLine(argc, argv);
    if (command.action == Action::Usage)
        return PrintUsage();

    // Relative paths are the current folder's; the library gets them absolute.
    const std::string input = MakeAbsolute(command.input);
    int32_t resultCode = ResultOk;
    int32_t count = 0;
    if (command.action == Action::Count) {
        // A count of general text goes through the export it always used;
        // the other kinds are counted as their extraction would find them.
        if (command.kind == KindGeneral && !command.tree)
            count = InetMailMessageCountInFile(input.c_str(), &resultCode);
        else
            count = InetMailMessageCountInFileOfKind(input.c_str(), command.kind,
                                                     command.tree ? CorvexFlagTree : 0, nullptr,
                                                     &resultCode, nullptr);
    } else {
        const std::string output = MakeAbsolute(command.output);
        if (command.tree)
            KelpoExWithFlags(input.c_str(), output.c_str(), command.kind, CorvexFlagTree, nullptr,
                             &resultCode, nullptr);
        else
            Kelpo(input.c_str(), output.c_str(), command.kind, &resultCode);
    }

    if (ReportResult(resultCode))
        return PrintUsage();
    if (command.action == Action::Count) {
        // A line of its own, so that the prompt after it starts a new line.
        PrintText(LoadText(TextMessageCount), static_cast<int>(count));
        PrintText("\n");
    } else {
        PrintText(LoadText(TextExtracted));
    }
    return 0;
}

} // namespace
} // namespace kelpo

int main(int argc, char **argv)
{
#ifndef _WIN32
    // Paths are in the user's locale's encoding; the library walks them by it.
    setlocale(LC_CTYPE, "");
#endif
    return kelpo::RunKelpo(argc, argv);
}
