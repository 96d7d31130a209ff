// Sorts one line into a known field, a generic field, a continuation of the
// field before it, or a line that ends the run, and notices the MIME
// boundary of a multipart/mixed body on the way.
#pragma once

#include <cstdint>

#include "CallContext.h"
#include "Reader.h"

namespace corvex {

enum class LineClass { KnownField, GenericField, Continuation, Break };

// Run state that the recognition reads and changes; owned by the scanner.
struct RunState {
    bool continuationAllowed = false;
    bool multipartSeen = false;
};

// The boundary buffer: "--" and the boundary value, NUL-terminated; empty
// when none is known. A null text or a size of 0 means none is kept.
struct BoundaryBuffer {
    char *text = nullptr;
    uint32_t size = 0;
    bool Supplied() const { return text && size; }
    bool Empty() const { return !text || !size || !text[0]; }
};

// Classifies the line of lineLength bytes at lineStart. runWeight is the
// current run's weight; weight receives what a field line adds. The caller's
// pump point runs before each table entry tried and for each byte of the
// generic-field test.
LineClass ClassifyHeaderLine(CallContext &ctx, Reader &data, uint64_t lineStart,
                             uint64_t lineLength, int64_t runWeight, RunState &state,
                             BoundaryBuffer boundary, int32_t &weight);

// Looks for "boundary=" on the line (case-sensitive, starting on a character
// boundary) and, when found, stores "--" and the value into an empty buffer:
// a quoted value up to its closing quote, an unquoted one up to ";", space,
// TAB or the end of the line; cut to fit without splitting a character.
// Returns whether the line holds "boundary=".
bool CaptureBoundary(const CallContext &ctx, Reader &data, uint64_t lineStart,
                     uint64_t lineLength, BoundaryBuffer boundary);

} // namespace corvex
