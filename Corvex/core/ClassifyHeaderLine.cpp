#include "ClassifyHeaderLine.h"

#include "HeaderNameTable.h"

namespace corvex {

namespace {

// Bytes of the line's beginning that the classification may look at: names
// are at most 35 bytes and the media type test reads distances 14 to 28.
constexpr size_t kWindow = 40;

inline uint8_t Upper(uint8_t c) { return (c >= 'a' && c <= 'z') ? uint8_t(c - 32) : c; }
inline bool IsAsciiLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// ASCII letters without regard to case, every other byte as it stands, so a
// double-byte character never equals an ASCII one.
bool NameEquals(const uint8_t *line, const char *name, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (Upper(line[i]) != Upper(uint8_t(name[i])))
            return false;
    return true;
}

} // namespace

bool CaptureBoundary(const CallContext &ctx, Reader &data, uint64_t lineStart,
                     uint64_t lineLength, BoundaryBuffer boundary) {
    static const char kKey[] = "boundary=";
    const uint64_t keyLength = sizeof kKey - 1;
    uint64_t at = 0;
    bool found = false;
    while (at + keyLength <= lineLength) {
        uint8_t b = data.ByteAt(lineStart + at);
        if (b == 'b') {
            uint64_t k = 1;
            while (k < keyLength && data.ByteAt(lineStart + at + k) == uint8_t(kKey[k]))
                ++k;
            if (k == keyLength) {
                found = true;
                break;
            }
        }
        at += ctx.IsLead(b) ? 2 : 1;
    }
    if (!found)
        return false;

    uint64_t begin = at + keyLength, end = lineLength;
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

    if (!boundary.Supplied() || boundary.size < 3)
        return true;
    const uint64_t room = boundary.size - 3;
    char *out = boundary.text;
    out[0] = '-';
    out[1] = '-';
    uint64_t length = 0;
    while (begin + length < end) {
        uint8_t c = data.ByteAt(lineStart + begin + length);
        uint64_t width = (ctx.IsLead(c) && begin + length + 1 < end) ? 2 : 1;
        if (length + width > room)
            break;
        for (uint64_t k = 0; k < width; ++k)
            out[2 + length + k] = char(data.ByteAt(lineStart + begin + length + k));
        length += width;
    }
    out[2 + length] = 0;
    return true;
}

LineClass ClassifyHeaderLine(CallContext &ctx, Reader &data, uint64_t lineStart,
                             uint64_t lineLength, int64_t runWeight, RunState &state,
                             BoundaryBuffer boundary, int32_t &weight) {
    weight = 0;
    uint8_t local[kWindow];
    size_t spanLength;
    const uint8_t *line = data.Span(lineStart, spanLength);
    if (spanLength < kWindow) {
        data.ReadBytesAt(lineStart, local, kWindow);
        line = local;
    }

    const uint8_t letter = Upper(line[0]);
    if (letter < 'A' || letter > 'Z') {
        // Not a letter line: a continuation of a field that allows one.
        if (!state.continuationAllowed)
            return LineClass::Break;
        if (state.multipartSeen && boundary.Supplied() && boundary.Empty() &&
            !CaptureBoundary(ctx, data, lineStart, lineLength, boundary))
            state.multipartSeen = false;
        return LineClass::Continuation;
    }

    const int32_t first = HeaderLetterIndex[letter - 'A'];
    const int32_t end = HeaderLetterIndex[letter - 'A' + 1];
    for (int32_t e = first; e < end; ++e) {
        ctx.Pump();
        const HeaderName &entry = HeaderNameTable[e];
        state.continuationAllowed = entry.continuationOk;
        // A line shorter than a name matches when it equals the name's beginning.
        size_t n = lineLength < entry.length ? size_t(lineLength) : entry.length;
        if (!NameEquals(line, entry.name, n))
            continue;
        weight = entry.weight;
        if (NameEquals(line, "Content-Type:", 13) && NameEquals(line + 14, "multipart/mixed", 15)) {
            state.multipartSeen = true;
            if (boundary.Supplied() && boundary.Empty())
                CaptureBoundary(ctx, data, lineStart, lineLength, boundary);
        }
        return LineClass::KnownField;
    }

    // A field that is not in the table extends a run but never starts one.
    if (runWeight == 0)
        return LineClass::Break;
    for (size_t d = 0; d < 36; ++d) {
        ctx.Pump();
        uint8_t c = line[d];
        if (c == ':' && d >= 1) {
            weight = 1;
            return LineClass::GenericField;
        }
        if (!IsAsciiLetter(c) && c != '-')
            return LineClass::Break;
    }
    return LineClass::Break;
}

} // namespace corvex
