// The library's one setting, CRITERIA_KEYWORD_COUNT under
// HKEY_LOCAL_MACHINE\Software\TALVEN\Corvex, written for real in the test
// prefix's registry.
#pragma once

#include <windows.h>

#include <string>

// Stores a value of any type; true on success.
bool SetThresholdValue(DWORD type, const void *data, DWORD size);
// Stores a string value (REG_SZ) with its terminator.
bool SetThresholdString(const std::string &text);
// Removes the value (the key stays); true when it is gone afterwards.
bool ClearThreshold();

// Removes the value when created and again when destroyed, so that every
// test starts from and leaves behind the default threshold.
class ThresholdScope {
public:
    ThresholdScope() { ClearThreshold(); }
    ~ThresholdScope() { ClearThreshold(); }
    ThresholdScope(const ThresholdScope &) = delete;
    ThresholdScope &operator=(const ThresholdScope &) = delete;
};
