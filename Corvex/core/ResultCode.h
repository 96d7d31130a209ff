// The caller's result code keeps the first failure only.
#pragma once

#include <cstdint>

namespace corvex {

inline void Fail(int32_t *resultCode, int32_t code) {
    if (resultCode && *resultCode == 0)
        *resultCode = code;
}

inline bool MayWrite(const int32_t *resultCode) { return resultCode && *resultCode == 0; }

} // namespace corvex
