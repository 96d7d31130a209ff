// The operation behind all four exports: checks the paths, takes a file or
// the files of a folder (one level deep), adds up their sizes and messages.
#pragma once

#include <cstdint>

#include "CallContext.h"
#include "Corvex.h"

namespace corvex {

// Input files must be smaller than this: sizes travel as 32-bit counts.
constexpr uint64_t kMaxInputSize = uint64_t(1) << 32;

int32_t ExtractFromPath(CallContext &ctx, const char *inputPath, const char *outputFolder,
                        int32_t kind, CorvexByteTotal *totalBytes, int32_t *resultCode,
                        ProgressCallback progress);

} // namespace corvex
