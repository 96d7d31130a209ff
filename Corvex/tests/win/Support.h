// Small helpers shared by the test files: a recording progress callback,
// byte totals as one number, output names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Corvex.h"

struct ProgressCall {
    uint32_t sizeLow, sizeHigh, offsetLow, offsetHigh;
    bool operator==(const ProgressCall &o) const {
        return sizeLow == o.sizeLow && sizeHigh == o.sizeHigh && offsetLow == o.offsetLow &&
               offsetHigh == o.offsetHigh;
    }
};

// Every call that RecordProgress received since the last ResetProgress.
const std::vector<ProgressCall> &ProgressCalls();
void ResetProgress();
int32_t CORVEX_CALL RecordProgress(uint32_t sizeLow, uint32_t sizeHigh, uint32_t offsetLow,
                                   uint32_t offsetHigh);

inline uint64_t Total(const CorvexByteTotal &t) { return (uint64_t(t.high) << 32) | t.low; }

// "00001.eml" for 1.
std::string EmlName(int number);

// Returns once the system's millisecond count, the clock the library reads
// for its intervals, has moved on by more than ms (at most 10 s). Wine moves
// it in steps of several milliseconds, so a sleep of a fixed time can end
// with it where it was.
void WaitForTheClockToPass(uint32_t ms);

// A byte total filled with a pattern, to see that the library zeroes it.
inline CorvexByteTotal Garbage() { return CorvexByteTotal{0xDEADBEEFu, 0xFEEDFACEu}; }
