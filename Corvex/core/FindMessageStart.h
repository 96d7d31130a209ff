// Finds where the next mail message begins: the first line of the first run
// of header-like lines whose weight reaches the threshold.
#pragma once

#include <cstdint>

#include "Boundary.h"
#include "CallContext.h"
#include "ClassifyHeaderLine.h"
#include "LineEnds.h"
#include "MultipartSkip.h"
#include "Reader.h"

namespace corvex {

struct ScanResult {
    int64_t offset = -1;        // the run's first line, counted from start; -1: none
    uint64_t headerLength = 0;  // the run's length plus one; 0 when none
    bool Found() const { return offset >= 0; }
};

// The weight a run needs for a search of this kind from this offset: the
// setting's, except that a general text file's first message needs only one
// field line.
int32_t ThresholdFor(CallContext &ctx, int32_t kind, uint64_t start);

// The search from start (below limit, the file size plus one) with a given
// threshold. resync: go on after a run that falls short.
// boundary comes in holding the boundary of the message whose body the
// search is in: its parts are stepped over. It goes out holding the boundary
// that the accepted run declared, or empty when it declared none. skip keeps
// the looks for closing lines from one search to the next; null: this
// search's own.
ScanResult ScanForMessage(CallContext &ctx, Reader &data, uint64_t limit, uint64_t start,
                          bool resync, BoundaryBuffer boundary, int32_t threshold,
                          MultipartSkip *skip = nullptr);

inline ScanResult FindMessageStart(CallContext &ctx, Reader &data, uint64_t limit,
                                   uint64_t start, int32_t kind, bool resync,
                                   BoundaryBuffer boundary) {
    return ScanForMessage(ctx, data, limit, start, resync, boundary,
                          ThresholdFor(ctx, kind, start));
}

} // namespace corvex
