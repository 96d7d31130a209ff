// Finds where the next mail message begins: the first line of the first run
// of header-like lines whose weight reaches the threshold.
#pragma once

#include <cstdint>

#include "CallContext.h"
#include "ClassifyHeaderLine.h"
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
ScanResult ScanForMessage(CallContext &ctx, Reader &data, uint64_t limit, uint64_t start,
                          bool resync, BoundaryBuffer boundary, int32_t threshold);

inline ScanResult FindMessageStart(CallContext &ctx, Reader &data, uint64_t limit,
                                   uint64_t start, int32_t kind, bool resync,
                                   BoundaryBuffer boundary) {
    return ScanForMessage(ctx, data, limit, start, resync, boundary,
                          ThresholdFor(ctx, kind, start));
}

// Bytes of the line at offset before its first CR, LF or NUL (or the end).
uint64_t MeasureLine(Reader &data, uint64_t offset);
// Steps over one line end at offset: CR LF, LF, CR or LF LF.
uint64_t ConsumeTerminator(Reader &data, uint64_t offset);

} // namespace corvex
