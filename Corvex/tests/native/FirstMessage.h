// The tests' look at one place of the input: the first message from start
// on (a line's first byte), as a fresh walk of the scanner finds it.
#pragma once

#include <cstdint>

#include "FindMessageStart.h"

namespace corvex {

inline ScanResult FindMessageStart(CallContext &ctx, Reader &data, uint64_t limit, uint64_t start,
                                   int32_t kind) {
    return MessageScanner(ctx, data, limit, kind, start).Next();
}

} // namespace corvex
