// Finding where lines end, many bytes at a time. Lines end at CR or LF; a
// NUL byte is ordinary data (files left by a program that crashed, or padded
// by a disk tool, hold them), and only the end of the file ends the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ByteSearch.h"
#include "Reader.h"
#include "Simd.h"

namespace corvex {

// Index of the first CR or LF in p[0..n), or n: eight bytes at a time in a
// 64-bit word.
inline size_t FindLineEndScalar(const uint8_t *p, size_t n) {
    constexpr uint8_t CR = 13, LF = 10;
    constexpr uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    auto hasZero = [](uint64_t v) { return (v - ones) & ~v & highs; };
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, p + i, 8);
        if (hasZero(v ^ (ones * LF)) | hasZero(v ^ (ones * CR)))
            break;
    }
    for (; i < n; ++i)
        if (p[i] == LF || p[i] == CR)
            return i;
    return n;
}

#if CORVEX_SSE2
// The line ends among the sixteen bytes at p, as a bit for each byte.
CORVEX_SSE2_TARGET inline unsigned LineEndMask(const uint8_t *p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(10)), _mm_cmpeq_epi8(v, _mm_set1_epi8(13)));
    return unsigned(_mm_movemask_epi8(hit));
}

// The same, thirty-two bytes at a time.
CORVEX_SSE2_TARGET inline size_t FindLineEndSse2(const uint8_t *p, size_t n) {
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        if (unsigned mask = LineEndMask(p + i) | LineEndMask(p + i + 16) << 16)
            return i + size_t(__builtin_ctz(mask));
    }
    if (i + 16 <= n) {
        if (unsigned mask = LineEndMask(p + i))
            return i + size_t(__builtin_ctz(mask));
        i += 16;
    }
    return i + FindLineEndScalar(p + i, n - i);
}
#endif

// The widest of the two that the processor has.
inline size_t FindLineEnd(const uint8_t *p, size_t n) {
#if CORVEX_SSE2
    if (HasSse2())
        return FindLineEndSse2(p, n);
#endif
    return FindLineEndScalar(p, n);
}

// Index of the first byte equal to value in p[0..n) that begins a line, or
// n: p[0] when firstBegins, any other right after a CR or an LF.
inline size_t FindLineStartByteScalar(const uint8_t *p, size_t n, uint8_t value, bool firstBegins) {
    for (size_t i = 0; i < n;) {
        i += FindByteScalar(p + i, n - i, value);
        if (i < n && (i == 0 ? firstBegins : p[i - 1] == 10 || p[i - 1] == 13))
            return i;
        ++i;
    }
    return n;
}

#if CORVEX_SSE2
// The same, sixteen bytes at a time: the bytes and the bytes before them
// compared at once.
CORVEX_SSE2_TARGET inline size_t FindLineStartByteSse2(const uint8_t *p, size_t n, uint8_t value,
                                                       bool firstBegins) {
    if (!n || (firstBegins && p[0] == value))
        return 0;
    const __m128i v = _mm_set1_epi8(char(value));
    size_t i = 1;
    for (; i + 16 <= n; i += 16) {
        const __m128i at = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i - 1));
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(before, _mm_set1_epi8(10)),
                                          _mm_cmpeq_epi8(before, _mm_set1_epi8(13)));
        if (unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(at, v), ends))))
            return i + size_t(__builtin_ctz(mask));
    }
    const bool endBefore = p[i - 1] == 10 || p[i - 1] == 13;
    return i + FindLineStartByteScalar(p + i, n - i, value, endBefore);
}
#endif

// The widest of the two that the processor has.
inline size_t FindLineStartByte(const uint8_t *p, size_t n, uint8_t value, bool firstBegins) {
#if CORVEX_SSE2
    if (HasSse2())
        return FindLineStartByteSse2(p, n, value, firstBegins);
#endif
    return FindLineStartByteScalar(p, n, value, firstBegins);
}

// Bytes of the line at offset before its first CR or LF (or the end of the
// file).
inline uint64_t MeasureLine(Reader &data, uint64_t offset) {
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

// Steps over the one line end at offset, if there is one: CR LF, a lone CR
// or a lone LF (so LF LF is a line end and an empty line).
inline uint64_t ConsumeTerminator(Reader &data, uint64_t offset) {
    const uint8_t b = data.ByteAt(offset);
    if (b == 13)
        return data.ByteAt(offset + 1) == 10 ? offset + 2 : offset + 1;
    return b == 10 ? offset + 1 : offset;
}

// Whether the n bytes at offset are those of text.
inline bool BytesEqual(Reader &data, uint64_t offset, const char *text, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (data.ByteAt(offset + i) != uint8_t(text[i]))
            return false;
    return true;
}

} // namespace corvex
