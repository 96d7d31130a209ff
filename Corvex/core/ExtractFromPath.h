// The operation behind all four exports: checks the paths, takes a file or
// the files of a folder (one level deep), adds up their sizes and messages.
#pragma once

#include <cstdint>

#include "CallContext.h"
#include "Corvex.h"

namespace corvex {

// flags: 0, or kFlagTree to read the folder's whole tree (FolderTree.h).
int32_t ExtractFromPath(CallContext &ctx, const char *inputPath, const char *outputFolder,
                        int32_t kind, CorvexByteTotal *totalBytes, int32_t *resultCode,
                        ProgressCallback progress, uint32_t flags = 0);

// Adds a file's size to the caller's byte total (when given), the carry
// going into the high word.
void AddToByteTotal(CorvexByteTotal *total, uint64_t size);

} // namespace corvex
