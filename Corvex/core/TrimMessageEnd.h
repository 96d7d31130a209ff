// Where a message of an @nifty bulk-save file or of an mbox file really
// ends: before the lead-in lines of the message that follows it.
#pragma once

#include <cstdint>

#include "CallContext.h"
#include "Reader.h"

namespace corvex {

// end is the length of the message after its header block, which ends at
// blockEnd; returns the length to keep (never more than end).
uint64_t TrimMessageEnd(CallContext &ctx, Reader &data, uint64_t blockEnd, uint64_t end,
                        int32_t kind);

} // namespace corvex
