// Making sure an output folder exists, creating what is missing.
#pragma once

#include "CallContext.h"

namespace corvex {

// Makes sure the folder exists. For a drive path (and on POSIX) every
// missing level is created in turn; for a network path only the last folder,
// the ones above it must exist.
bool EnsureFolderTree(CallContext &ctx, const char *path);
// Makes sure the last folder of a path that ends in a separator exists; the
// text is changed only during the call.
bool EnsureOneFolder(CallContext &ctx, char *path);

} // namespace corvex
