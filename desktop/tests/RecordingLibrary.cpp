#include "RecordingLibrary.h"

namespace {

std::vector<LibraryCall> &Log() {
    static std::vector<LibraryCall> calls;
    return calls;
}

bool inCall = false;

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
    }
    Log().push_back(record);
    return count;
}

int32_t CORVEX_CALL Count(const char *input, CorvexByteTotal *total, int32_t *resultCode,
                          ProgressCallback progress) {
    LibraryCall record;
    record.input = input ? input : "(null)";
    record.kind = 0;
    record.progressGiven = progress != nullptr;
    return Passed(record, total, resultCode, [&] {
        return InetMailMessageCountInFileEx(input, total, resultCode, progress);
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
    record.progressGiven = progress != nullptr;
    return Passed(record, total, resultCode, [&] {
        return KelpoEx(input, output, kind, total, resultCode, progress);
    });
}

} // namespace

std::function<void(const LibraryCall &)> RecordingLibrary::beforeCall;
std::function<void(LibraryCall &)> RecordingLibrary::afterCall;

InetMail RecordingLibrary::Bind() { return InetMail{Count, Extract}; }

void RecordingLibrary::Reset() {
    Log().clear();
    beforeCall = nullptr;
    afterCall = nullptr;
    inCall = false;
}

const std::vector<LibraryCall> &RecordingLibrary::Calls() { return Log(); }

bool RecordingLibrary::InCall() { return inCall; }
