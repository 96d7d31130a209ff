#include "Support.h"

#include <windows.h>

#include <cstdio>

namespace {
std::vector<ProgressCall> &Calls() {
    static std::vector<ProgressCall> calls;
    return calls;
}
} // namespace

const std::vector<ProgressCall> &ProgressCalls() { return Calls(); }

void ResetProgress() { Calls().clear(); }

int32_t CORVEX_CALL RecordProgress(uint32_t sizeLow, uint32_t sizeHigh, uint32_t offsetLow,
                                   uint32_t offsetHigh) {
    Calls().push_back(ProgressCall{sizeLow, sizeHigh, offsetLow, offsetHigh});
    // The value is ignored; something other than 0 shows that it does not
    // stop the call.
    return 1;
}

std::string EmlName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%05d.eml", number);
    return name;
}

void WaitForTheClockToPass(uint32_t ms) {
    const DWORD start = GetTickCount();
    for (int waited = 0; GetTickCount() - start <= ms && waited < 10000; ++waited)
        Sleep(1);
}
