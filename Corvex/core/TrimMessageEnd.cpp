#include "TrimMessageEnd.h"

#include <cstring>

#include "Corvex.h"

namespace corvex {

namespace {

inline bool IsBreak(uint8_t b) { return b == 13 || b == 10; }

// "題名：" in Shift-JIS: the subject line that opens an @nifty entry.
const uint8_t kNiftyTitle[6] = {0x91, 0xE8, 0x96, 0xBC, 0x81, 0x46};

// From the subject line back over it and the line above it: the message ends
// right after the last byte of the line two above the subject line.
uint64_t NiftyCut(Reader &data, uint64_t base, uint64_t x) {
    auto at = [&](uint64_t i) { return data.ByteAt(base + i); };
    for (int line = 0; line < 2; ++line) {
        while (x > 0 && !IsBreak(at(x)))
            --x;
        for (int k = 0; k < 2; ++k)
            if (x > 0 && IsBreak(at(x)))
                --x;
    }
    return x + 1;
}

} // namespace

uint64_t TrimMessageEnd(CallContext &ctx, Reader &data, uint64_t blockEnd, uint64_t end,
                        int32_t kind) {
    if ((kind != KindNifty && kind != KindMbox) || end <= 1)
        return end;
    auto at = [&](uint64_t i) { return data.ByteAt(blockEnd + i); };
    const int lines = kind == KindNifty ? 3 : 2;
    const uint8_t *lead = kind == KindNifty ? kNiftyTitle : reinterpret_cast<const uint8_t *>("From ");
    const size_t leadLength = kind == KindNifty ? 6 : 5;
    uint64_t x = end - 1;
    for (int n = 0; n < lines;) {
        ctx.Pump();
        while (x > 0 && !IsBreak(at(x))) {
            // Only a position that holds the first byte can start a match.
            if (at(x) == lead[0]) {
                uint8_t six[6];
                data.ReadBytesAt(blockEnd + x, six, sizeof six);
                if (std::memcmp(six, lead, leadLength) == 0)
                    return kind == KindNifty ? NiftyCut(data, blockEnd, x)
                                             : x; // right before the separator line
            }
            ctx.Pump();
            --x;
        }
        if (x == 0)
            return end;
        ++n;
        --x; // one line end is one or two line-break bytes
        if (x > 0 && IsBreak(at(x)))
            --x;
        if (x == 0)
            return end;
    }
    return end;
}

} // namespace corvex
