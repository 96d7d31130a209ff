// Stepping over the parts of a multipart body: from a line that equals the
// boundary delimiter to the body's closing delimiter, so that the header
// blocks of messages attached inside it are not taken for new messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Boundary.h"
#include "CallContext.h"
#include "Reader.h"

namespace corvex {

// A look for the closing line of a multipart body.
struct ClosingLook {
    std::string_view delimiter; // "--" and the boundary
    uint64_t delimiterAt;       // the first byte of a line that is the delimiter
    uint64_t limit;             // the look reads no line that begins at or past it
};

// Remembers the last look for a closing line, so that a body of many parts,
// or the same body searched again from the same place, costs one look.
class MultipartSkip {
public:
    // The first byte of the closing line (the delimiter followed by "--")
    // that follows the delimiter line before the limit, before the end of
    // the data and before any line that declares the same boundary again;
    // none when there is no such line. Without one there is nothing to skip:
    // a message cut short must not swallow the messages after it.
    std::optional<uint64_t> ClosingLine(CallContext &ctx, Reader &data, const ClosingLook &look);

    // Forgets the last look, for a boundary declared anew.
    void Reset() {
        delimiter_.clear();
        from_ = reached_ = limit_ = 0;
        closed_ = false;
    }

private:
    class Occurrences;
    // Where a look ended, and whether at a closing line (else where it gave up).
    struct LookEnd {
        uint64_t at;
        bool closed;
    };

    // Looks for the closing line from the line at from on.
    LookEnd LookFrom(CallContext &ctx, Reader &data, uint64_t from, uint64_t limit) const;

    std::string delimiter_;
    uint64_t from_ = 0;    // the delimiter line the last look began at
    uint64_t reached_ = 0; // where it ended: the closing line, or where it gave up
    bool closed_ = false;
    uint64_t limit_ = 0;
};

} // namespace corvex
