// The operation behind all four exports: checks the paths, takes a file or
// the files of a folder (one level deep), adds up their sizes and messages.
#pragma once

#include <cstdint>

#include "CallContext.h"
#include "Corvex.h"

namespace corvex {

int32_t ExtractFromPath(CallContext &ctx, const char *inputPath, const char *outputFolder,
                        int32_t kind, CorvexByteTotal *totalBytes, int32_t *resultCode,
                        ProgressCallback progress);

} // namespace corvex
