#include "FindMessageStart.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Corvex.h"

namespace corvex {

namespace {

constexpr uint8_t CR = 13, LF = 10;

// Index of the first CR, LF or NUL in p[0..n), or n; many bytes at a time.
size_t FindLineEnd(const uint8_t *p, size_t n) {
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), lf = _mm_set1_epi8(LF), cr = _mm_set1_epi8(CR);
    auto ends = [&](size_t at) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + at));
        return unsigned(_mm_movemask_epi8(_mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, zero), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, cr))));
    };
    for (; i + 32 <= n; i += 32) {
        unsigned mask = ends(i) | ends(i + 16) << 16;
        if (mask)
            return i + size_t(__builtin_ctz(mask));
    }
    if (i + 16 <= n) {
        if (unsigned mask = ends(i))
            return i + size_t(__builtin_ctz(mask));
        i += 16;
    }
#endif
    constexpr uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    auto hasZero = [](uint64_t v) { return (v - ones) & ~v & highs; };
    for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, p + i, 8);
        if (hasZero(v) | hasZero(v ^ (ones * LF)) | hasZero(v ^ (ones * CR)))
            break;
    }
    for (; i < n; ++i)
        if (p[i] == 0 || p[i] == LF || p[i] == CR)
            return i;
    return n;
}

bool LineStartsWith(Reader &data, uint64_t offset, const char *text, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (data.ByteAt(offset + i) != uint8_t(text[i]))
            return false;
    return true;
}

inline uint64_t Measure(Reader &data, uint64_t offset) {
    uint64_t p = offset;
    for (;;) {
        size_t n;
        const uint8_t *span = data.Span(p, n);
        if (!n)
            return p - offset;
        size_t i = FindLineEnd(span, n);
        if (i < n)
            return p + i - offset;
        p += n;
    }
}

inline uint64_t Consume(Reader &data, uint64_t offset) {
    uint8_t b = data.ByteAt(offset);
    if (b == CR || b == LF) {
        ++offset;
        if (data.ByteAt(offset) == LF)
            ++offset;
    }
    return offset;
}

} // namespace

uint64_t MeasureLine(Reader &data, uint64_t offset) { return Measure(data, offset); }
uint64_t ConsumeTerminator(Reader &data, uint64_t offset) { return Consume(data, offset); }

int32_t ThresholdFor(CallContext &ctx, int32_t kind, uint64_t start) {
    int32_t threshold = ctx.SettingThreshold();
    return (kind == KindGeneral && start == 0) ? 1 : threshold;
}

ScanResult ScanForMessage(CallContext &ctx, Reader &data, uint64_t limit, uint64_t start,
                          bool resync, BoundaryBuffer boundary, int32_t threshold) {
    uint64_t position = start;
    int64_t runWeight = 0;
    uint64_t runStart = 0;
    RunState state;
    size_t boundaryLength = boundary.Empty() ? 0 : strnlen(boundary.text, boundary.size);

    for (;;) {
        ctx.Pump();
        uint64_t length = Measure(data, position);

        // Step over the parts of a multipart body, so that the header blocks of
        // messages forwarded inside it are not taken for new messages.
        if (boundaryLength && length == boundaryLength &&
            LineStartsWith(data, position, boundary.text, boundaryLength)) {
            for (;;) {
                position = Consume(data, position + length);
                length = Measure(data, position);
                if (length > boundaryLength &&
                    LineStartsWith(data, position, boundary.text, boundaryLength))
                    break;
                if (position >= limit || data.ByteAt(position) == 0)
                    break;
            }
        }

        int32_t weight = 0;
        LineClass kind = ClassifyHeaderLine(ctx, data, position, length, runWeight, state,
                                            boundary, weight);
        if (!boundaryLength && !boundary.Empty())
            boundaryLength = strnlen(boundary.text, boundary.size);

        bool evaluate = true;
        if (kind == LineClass::KnownField || kind == LineClass::GenericField ||
            kind == LineClass::Continuation) {
            if (kind != LineClass::Continuation) {
                if (runWeight == 0)
                    runStart = position - start;
                runWeight += weight;
            }
            position += length;
            bool ended = data.ByteAt(position) == 0 ||
                         (kind == LineClass::Continuation && length == 0);
            position = Consume(data, position);
            evaluate = ended || position >= limit;
        }
        if (!evaluate)
            continue;

        if (runWeight >= threshold) {
            ScanResult found;
            found.offset = int64_t(runStart);
            found.headerLength = position - start - runStart + 1;
            return found;
        }
        if (resync && data.ByteAt(position) != 0) {
            // A short run is dropped; the search goes on after the line examined last.
            position = Consume(data, position + length);
            runWeight = 0;
            continue;
        }
        return ScanResult();
    }
}

} // namespace corvex
