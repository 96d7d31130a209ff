// The library's functions as the desktop program calls them, recorded
// and passed on to the real Corvex.dll.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "InetMail.h"

// The tests are the program's own: its names unqualified.
using namespace quillrun;

struct LibraryCall {
    bool extract = false; // KelpoEx or KelpoExWithFlags (else a count)
    bool ofKind = false;  // the count of a kind (else InetMailMessageCountInFileEx)
    std::string input;
    bool outputGiven = false;
    std::string output;
    int32_t kind = -1;
    uint32_t flags = 0; // of the calls that take them
    bool withFlags = false; // KelpoExWithFlags
    bool totalGiven = false;
    bool resultCodeGiven = false;
    int32_t resultCodeBefore = -1; // what the caller had put there
    ProgressCallback progress = nullptr; // the program's own callback
    int32_t count = -1;
    int32_t resultCode = -1;
    uint64_t totalBytes = 0;
};

class RecordingLibrary {
public:
    static InetMail Bind();
    static void Reset();
    static const std::vector<LibraryCall> &Calls();
    // True while a call is inside the real library.
    static bool InCall();
    // Runs just before each call is passed on (inside the program's call).
    static std::function<void(const LibraryCall &)> beforeCall;
    // May change the result code and the byte total a call returns to the
    // program.
    static std::function<void(LibraryCall &)> afterCall;
    // Runs after the program's progress callback has handled a report.
    static std::function<void(uint64_t total, uint64_t done)> afterProgress;
};
