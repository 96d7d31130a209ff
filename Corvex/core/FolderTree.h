// Reading a whole tree of mail folders, as mail programs keep them: every
// file at any depth, in a stable order, and the messages of each mail folder
// into an output folder of their own, named after it, so that the structure
// is kept.
#pragma once

#include <cstdint>
#include <string>

#include "CallContext.h"
#include "Corvex.h"

namespace corvex {

// The flag bit of the exports that selects the reading of a tree.
constexpr uint32_t kFlagTree = 1;
// Folders deeper than this below the input folder are left out.
constexpr int kMaxTreeDepth = 64;

// The output name of a mail folder's folder in the tree: "X.sbd" (where a
// mail program keeps the subfolders of "X") becomes "X".
std::string TreeFolderName(const std::string &name);
// The output name of a mail folder file: a final ".mbox" is dropped.
std::string TreeFileName(const std::string &name);
// Whether a file holds one message whatever the input kind: a name ending
// in ".eml" (any case), or made of digits only (an MH folder's messages).
bool IsSingleMessageName(const std::string &name);

// Reads the tree below the folder inputPath (or the one file it names), as
// ExtractFromPath does a folder's files, writing each mail folder file's
// messages into its own folder under outputFolder (null: count only). A
// file that fails leaves its code (the first one wins) and the walk goes on.
int32_t ExtractTree(CallContext &ctx, const char *inputPath, bool isFile, uint64_t fileSize,
                    const char *outputFolder, int32_t kind, CorvexByteTotal *totalBytes,
                    int32_t *resultCode, ProgressCallback progress);

} // namespace corvex
