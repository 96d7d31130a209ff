#include "MultipartSkip.h"

#include <cstring>

#include "LineEnds.h"

namespace corvex {

bool MultipartSkip::ClosingLine(CallContext &ctx, Reader &data, const char *delimiter, size_t n,
                                uint64_t at, uint64_t limit, uint64_t &closeAt) {
    if (n == 0 || n >= sizeof delimiter_)
        return false;
    const bool same = length_ == n && limit_ == limit && from_ <= at &&
                      std::memcmp(delimiter_, delimiter, n) == 0;
    if (same && closed_ && reached_ > at) {
        closeAt = reached_;
        return true;
    }
    if (same && !closed_ && at < reached_)
        return false;

    // A new look, from this delimiter line on; each look starts past where the
    // last one for this boundary ended, so the lines are read once.
    std::memcpy(delimiter_, delimiter, n);
    length_ = n;
    limit_ = limit;
    from_ = at;
    closed_ = false;
    uint64_t position = ConsumeTerminator(data, at + n);
    for (;;) {
        ctx.Pump();
        if (position >= limit || data.ByteAt(position) == 0)
            break;
        const uint64_t length = MeasureLine(data, position);
        if (length >= n + 2 && BytesEqual(data, position, delimiter, n) &&
            data.ByteAt(position + n) == '-' && data.ByteAt(position + n + 1) == '-') {
            closed_ = true;
            break;
        }
        if (DeclaresBoundary(ctx, data, position, length, delimiter, n))
            break;
        position = ConsumeTerminator(data, position + length);
    }
    reached_ = position;
    closeAt = position;
    return closed_;
}

} // namespace corvex
