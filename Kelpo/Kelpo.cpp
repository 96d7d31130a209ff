// The console tool: one extraction or one count through the library, one
// result text, and an exit status of 0 or -1.
#include "CommandLine.h"
#include "Output.h"
#include "Texts.h"

#include <Corvex.h>

#include <cstdint>

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
    for (unsigned id = TextUsageFirstLine; id <= TextUsageLastLine; ++id)
        PrintText(LoadText(id));
    return -1;
}

int RunKelpo(int argc, const char *const *argv)
{
    const Command command = ParseCommandLine(argc, argv);
    if (command.action == Action::Usage)
        return PrintUsage();

    int32_t resultCode = ResultOk;
    int32_t count = 0;
    if (command.action == Action::Count)
        count = InetMailMessageCountInFile(command.input, &resultCode);
    else
        Kelpo(command.input, command.output, command.kind, &resultCode);

    if (ReportResult(resultCode))
        return PrintUsage();
    if (command.action == Action::Count)
        PrintText(LoadText(TextMessageCount), static_cast<int>(count));
    else
        PrintText(LoadText(TextExtracted));
    return 0;
}

} // namespace
} // namespace kelpo

int main(int argc, char **argv)
{
    return kelpo::RunKelpo(argc, argv);
}
