#include "Boundary.h"

#include <cstring>

namespace corvex {

namespace {

constexpr char kKey[] = "boundary";
constexpr uint64_t kKeyLength = sizeof kKey - 1; // the letters before the "="

inline uint8_t Lower(uint8_t c) { return (c >= 'A' && c <= 'Z') ? uint8_t(c + 32) : c; }

} // namespace

bool FindBoundaryValue(const CallContext &ctx, Reader &data, uint64_t lineStart,
                       uint64_t lineLength, BoundaryValue &value) {
    // Every "=" is a candidate end of the key; the walk over the characters
    // before it, to see that the key starts on a character boundary, only
    // ever moves forward.
    uint64_t walk = 0;
    for (uint64_t at = kKeyLength; at < lineLength;) {
        size_t count;
        const uint8_t *span = data.Span(lineStart + at, count);
        if (!count)
            return false;
        if (count > lineLength - at)
            count = size_t(lineLength - at);
        const void *hit = std::memchr(span, '=', count);
        if (!hit) {
            at += count;
            continue;
        }
        const uint64_t equals = at + uint64_t(static_cast<const uint8_t *>(hit) - span);
        at = equals + 1;
        const uint64_t key = equals - kKeyLength;
        uint64_t k = 0;
        while (k < kKeyLength && Lower(data.ByteAt(lineStart + key + k)) == uint8_t(kKey[k]))
            ++k;
        if (k < kKeyLength)
            continue;
        while (walk < key)
            walk += ctx.IsLead(data.ByteAt(lineStart + walk)) ? 2 : 1;
        if (walk != key)
            continue; // its "b" is the second byte of a double-byte character

        uint64_t begin = equals + 1, end = lineLength;
        if (begin < lineLength && data.ByteAt(lineStart + begin) == '"') {
            ++begin;
            for (uint64_t i = begin; i < lineLength; ++i)
                if (data.ByteAt(lineStart + i) == '"') {
                    end = i;
                    break;
                }
        } else {
            // None of these bytes can be the second byte of a double-byte character.
            for (uint64_t i = begin; i < lineLength; ++i) {
                uint8_t c = data.ByteAt(lineStart + i);
                if (c == ';' || c == ' ' || c == '\t') {
                    end = i;
                    break;
                }
            }
        }
        value.begin = begin;
        value.end = end;
        return true;
    }
    return false;
}

bool DeclaresBoundary(const CallContext &ctx, Reader &data, uint64_t lineStart,
                      uint64_t lineLength, const char *delimiter, size_t n) {
    BoundaryValue value;
    if (n < 2 || !FindBoundaryValue(ctx, data, lineStart, lineLength, value) ||
        value.end - value.begin != n - 2)
        return false;
    for (size_t i = 2; i < n; ++i)
        if (data.ByteAt(lineStart + value.begin + i - 2) != uint8_t(delimiter[i]))
            return false;
    return true;
}

} // namespace corvex
