#include "Simd.h"

namespace corvex {

#if defined(CORVEX_SSE2_CHOSEN_AT_LOAD)
namespace {
bool ProcessorHasSse2() {
    __builtin_cpu_init(); // this may run before libgcc's own initialiser
    return __builtin_cpu_supports("sse2") != 0;
}
} // namespace

const bool kHasSse2 = ProcessorHasSse2();
#endif

} // namespace corvex
