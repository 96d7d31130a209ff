// One input file: finds its messages one after another, reports each to the
// caller and, given an output folder, writes each to a new NNNNN.eml file.
#pragma once

#include <cstdint>

#include "CallContext.h"
#include "Corvex.h"

namespace corvex {

// Returns the number of messages found in the file at inputPath, read to
// the size it has when it is opened. outputFolder null: count only. Writes
// only while *resultCode is 0; the first failure is left in *resultCode.
int32_t ConvertFile(CallContext &ctx, const char *inputPath, const char *outputFolder,
                    int32_t kind, int32_t *resultCode, ProgressCallback progress);

// A file that holds one message (a .eml file, an MH or Maildir message):
// one message when it is not empty, written whole and unchanged. Otherwise
// as above.
int32_t ConvertSingleMessageFile(CallContext &ctx, const char *inputPath, const char *outputFolder,
                                 int32_t *resultCode, ProgressCallback progress);

} // namespace corvex
