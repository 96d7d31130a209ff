#include "RecordingLibrary.h"

namespace {

std::vector<LibraryCall> &Log() {
    static std::vector<LibraryCall> calls;
    return calls;
}

bool inCall = false;
ProgressCallback programProgress = nullptr;

// Stands between the library and the program's callback, so a test can look
// at the window after each report.
int32_t CORVEX_CALL WatchedProgress(uint32_t totalLow, uint32_t totalHigh, uint32_t doneLow,
                                    uint32_t doneHigh) {
    int32_t result = programProgress(totalLow, totalHigh, doneLow, doneHigh);
    if (RecordingLibrary::afterProgress)
        RecordingLibrary::afterProgress((uint64_t(totalHigh) << 32) | totalLow,
                                        (uint64_t(doneHigh) << 32) | doneLow);
    return result;
}

ProgressCallback Watched(ProgressCallback progress) {
    programProgress = progress;
    return progress ? WatchedProgress : nullptr;
}

// Runs the real call with the record's bookkeeping around it.
template <class Call>
int32_t Passed(LibraryCall &record, CorvexByteTotal *total, int32_t *resultCode, Call call) {
    record.totalGiven = total != nullptr;
    record.resultCodeGiven = resultCode != nullptr;
    record.resultCodeBefore = resultCode ? *resultCode : -1;
    if (RecordingLibrary::beforeCall)
        RecordingLibrary::beforeCall(record);
    inCall = true;
    int32_t count = call();
    inCall = false;
    record.count = count;
    record.resultCode = resultCode ? *resultCode : -1;
    record.totalBytes = total ? (uint64_t(total->high) << 32) | total->low : 0;
    if (RecordingLibrary::afterCall) {
        RecordingLibrary::afterCall(record);
        if (resultCode)
            *resultCode = record.resultCode;
        if (total) {
            total->low = static_cast<uint32_t>(record.totalBytes);
            total->high = static_cast<uint32_t>(record.totalBytes >> 32);
        }
    }
    Log().push_back(record);
    return count;
}

int32_t CORVEX_CALL Count(const char *input, CorvexByteTotal *total, int32_t *resultCode,
                          ProgressCallback progress) {
    LibraryCall record;
    record.input = input ? input : "(null)";
    record.kind = 0;
    record.progress = progress;
    return Passed(record, total, resultCode, [&] {
        return InetMailMessageCountInFileEx(input, total, resultCode, Watched(progress));
    });
}

int32_t CORVEX_CALL CountOfKind(const char *input, int32_t kind, uint32_t flags,
                                CorvexByteTotal *total, int32_t *resultCode,
                                ProgressCallback progress) {
    LibraryCall record;
    record.input = input ? input : "(null)";
    record.kind = kind;
    record.flags = flags;
    record.ofKind = true;
    record.progress = progress;
    return Passed(record, total, resultCode, [&] {
        return InetMailMessageCountInFileOfKind(input, kind, flags, total, resultCode,
                                                Watched(progress));
    });
}

int32_t CORVEX_CALL Extract(const char *input, const char *output, int32_t kind,
                            CorvexByteTotal *total, int32_t *resultCode,
                            ProgressCallback progress) {
    LibraryCall record;
    record.extract = true;
    record.input = input ? input : "(null)";
    record.outputGiven = output != nullptr;
    record.output = output ? output : "";
    record.kind = kind;
    record.progress = progress;
    return Passed(record, total, resultCode, [&] {
        return KelpoEx(input, output, kind, total, resultCode, Watched(progress));
    });
}

int32_t CORVEX_CALL ExtractWithFlags(const char *input, const char *output, int32_t kind,
                                     uint32_t flags, CorvexByteTotal *total, int32_t *resultCode,
                                     ProgressCallback progress) {
    LibraryCall record;
    record.extract = true;
    record.withFlags = true;
    record.input = input ? input : "(null)";
    record.outputGiven = output != nullptr;
    record.output = output ? output : "";
    record.kind = kind;
    record.flags = flags;
    record.progress = progress;
    return Passed(record, total, resultCode, [&] {
        return KelpoExWithFlags(input, output, kind, flags, total, resultCode, Watched(progress));
    });
}

} // namespace

std::function<void(const LibraryCall &)> RecordingLibrary::beforeCall;
std::function<void(LibraryCall &)> RecordingLibrary::afterCall;
std::function<void(uint64_t, uint64_t)> RecordingLibrary::afterProgress;

InetMail RecordingLibrary::Bind() { return InetMail{Count, Extract, CountOfKind, ExtractWithFlags}; }

void RecordingLibrary::Reset() {
    Log().clear();
    beforeCall = nullptr;
    afterCall = nullptr;
    afterProgress = nullptr;
    inCall = false;
}

const std::vector<LibraryCall> &RecordingLibrary::Calls() { return Log(); }

bool RecordingLibrary::InCall() { return inCall; }
