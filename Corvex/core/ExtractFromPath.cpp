#include "ExtractFromPath.h"

#include <cstring>
#include <memory>

#include "ConvertFile.h"
#include "PathText.h"
#include "ResultCode.h"

namespace corvex {

namespace {

void AddSize(CorvexByteTotal *total, uint64_t size) {
    if (!total)
        return;
    uint64_t sum = (uint64_t(total->high) << 32 | total->low) + size;
    total->low = uint32_t(sum);
    total->high = uint32_t(sum >> 32);
}

// "NNNNN.eml" with a number from 1 to 99999, or 0.
uint32_t OutputNumber(const char *name) {
    if (std::strlen(name) != kOutputNameLength)
        return 0;
    uint32_t n = 0;
    for (int i = 0; i < 5; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        n = n * 10 + uint32_t(name[i] - '0');
    }
    const char *ext = name + 5;
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

int32_t ExtractFromPath(CallContext &ctx, const char *inputPath, const char *outputFolder,
                        int32_t kind, CorvexByteTotal *totalBytes, int32_t *resultCode,
                        ProgressCallback progress) {
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

    EntryInfo entry = ctx.host().FindEntry(inputPath);
    if (entry.kind == EntryKind::File) {
        if (entry.size >= kMaxInputSize) {
            Fail(resultCode, ResultInputFileNotFound);
            return 0;
        }
        AddSize(totalBytes, entry.size);
        return ConvertFile(ctx, inputPath, uint32_t(entry.size), outputFolder, kind, resultCode,
                           progress);
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
    std::unique_ptr<FolderEnumeration> entries(ctx.host().EnumerateFolder(pattern));
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
        if (!JoinPath(ctx, inputPath, item.name, path, sizeof path) ||
            item.size >= kMaxInputSize) {
            // Neither read nor counted: its path does not fit, or it is too large.
            Fail(resultCode, ResultInputFileNotFound);
        } else {
            AddSize(totalBytes, item.size);
            total += uint32_t(ConvertFile(ctx, path, uint32_t(item.size), outputFolder, kind,
                                          resultCode, progress));
        }
        if (resultCode && *resultCode != 0)
            break;
    }
    return int32_t(total);
}

} // namespace corvex
