// The fixed vocabulary of header-field names that decides whether a line
// looks like a mail header, with its index by initial letter.
#pragma once

#include <cstdint>

namespace corvex {

struct HeaderName {
    const char *name;    // as it is compared, without the continuation mark
    uint8_t length;      // bytes of name
    bool continuationOk; // continuation lines may follow a field of this name
    uint8_t weight;      // what a line of this name adds to a run
};

constexpr int kHeaderNameCount = 146;

extern const HeaderName HeaderNameTable[kHeaderNameCount];
// For each letter A..Z the first entry number, then the end value: the
// entries of letter L are [HeaderLetterIndex[L], HeaderLetterIndex[L+1]).
extern const int32_t HeaderLetterIndex[27];

} // namespace corvex
