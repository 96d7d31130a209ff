// Finding a byte, or a short text, in a block of bytes, many bytes at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "Simd.h"

namespace corvex {

// Whether the m bytes at a and b are equal. (The C library's memchr and
// memcmp of some platforms go one byte at a time through a call each.)
inline bool SameBytes(const uint8_t *a, const uint8_t *b, size_t m) {
    for (size_t i = 0; i < m; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// Offset of the first byte equal to value in p[0..n), or n: eight bytes at
// a time in a 64-bit word.
inline size_t FindByteScalar(const uint8_t *p, size_t n, uint8_t value) {
    constexpr uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    const uint64_t pattern = ones * value;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        w ^= pattern;
        if ((w - ones) & ~w & highs)
            break;
    }
    for (; i < n; ++i)
        if (p[i] == value)
            return i;
    return n;
}

#if CORVEX_SSE2
// The same, sixteen bytes at a time.
CORVEX_SSE2_TARGET inline size_t FindByteSse2(const uint8_t *p, size_t n, uint8_t value) {
    size_t i = 0;
    const __m128i v = _mm_set1_epi8(char(value));
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        if (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(a, v))))
            return i + size_t(__builtin_ctz(mask));
    }
    return i + FindByteScalar(p + i, n - i, value);
}
#endif

// The widest of the two that the processor has.
inline size_t FindByte(const uint8_t *p, size_t n, uint8_t value) {
#if CORVEX_SSE2
    if (HasSse2())
        return FindByteSse2(p, n, value);
#endif
    return FindByteScalar(p, n, value);
}

// Offset of the first occurrence of text (m bytes, m >= 1) in p[0..n), or n.
inline size_t FindTextScalar(const uint8_t *p, size_t n, const uint8_t *text, size_t m) {
    for (size_t i = 0; i < n;) {
        const size_t at = i + FindByte(p + i, n - i, text[0]);
        if (at == n || (at + m <= n && SameBytes(p + at + 1, text + 1, m - 1)))
            return at;
        i = at + 1;
    }
    return n;
}

#if CORVEX_SSE2
// The same with SSE2: the first and the last byte of the text compared
// sixteen positions at once; only where both agree is the whole text
// compared.
CORVEX_SSE2_TARGET inline size_t FindTextSse2(const uint8_t *p, size_t n, const uint8_t *text,
                                              size_t m) {
    size_t i = 0;
    if (m <= n) {
        const __m128i first = _mm_set1_epi8(char(text[0])), final = _mm_set1_epi8(char(text[m - 1]));
        for (; i + 16 <= n - m + 1; i += 16) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + m - 1));
            unsigned mask = unsigned(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, final))));
            for (; mask; mask &= mask - 1) {
                const unsigned bit = unsigned(__builtin_ctz(mask));
                if (SameBytes(p + i + bit + 1, text + 1, m - 1))
                    return i + bit;
            }
        }
    }
    return i + FindTextScalar(p + i, n - i, text, m);
}
#endif

// The widest of the two that the processor has.
inline size_t FindText(const uint8_t *p, size_t n, const uint8_t *text, size_t m) {
#if CORVEX_SSE2
    if (HasSse2())
        return FindTextSse2(p, n, text, m);
#endif
    return FindTextScalar(p, n, text, m);
}

} // namespace corvex
