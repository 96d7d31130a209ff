#include "ClassifyHeaderLine.h"

#include <cstring>

#include "ByteSearch.h"

namespace corvex {

namespace {

// Bytes of a line that a name can cover: the longest name.
constexpr size_t kNameReach = 35;

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

// Names are compared eight bytes at a time: a letter may differ from the
// name's only in the case bit, any other byte must be equal.
struct Candidates {
    uint8_t upper[kHeaderNameCount][kLineWindow] = {};
    uint8_t caseBit[kHeaderNameCount][kLineWindow] = {};
    uint8_t keep[9][8] = {}; // keep[k]: the first k bytes of a word
    // A name's colon stands where the line's first colon does, or the line
    // ends before it: for each letter, the entries whose colon is at c (and
    // the one name without a colon), and those whose colon a line of n bytes
    // (n up to kNameReach) does not reach.
    uint32_t colonAt[26][kNameReach] = {};
    uint32_t colonBeyond[26][kNameReach + 1] = {};
    int32_t contentType = -1;
    Candidates() {
        for (int l = 0; l < 26; ++l)
            for (int e = HeaderLetterIndex[l]; e < HeaderLetterIndex[l + 1]; ++e) {
                const HeaderName &h = HeaderNameTable[e];
                const uint32_t bit = 1u << (e - HeaderLetterIndex[l]);
                const char *colon = static_cast<const char *>(std::memchr(h.name, ':', h.length));
                const size_t at = colon ? size_t(colon - h.name) : kNameReach;
                for (size_t c = 0; c < kNameReach; ++c)
                    if (c == at || !colon)
                        colonAt[l][c] |= bit;
                for (size_t n = 0; n <= kNameReach; ++n)
                    if (at >= n)
                        colonBeyond[l][n] |= bit;
            }
        for (int k = 0; k <= 8; ++k)
            for (int i = 0; i < k; ++i)
                keep[k][i] = 0xFF;
        for (int e = 0; e < kHeaderNameCount; ++e) {
            const HeaderName &h = HeaderNameTable[e];
            if (std::strcmp(h.name, "Content-Type:") == 0)
                contentType = e;
            for (int i = 0; i < h.length; ++i) {
                upper[e][i] = Upper(uint8_t(h.name[i]));
                caseBit[e][i] = IsAsciiLetter(uint8_t(h.name[i])) ? 0x20 : 0;
            }
        }
    }
};
const Candidates kCandidates;

inline uint64_t Word(const uint8_t *p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// The first n bytes of the line (a window of kLineWindow bytes) against entry e.
bool PrefixEquals(const uint8_t *line, int32_t e, size_t n) {
    const uint8_t *name = kCandidates.upper[e], *caseBit = kCandidates.caseBit[e];
    size_t i = 0;
    for (; i + 8 <= n; i += 8)
        if ((Word(line + i) ^ Word(name + i)) & ~Word(caseBit + i))
            return false;
    return i == n ||
           !((Word(line + i) ^ Word(name + i)) & ~Word(caseBit + i) & Word(kCandidates.keep[n - i]));
}

// The first entry of the letter whose leading bytes the line matches, or -1.
int32_t FirstMatch(const uint8_t *line, uint64_t lineLength, int letter) {
    const int32_t first = HeaderLetterIndex[letter];
    if (lineLength == 1)
        return first; // one byte: the letter itself matches the first name
    uint32_t mask = kLineInitials.Candidates(line, lineLength, letter);
    if (mask & (mask - 1)) {
        // More than one name begins so: the colon tells them apart.
        const size_t reach = lineLength < kNameReach ? size_t(lineLength) : kNameReach;
        const size_t colon = FindByte(line, reach, ':');
        mask &= colon < reach ? kCandidates.colonAt[letter][colon] : kCandidates.colonBeyond[letter][reach];
    }
    while (mask) {
        int32_t e = first + __builtin_ctz(mask);
        mask &= mask - 1;
        const HeaderName &entry = HeaderNameTable[e];
        size_t n = lineLength < entry.length ? size_t(lineLength) : entry.length;
        if (PrefixEquals(line, e, n))
            return e;
    }
    return -1;
}

// Whether the media type of the Content-Type line (after the colon and any
// spaces or TABs) begins with "multipart/", without regard to case.
bool IsMultipartType(Reader &data, uint64_t lineStart, uint64_t lineLength) {
    static const char kType[] = "MULTIPART/";
    const uint64_t typeLength = sizeof kType - 1;
    uint64_t at = 13; // past "Content-Type:"
    while (at < lineLength && (data.ByteAt(lineStart + at) == ' ' || data.ByteAt(lineStart + at) == '\t'))
        ++at;
    if (lineLength - at < typeLength)
        return false;
    for (uint64_t i = 0; i < typeLength; ++i)
        if (Upper(data.ByteAt(lineStart + at + i)) != uint8_t(kType[i]))
            return false;
    return true;
}

// What the bytes of a line that begins with a letter say of it.
struct LetterLine {
    int32_t entry = -1;    // the first entry of the table it matches; -1: none
    unsigned tried = 0;    // the entries tried, in table order, each a pump point
    int32_t marked = -1;   // the last entry tried, whose continuation mark follows; -1: none
    bool generic = false;  // no entry matches, but inside a run it is a field all the same
    unsigned examined = 0; // the bytes the generic-field test looked at, each a pump point
    // What the line adds to a run's weight when it is a field.
    int32_t Weight() const { return entry >= 0 ? HeaderNameTable[entry].weight : generic ? 1 : 0; }
};

// Entries are tried in table order and the continuation mark follows the
// last one tried. A field that is not in the table extends a run (inRun) but
// never starts one: a name of letters and hyphens, then a colon, within 36
// bytes.
LetterLine ReadLetterLine(const uint8_t *line, uint64_t lineLength, int letter, bool inRun) {
    LetterLine read;
    const int32_t first = HeaderLetterIndex[letter], end = HeaderLetterIndex[letter + 1];
    if (first < end) {
        read.entry = FirstMatch(line, lineLength, letter);
        read.tried = unsigned(read.entry >= 0 ? read.entry - first + 1 : end - first);
        read.marked = read.entry >= 0 ? read.entry : end - 1;
        if (read.entry >= 0)
            return read;
    }
    if (!inRun)
        return read;
    for (size_t d = 0; d < 36; ++d) {
        const uint8_t c = line[d];
        if ((c == ':' && d >= 1) || (!IsAsciiLetter(c) && c != '-')) {
            read.generic = c == ':' && d >= 1;
            read.examined = unsigned(d + 1);
            return read;
        }
    }
    read.examined = 36;
    return read;
}

// A new field closes the one before it, and with it any Content-Type whose
// boundary was still awaited.
void LeaveLetterLine(const LetterLine &read, RunState &state) {
    state.multipartSeen = false;
    if (read.marked >= 0)
        state.continuationAllowed = HeaderNameTable[read.marked].continuationOk;
}

} // namespace

// The quick way to the first matching entry in table order.
LineInitials::LineInitials() : fold(), kind(), second(), third() {
    for (int c = 0; c < 256; ++c)
        fold[c] = Upper(uint8_t(c));
    for (int l = 0; l < 26; ++l) {
        const int32_t first = HeaderLetterIndex[l], end = HeaderLetterIndex[l + 1];
        kind['A' + l] = kind['a' + l] = first < end ? 2 : 1;
        for (int e = first; e < end; ++e) {
            const HeaderName &h = HeaderNameTable[e];
            const uint32_t bit = 1u << (e - first);
            const uint8_t b = Upper(uint8_t(h.name[1]));
            if (b >= 0x20 && b < 0x60)
                second[l][b - 0x20] |= bit;
            for (int c = 0; c < 256; ++c)
                if (h.length == 2 || fold[c] == Upper(uint8_t(h.name[2])))
                    third[l][c] |= bit;
        }
    }
}
const LineInitials kLineInitials;

LineClass ClassifyHeaderLine(CallContext &ctx, Reader &data, uint64_t lineStart,
                             uint64_t lineLength, int64_t runWeight, RunState &state,
                             BoundaryBuffer boundary, int32_t &weight) {
    weight = 0;
    uint8_t local[kLineWindow];
    size_t spanLength;
    const uint8_t *line = data.Span(lineStart, spanLength);
    if (spanLength < kLineWindow) {
        data.ReadBytesAt(lineStart, local, kLineWindow);
        line = local;
    }

    const uint8_t letter = Upper(line[0]);
    if (letter < 'A' || letter > 'Z') {
        if (!ContinuesField(line[0], runWeight > 0, state))
            return LineClass::Break;
        if (state.multipartSeen && boundary.Supplied() && boundary.Empty() &&
            CaptureBoundary(ctx, data, lineStart, lineLength, boundary))
            state.multipartSeen = false;
        return LineClass::Continuation;
    }

    const LetterLine read = ReadLetterLine(line, lineLength, letter - 'A', runWeight > 0);
    ctx.PumpPoints(read.tried + read.examined);
    LeaveLetterLine(read, state);
    weight = read.Weight();
    if (read.entry >= 0) {
        if (read.entry == kCandidates.contentType && lineLength >= 13 &&
            NameEquals(line, "Content-Type:", 13) && IsMultipartType(data, lineStart, lineLength) &&
            boundary.Supplied() && boundary.Empty())
            state.multipartSeen = !CaptureBoundary(ctx, data, lineStart, lineLength, boundary);
        return LineClass::KnownField;
    }
    return read.generic ? LineClass::GenericField : LineClass::Break;
}

bool RunFieldLine(const uint8_t *line, uint64_t lineLength, RunState &state, int32_t &weight,
                  unsigned &points) {
    const uint8_t letter = Upper(line[0]);
    if (letter < 'A' || letter > 'Z')
        return false;
    const LetterLine read = ReadLetterLine(line, lineLength, letter - 'A', true);
    if (read.entry == kCandidates.contentType || (read.entry < 0 && !read.generic))
        return false;
    points += read.tried + read.examined;
    LeaveLetterLine(read, state);
    weight = read.Weight();
    return true;
}

} // namespace corvex
