// The MIME boundary of a multipart message: finding its "boundary=" parameter
// on a line, and recognising lines that declare it again.
#pragma once

#include <cstddef>
#include <cstdint>

#include "CallContext.h"
#include "Reader.h"

namespace corvex {

// The longest boundary value followed: far more than the standards allow
// (70), as real mail and test suites go beyond them.
constexpr size_t kBoundaryLimit = 16384;

// Where a boundary value stands on a line, counted from the line's start.
struct BoundaryValue {
    uint64_t begin = 0, end = 0;
};

// Looks for "boundary=" on the line (without regard to ASCII case, starting
// on a character boundary) and gives its value: a quoted value up to its
// closing quote, an unquoted one up to ";", space, TAB or the end of the
// line. False when the line holds no "boundary=".
bool FindBoundaryValue(const CallContext &ctx, Reader &data, uint64_t lineStart,
                       uint64_t lineLength, BoundaryValue &value);

// Whether the line declares the boundary whose delimiter ("--" and the value)
// is the n bytes at delimiter.
bool DeclaresBoundary(const CallContext &ctx, Reader &data, uint64_t lineStart,
                      uint64_t lineLength, const char *delimiter, size_t n);

} // namespace corvex
