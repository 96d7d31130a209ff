// Sorts one line into a known field, a generic field, a continuation of the
// field before it, or a line that ends the run, and notices the MIME
// boundary of a multipart message's header on the way.
#pragma once

#include <cstdint>

#include "Boundary.h"
#include "CallContext.h"
#include "Reader.h"

namespace corvex {

enum class LineClass { KnownField, GenericField, Continuation, Break };

// Run state that the recognition reads and changes; owned by the scanner.
struct RunState {
    // Whether a line that does not begin with a letter continues the field
    // before it: the mark of the last table entry tried.
    bool continuationAllowed = false;
    // A multipart Content-Type field is open and its "boundary=" not yet seen.
    bool multipartSeen = false;
};

// Classifies the line of lineLength bytes at lineStart. runWeight is the
// current run's weight; weight receives what a field line adds. The boundary
// of a multipart Content-Type field (on its line or on any of its
// continuation lines) goes into boundary while that is empty. The caller's
// pump point runs before each table entry tried and for each byte of the
// generic-field test.
LineClass ClassifyHeaderLine(CallContext &ctx, Reader &data, uint64_t lineStart,
                             uint64_t lineLength, int64_t runWeight, RunState &state,
                             BoundaryBuffer boundary, int32_t &weight);

} // namespace corvex
