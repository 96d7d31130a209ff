// Stepping over the parts of a multipart body: from a line that equals the
// boundary delimiter to the body's closing delimiter, so that the header
// blocks of messages attached inside it are not taken for new messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Boundary.h"
#include "CallContext.h"
#include "Reader.h"

namespace corvex {

// Remembers the last look for a closing line, so that a body of many parts,
// or the same body searched again from the same place, costs one look.
class MultipartSkip {
public:
    // The delimiter line ("--" and the boundary, n bytes) stands at at. When a
    // closing line (the delimiter followed by "--") follows it below limit,
    // before the end of the data and before any line that declares the same
    // boundary again, gives that line's offset in closeAt and returns true.
    // Without one there is nothing to skip: a message cut short must not
    // swallow the messages after it.
    bool ClosingLine(CallContext &ctx, Reader &data, const char *delimiter, size_t n, uint64_t at,
                     uint64_t limit, uint64_t &closeAt);

    // Forgets the last look, for a boundary declared anew.
    void Reset() {
        delimiter_.clear();
        from_ = reached_ = limit_ = 0;
        closed_ = false;
    }

private:
    class Occurrences;

    // Looks for the closing line from the line at from on; returns where the
    // look ended (closed_ says whether at a closing line).
    uint64_t LookFrom(CallContext &ctx, Reader &data, uint64_t from, uint64_t limit);

    std::string delimiter_;
    uint64_t from_ = 0;    // the delimiter line the last look began at
    uint64_t reached_ = 0; // where it ended: the closing line, or where it gave up
    bool closed_ = false;
    uint64_t limit_ = 0;
};

} // namespace corvex
