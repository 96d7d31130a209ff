// The MIME boundary of a multipart message: finding its "boundary=" parameter
// on a line, storing it, and recognising lines that declare it again.
#pragma once

#include <cstddef>
#include <cstdint>

#include "CallContext.h"
#include "Reader.h"

namespace corvex {

// The size of the boundary buffers a file's conversion keeps: room for "--",
// a boundary value of any length the standards allow, and more.
constexpr uint32_t kBoundarySize = 1024;

// The boundary buffer: "--" and the boundary value, NUL-terminated; empty
// when none is known. A null text or a size of 0 means none is kept.
struct BoundaryBuffer {
    char *text = nullptr;
    uint32_t size = 0;
    bool Supplied() const { return text && size; }
    bool Empty() const { return !text || !size || !text[0]; }
    void Clear() {
        if (Supplied())
            text[0] = 0;
    }
};

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

// When the line holds "boundary=", stores "--" and its value into an empty
// buffer, cut to fit without splitting a character. Returns whether the line
// holds "boundary=".
bool CaptureBoundary(const CallContext &ctx, Reader &data, uint64_t lineStart,
                     uint64_t lineLength, BoundaryBuffer boundary);

// Whether the line declares the boundary whose delimiter ("--" and the value)
// is the n bytes at delimiter.
bool DeclaresBoundary(const CallContext &ctx, Reader &data, uint64_t lineStart,
                      uint64_t lineLength, const char *delimiter, size_t n);

} // namespace corvex
