// Finding a short text in a block of bytes, many bytes at a time: the
// first and the last byte of the text are compared sixteen positions at
// once, and only where both agree is the whole text compared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvex {

// Offset of the first occurrence of text (m bytes, m >= 1) in p[0..n), or n.
inline size_t FindText(const uint8_t *p, size_t n, const uint8_t *text, size_t m) {
    if (m == 0 || m > n)
        return n;
    const size_t last = n - m; // the last offset a match may start at
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(char(text[0])), final = _mm_set1_epi8(char(text[m - 1]));
    for (; i + 16 <= last + 1; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + m - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, final))));
        while (mask) {
            const size_t at = i + size_t(__builtin_ctz(mask));
            if (std::memcmp(p + at + 1, text + 1, m - 1) == 0)
                return at;
            mask &= mask - 1;
        }
    }
#endif
    while (i <= last) {
        const void *hit = std::memchr(p + i, text[0], last - i + 1);
        if (!hit)
            return n;
        const size_t at = size_t(static_cast<const uint8_t *>(hit) - p);
        if (std::memcmp(p + at + 1, text + 1, m - 1) == 0)
            return at;
        i = at + 1;
    }
    return n;
}

} // namespace corvex
