#include "ExtractFromPath.h"

#include <cstring>
#include <memory>

#include "ConvertFile.h"
#include "FolderTree.h"
#include "PathText.h"
#include "ResultCode.h"

namespace corvex {

namespace {

// The number of an output name ("%5.5d.eml": 00001.eml ... 99999.eml, then
// 100000.eml ... 9999999.eml), or 0 for any other name.
uint32_t OutputNumber(const char *name) {
    const size_t length = std::strlen(name);
    if (length < kOutputNameLength || length > kOutputNameLength + 2)
        return 0;
    const size_t digits = length - 4;
    if (digits > 5 && name[0] == '0')
        return 0;
    uint32_t n = 0;
    for (size_t i = 0; i < digits; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        n = n * 10 + uint32_t(name[i] - '0');
    }
    const char *ext = name + digits;
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; };
    if (ext[0] != '.' || lower(ext[1]) != 'e' || lower(ext[2]) != 'm' || lower(ext[3]) != 'l')
        return 0;
    return n;
}

// Walks the files of one folder, skipping subfolders, and, when the output
// folder is this folder, the .eml files that this call wrote into it.
class FolderWalk {
public:
    FolderWalk(CallContext &ctx, const char *folder, const char *outputFolder)
        : ctx_(ctx), folder_(folder), outputFolder_(outputFolder) {}

    bool IsOwnOutput(const char *name) {
        if (!outputFolder_ || !ctx_.names().AnyCreated())
            return false;
        uint32_t n = OutputNumber(name);
        if (!n || !ctx_.names().Created(n))
            return false;
        if (sameFolder_ < 0)
            sameFolder_ = ctx_.host().SameFolder(folder_, outputFolder_) ? 1 : 0;
        return sameFolder_ == 1;
    }

private:
    CallContext &ctx_;
    const char *folder_;
    const char *outputFolder_;
    int sameFolder_ = -1;
};

} // namespace

void AddToByteTotal(CorvexByteTotal *total, uint64_t size) {
    if (!total)
        return;
    uint64_t sum = (uint64_t(total->high) << 32 | total->low) + size;
    total->low = uint32_t(sum);
    total->high = uint32_t(sum >> 32);
}

int32_t ExtractFromPath(CallContext &ctx, const char *inputPath, const char *outputFolder,
                        int32_t kind, CorvexByteTotal *totalBytes, int32_t *resultCode,
                        ProgressCallback progress, uint32_t flags) {
    if (resultCode)
        *resultCode = 0;
    if (totalBytes)
        totalBytes->low = totalBytes->high = 0;
    if (!IsAcceptablePath(ctx, inputPath)) {
        Fail(resultCode, ResultInputFileNotFound);
        return 0;
    }
    if (outputFolder && !IsAcceptablePath(ctx, outputFolder)) {
        Fail(resultCode, ResultOutputFolderNotCreated);
        return 0;
    }
    // Paths are refused rather than cut short when they do not fit.
    if (std::strlen(inputPath) >= kPathBuffer) {
        Fail(resultCode, ResultInputFileNotFound);
        return 0;
    }
    if (outputFolder && !OutputFolderFits(ctx, outputFolder)) {
        Fail(resultCode, ResultOutputFolderNotCreated);
        return 0;
    }

    // A folder may be written with separators after its name (a shell's
    // completion adds one); a file may not.
    char trimmed[kPathBuffer];
    const size_t length = LengthWithoutTrailingSeparators(ctx, inputPath);
    std::memcpy(trimmed, inputPath, length);
    trimmed[length] = 0;
    const bool hadSeparators = inputPath[length] != 0;
    EntryInfo entry = ctx.host().FindEntry(trimmed);
    if (hadSeparators && entry.kind == EntryKind::File)
        entry.kind = EntryKind::Missing;
    inputPath = trimmed;
    if ((flags & kFlagTree) && (entry.kind == EntryKind::File || entry.kind == EntryKind::Folder))
        return ExtractTree(ctx, inputPath, entry.kind == EntryKind::File, entry.size, outputFolder, kind,
                           totalBytes, resultCode, progress);
    if (entry.kind == EntryKind::File) {
        AddToByteTotal(totalBytes, entry.size);
        return ConvertFile(ctx, inputPath, outputFolder, kind, resultCode, progress);
    }
    if (entry.kind != EntryKind::Folder) {
        Fail(resultCode, ResultInputPathNotFound);
        return 0;
    }

    char pattern[kPathBuffer];
    if (!JoinPath(ctx, inputPath, ctx.style() == PathStyle::Windows ? "*.*" : "*", pattern,
                  sizeof pattern)) {
        Fail(resultCode, ResultInputFileNotFound);
        return 0;
    }
    std::unique_ptr<FolderEnumeration> entries = ctx.host().EnumerateFolder(pattern);
    if (!entries)
        return 0;

    FolderWalk walk(ctx, inputPath, outputFolder);
    uint32_t total = 0;
    FolderEntry item;
    while (entries->Next(item)) {
        ctx.Pump();
        if (item.folder || walk.IsOwnOutput(item.name))
            continue;
        char path[kPathBuffer];
        if (!JoinPath(ctx, inputPath, item.name, path, sizeof path)) {
            // Neither read nor counted: its path does not fit.
            Fail(resultCode, ResultInputFileNotFound);
        } else {
            AddToByteTotal(totalBytes, item.size);
            total += uint32_t(ConvertFile(ctx, path, outputFolder, kind, resultCode, progress));
        }
        if (resultCode && *resultCode != 0)
            break;
    }
    return int32_t(total);
}

} // namespace corvex
