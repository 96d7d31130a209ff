// Whether the searches may use the processor's 16-byte SSE2 instructions.
//
// Where the compiler may assume SSE2 (every x86_64 build), they always do.
// The 32-bit Windows build may not assume it: Windows 2000 and XP, which the
// product still installs on, ran on processors without SSE2. There the wide
// searches are compiled for SSE2 alone and chosen once the processor has
// said that it has it; without it, the word-at-a-time searches run.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#define CORVEX_SSE2 1
#define CORVEX_SSE2_TARGET
namespace corvex {
constexpr bool HasSse2() { return true; }
} // namespace corvex
#elif defined(__i386__) && defined(__GNUC__)
#include <emmintrin.h>
#define CORVEX_SSE2 1
#define CORVEX_SSE2_CHOSEN_AT_LOAD 1
#define CORVEX_SSE2_TARGET __attribute__((target("sse2")))
namespace corvex {
extern const bool kHasSse2; // read off the processor when the library is loaded
inline bool HasSse2() { return kHasSse2; }
} // namespace corvex
#else
#define CORVEX_SSE2 0
#endif
