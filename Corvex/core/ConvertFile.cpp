#include "ConvertFile.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FindMessageStart.h"
#include "MboxSeparator.h"
#include "MessageDate.h"
#include "OutputFolder.h"
#include "PathText.h"
#include "Positions.h"
#include "Reader.h"
#include "ResultCode.h"
#include "TrimMessageEnd.h"
#include "WriteMessage.h"

namespace corvex {

namespace {

constexpr size_t kWriteBuffer = 1 << 20;
constexpr uint64_t kNoSeparator = UINT64_MAX;

// Opens the input for a conversion; null (and 1001) when it cannot be read.
std::unique_ptr<InputFile> OpenInput(CallContext &ctx, const char *inputPath, int32_t *resultCode) {
    std::unique_ptr<InputFile> input = ctx.host().OpenInput(inputPath);
    if (!input)
        Fail(resultCode, ResultInputFileNotFound);
    return input;
}

class FileConversion {
public:
    FileConversion(CallContext &ctx, Reader &data, uint64_t fileSize, const char *outputFolder,
                   int32_t kind, int32_t *resultCode, ProgressCallback progress)
        : ctx_(ctx), data_(data), fileSize_(fileSize), limit_(WholeFileLimit(fileSize)),
          outputFolder_(outputFolder), kind_(kind), resultCode_(resultCode), progress_(progress) {}

    // The messages that begin where a run of header lines does, in the bytes
    // before regionEnd (the whole file when it is the file size): each runs
    // to the next one's first byte, less what the trimming cuts off; the last
    // to the end of the file, or right up to regionEnd when the file goes on.
    // Where a message ends is where the walk finds the next one.
    uint32_t SplitByHeaderRuns(uint64_t regionEnd) {
        limit_ = regionEnd >= fileSize_ ? WholeFileLimit(fileSize_) : regionEnd;
        MessageScanner scanner(ctx_, data_, limit_, kind_);
        uint32_t count = 0;
        for (ScanResult found = scanner.Next(); found.Found() && !InputCut();) {
            ++count;
            Report(found.searchStart);
            const bool writing = Writing();
            const ScanResult next = scanner.Next();
            if (InputCut())
                break; // where the message ends could not be read: nothing is written
            if (writing)
                Write(found, next);
            if (InputCut())
                break;
            found = next;
        }
        return count;
    }

    // The messages of an mbox from its first separator line on: each begins
    // at the line after a separator and ends where the next separator begins,
    // less the empty line that the writer put before it (the last one: at the
    // end of the file, less a final empty line).
    uint32_t SplitAtSeparators(uint64_t separator, bool first) {
        uint32_t count = 0;
        while (separator < fileSize_ && !InputCut()) {
            const uint64_t begin = NextMboxLine(data_, separator, fileSize_);
            const uint64_t next = FindMboxSeparator(ctx_, data_, begin, fileSize_);
            if (InputCut())
                break; // where this message ends could not be read
            ++count;
            Report(first && count == 1 ? 0 : separator);
            if (Writing()) {
                const uint64_t writer = next < fileSize_ ? next : separator;
                uint64_t end = next;
                if (!WriterAddsNoEmptyLine(data_, writer, fileSize_))
                    end -= EmptyLineAtEnd(data_, begin, next);
                WriteSpan(begin, 0, end - begin, separator);
            }
            separator = next;
        }
        return count;
    }

    // The whole file as one message.
    uint32_t WholeFile() {
        if (!fileSize_)
            return 0;
        Report(0);
        if (Writing())
            WriteSpan(0, 0, fileSize_, kNoSeparator);
        InputCut(); // a read that failed is told as 1001
        return 1;
    }

private:
    // Whether the input could not be read to the size it had when it was
    // opened (another program cut or changed it, or a read failed): then the
    // work on the file ends with 1001, since what was read cannot be trusted
    // to be the file, and nothing more is written from it.
    bool InputCut() {
        if (!data_.Failed())
            return false;
        Fail(resultCode_, ResultInputFileNotFound);
        return true;
    }

    // Each message is told to the caller before it is written.
    void Report(uint64_t searchStart) {
        if (progress_) {
            progress_(uint32_t(fileSize_), uint32_t(fileSize_ >> 32), uint32_t(searchStart),
                      uint32_t(searchStart >> 32));
            ctx_.PumpAfterCallback();
        } else {
            ctx_.Pump();
        }
    }

    // Whether this message is to be written: there is an output folder, it is
    // (still) there, and nothing has failed.
    bool Writing() {
        if (!outputFolder_)
            return false;
        if (FolderUnchecked())
            CheckOutputFolder();
        return MayWrite(resultCode_);
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

    // A message found by its header run: it runs to the next message's first
    // byte, less what the trimming cuts off; the last one to one byte past the
    // end of the file (that byte is not written), or right up to the end of
    // the region.
    void Write(const ScanResult &found, const ScanResult &next) {
        const uint64_t messageStart = uint64_t(found.offset);
        const uint64_t blockEnd = messageStart + found.headerLength;
        uint64_t length;
        if (next.Found())
            length = found.headerLength +
                     TrimMessageEnd(ctx_, data_, blockEnd, uint64_t(next.offset) - blockEnd, kind_);
        else if (!ReachesEndOfFile(limit_, fileSize_)) // the region ends before the file does
            length = limit_ - messageStart;
        else
            length = found.headerLength +
                     TrimMessageEnd(ctx_, data_, blockEnd, BytesBefore(limit_, blockEnd), kind_);
        WriteSpan(messageStart, found.headerLength, length, kNoSeparator);
    }

    // Writes length bytes from start (whose header block is headerLength
    // bytes, 0 when it ends at its first empty line) into the next free
    // name, dated as the message (where it follows a separator line, its
    // date stands in for a Date field that cannot be read). A file that could
    // not be written whole is removed: every .eml file left is a whole message.
    void WriteSpan(uint64_t start, uint64_t headerLength, uint64_t length, uint64_t separator) {
        MailDate date;
        const uint64_t headerEnd = start + (headerLength ? headerLength : length);
        const bool dated = ReadHeaderDate(data_, start, headerEnd, scratch_, date) ||
                           (separator != kNoSeparator &&
                            ReadSeparatorLineDate(data_, separator, start, scratch_, date));
        std::unique_ptr<OutputFile> out;
        char path[kPathBuffer];
        if (!CreateUnderFreeName(out, path))
            return;
        if (buffer_.empty())
            buffer_.resize(kWriteBuffer);
        MessageBytes message;
        message.start = start;
        message.headerLength = headerLength;
        message.length = length;
        message.unquote = kind_ == KindMbox;
        if (WriteMessage(data_, *out, message, buffer_)) {
            // A time that cannot be set leaves the file as the system dated it.
            if (dated)
                out->SetTime(date.utcSeconds);
            return;
        }
        out.reset();
        ctx_.host().RemoveFile(path);
        // A read that failed is the input's fault, told as 1001 by the caller.
        if (!data_.Failed())
            Fail(resultCode_, ResultFileCreateError);
    }

    // Creates the file of the first name from the counter on that nothing in
    // the folder holds, its path into path. Creating only when no entry of the
    // name exists asks the file system once per name. Only an entry of that
    // name moves on to the next name: a creation that fails for any other
    // reason (no permission, a path that names no folder, a device) would fail
    // for every name, so it ends the work at once with 1007. Names this call
    // already knows to be taken are passed over without asking again.
    bool CreateUnderFreeName(std::unique_ptr<OutputFile> &out, char (&path)[kPathBuffer]) {
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
            char name[16];
            std::snprintf(name, sizeof name, "%5.5u.eml", unsigned(counter_));
            if (!JoinPath(ctx_, outputFolder_, name, path, kPathBuffer)) {
                // A name of six or seven digits that no longer fits beside a
                // long folder path: the folder holds no more names. Never cut.
                counter_ = kMaxOutputNumber;
                Fail(resultCode_, ResultTooManyFiles);
                return false;
            }
            bool exists = false;
            out = ctx_.host().CreateNewOutput(path, exists);
            const EntryKind found = out || exists ? EntryKind::File : ctx_.host().Attributes(path).kind;
            if (found == EntryKind::Error) {
                Fail(resultCode_, ResultFileCreateError);
                return false;
            }
            if (found == EntryKind::Missing) {
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
                out = ctx_.host().CreateOutput(path);
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
    uint64_t fileSize_;
    uint64_t limit_; // where the header-run search stops: WholeFileLimit, or a region's end
    const char *outputFolder_;
    int32_t kind_;
    int32_t *resultCode_;
    ProgressCallback progress_;
    uint32_t counter_ = 0;
    std::vector<uint8_t> buffer_;
    std::string scratch_; // a Date field's value, a separator line
};

} // namespace

int32_t ConvertFile(CallContext &ctx, const char *inputPath, const char *outputFolder,
                    int32_t kind, int32_t *resultCode, ProgressCallback progress) {
    std::unique_ptr<InputFile> input = OpenInput(ctx, inputPath, resultCode);
    if (!input)
        return 0;
    // The file is read to the size it has now; the directory entry's size
    // went into the byte total.
    const uint64_t fileSize = input->Size();
    Reader data(*input, ctx.cacheSize());
    FileConversion file(ctx, data, fileSize, outputFolder, kind, resultCode, progress);
    if (kind != KindMbox)
        return int32_t(file.SplitByHeaderRuns(fileSize));
    // An mbox says where each message begins: at its separator lines. What
    // stands before the first of them (all of a file without any) is split
    // by header runs, as other text is.
    const uint64_t first = FindMboxSeparator(ctx, data, 0, fileSize);
    uint32_t count = file.SplitByHeaderRuns(first);
    count += file.SplitAtSeparators(first, count == 0);
    return int32_t(count);
}

int32_t ConvertSingleMessageFile(CallContext &ctx, const char *inputPath, const char *outputFolder,
                                 int32_t *resultCode, ProgressCallback progress) {
    std::unique_ptr<InputFile> input = OpenInput(ctx, inputPath, resultCode);
    if (!input)
        return 0;
    Reader data(*input, ctx.cacheSize());
    FileConversion file(ctx, data, input->Size(), outputFolder, KindGeneral, resultCode, progress);
    return int32_t(file.WholeFile());
}

} // namespace corvex
