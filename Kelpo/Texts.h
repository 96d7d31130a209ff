// The console tool's texts, loaded from the program's own string resources
// (or, on Linux, from the same list built into the program).
#pragma once

namespace kelpo {

// Ids of the texts the program uses by name; 1000 to 1009 are the result codes.
enum TextId : unsigned {
    TextUsageTitle = 101,
    TextUsageFirstLine = 102,
    TextUsageLastLine = 108,
    TextMessageCount = 109,
    TextExtracted = 112,
    TextUsageTreeLine = 113, // printed after the option lines, before 106
    TextFirstResult = 1000,
    TextUnknownError = 1006,
    TextLastResult = 1009
};

// Every printed text passes through this one buffer.
constexpr int TextBufferSize = 1024;

// Empties the text buffer, loads text id into it as code page 932 bytes and
// returns it; a missing text leaves it empty.
const char *LoadText(unsigned id);

} // namespace kelpo
