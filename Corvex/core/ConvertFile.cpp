#include "ConvertFile.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "FindMessageStart.h"
#include "OutputFolder.h"
#include "PathText.h"
#include "Reader.h"
#include "ResultCode.h"
#include "TrimMessageEnd.h"
#include "WriteMessage.h"

namespace corvex {

namespace {

constexpr uint32_t kBoundarySize = 1024;
constexpr size_t kWriteBuffer = 1 << 20;

// The look-ahead for a message's end starts where the next main search will,
// with the same boundary; when both would use the same threshold, the main
// search takes its answer instead of scanning the same bytes again.
struct LookAhead {
    bool valid = false;
    uint64_t start = 0;
    int32_t threshold = 0;
    ScanResult result;
    char boundary[kBoundarySize] = {};
};

class FileConversion {
public:
    FileConversion(CallContext &ctx, Reader &data, uint32_t fileSize, const char *outputFolder,
                   int32_t kind, int32_t *resultCode)
        : ctx_(ctx), data_(data), limit_(uint64_t(fileSize) + 1),
          outputFolder_(outputFolder), kind_(kind), resultCode_(resultCode) {}

    ScanResult MainSearch(uint64_t start) {
        int32_t threshold = ThresholdFor(ctx_, kind_, start);
        if (lookAhead_.valid && lookAhead_.start == start && lookAhead_.threshold == threshold) {
            lookAhead_.valid = false;
            std::memcpy(carry_, lookAhead_.boundary, kBoundarySize);
            return lookAhead_.result;
        }
        lookAhead_.valid = false;
        return ScanForMessage(ctx_, data_, limit_, start, true, {carry_, kBoundarySize}, threshold);
    }

    void CheckOutputFolder() {
        EntryInfo entry = ctx_.host().Attributes(outputFolder_);
        if (entry.kind == EntryKind::File)
            Fail(resultCode_, ResultOutputNameTaken);
        else if (entry.kind != EntryKind::Folder && !EnsureFolderTree(ctx_, outputFolder_))
            Fail(resultCode_, ResultOutputNameTaken);
    }

    // Whether the folder must be looked at before this message: always, but
    // while this call's files go into it, it is known to be there.
    bool FolderUnchecked() const { return !ctx_.names().folderReady; }

    void Write(uint64_t messageStart, uint64_t headerLength) {
        std::unique_ptr<OutputFile> out;
        if (!CreateUnderFreeName(out))
            return;

        // The message runs to the next message's first byte, or to one byte
        // past the end of the file.
        const uint64_t blockEnd = messageStart + headerLength;
        std::memcpy(lookAhead_.boundary, carry_, kBoundarySize);
        lookAhead_.start = blockEnd;
        lookAhead_.threshold = ThresholdFor(ctx_, kind_, blockEnd);
        lookAhead_.result = ScanForMessage(ctx_, data_, limit_, blockEnd, true,
                                           {lookAhead_.boundary, kBoundarySize},
                                           lookAhead_.threshold);
        lookAhead_.valid = true;
        uint64_t end = lookAhead_.result.Found() ? uint64_t(lookAhead_.result.offset)
                       : blockEnd <= limit_  ? limit_ - blockEnd
                                             : 0;
        end = TrimMessageEnd(ctx_, data_, blockEnd, end, kind_);

        if (buffer_.empty())
            buffer_.resize(kWriteBuffer);
        if (!WriteMessage(data_, *out, messageStart, headerLength, headerLength + end, buffer_))
            Fail(resultCode_, ResultFileCreateError);
    }

private:
    // Creates the file of the first name from the counter on that nothing in
    // the folder holds. Creating only when no entry of the name exists asks
    // the file system once per name; a name whose creation fails otherwise is
    // looked up, so that a failed lookup still counts as taken. Names this
    // call already knows to be taken are passed over without asking again.
    bool CreateUnderFreeName(std::unique_ptr<OutputFile> &out) {
        OutputNames &names = ctx_.names();
        for (;;) {
            ctx_.Pump();
            uint32_t next = names.NextUnknown(counter_ + 1);
            if (next > kMaxOutputNumber) {
                counter_ = kMaxOutputNumber;
                Fail(resultCode_, ResultTooManyFiles);
                return false;
            }
            counter_ = next;
            char name[16], path[kPathBuffer];
            std::snprintf(name, sizeof name, "%5.5u.eml", unsigned(counter_));
            if (!JoinPath(ctx_, outputFolder_, name, path, kPathBuffer)) {
                Fail(resultCode_, ResultFileCreateError);
                return false;
            }
            bool exists = false;
            out.reset(ctx_.host().CreateNewOutput(path, exists));
            if (!out && !exists && ctx_.host().Attributes(path).kind == EntryKind::Missing) {
                if (names.folderReady) {
                    // The folder may have gone since: make sure of it as at the
                    // start of a message, then try this name once more.
                    names.folderReady = false;
                    CheckOutputFolder();
                    if (!MayWrite(resultCode_))
                        return false;
                    --counter_;
                    continue;
                }
                out.reset(ctx_.host().CreateOutput(path));
                if (!out) {
                    Fail(resultCode_, ResultFileCreateError);
                    return false;
                }
            }
            if (out) {
                names.MarkCreated(counter_);
                names.folderReady = true;
                return true;
            }
            names.MarkTaken(counter_);
        }
    }

    CallContext &ctx_;
    Reader &data_;
    uint64_t limit_;
    const char *outputFolder_;
    int32_t kind_;
    int32_t *resultCode_;
    uint32_t counter_ = 0;
    char carry_[kBoundarySize] = {};
    LookAhead lookAhead_;
    std::vector<uint8_t> buffer_;
};

} // namespace

int32_t ConvertFile(CallContext &ctx, const char *inputPath, uint32_t fileSize,
                    const char *outputFolder, int32_t kind, int32_t *resultCode,
                    ProgressCallback progress) {
    std::unique_ptr<InputFile> input(ctx.host().OpenInput(inputPath));
    if (!input) {
        Fail(resultCode, ResultInputFileNotFound);
        return 0;
    }
    Reader data(*input, ctx.cacheSize());
    FileConversion file(ctx, data, fileSize, outputFolder, kind, resultCode);

    uint32_t count = 0;
    uint64_t start = 0;
    for (ScanResult found = file.MainSearch(start); found.Found(); found = file.MainSearch(start)) {
        ++count;
        if (progress)
            progress(fileSize, 0, uint32_t(start), uint32_t(start >> 32));
        ctx.Pump();
        const uint64_t messageStart = start + uint64_t(found.offset);
        if (outputFolder) {
            if (file.FolderUnchecked())
                file.CheckOutputFolder();
            if (MayWrite(resultCode))
                file.Write(messageStart, found.headerLength);
        }
        start = messageStart + found.headerLength;
    }
    return int32_t(count);
}

} // namespace corvex
