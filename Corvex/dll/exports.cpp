// The library's six exports. Each call gets its own context; nothing is
// kept between calls, and no exception leaves the library.
#include "Corvex.h"

#include "CallContext.h"
#include "ExtractFromPath.h"
#include "host.h"

#if defined(_WIN32)
#include <windows.h>

// Loading and unloading do nothing beyond what the platform does.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif

namespace {

int32_t Run(const char *inputPath, const char *outputFolder, int32_t kind,
            CorvexByteTotal *totalBytes, int32_t *resultCode, ProgressCallback progress,
            uint32_t flags = 0) {
    if (flags & ~uint32_t(CorvexFlagTree)) {
        // A caller that asks for an option this library does not know gets
        // nothing rather than a result made without it.
        if (totalBytes)
            totalBytes->low = totalBytes->high = 0;
        if (resultCode)
            *resultCode = ResultUnknownError;
        return 0;
    }
    try {
        corvex::CallContext ctx(corvex::PlatformHost());
        return corvex::ExtractFromPath(ctx, inputPath, outputFolder, kind, totalBytes, resultCode,
                                       progress, flags);
    } catch (...) {
        // Only an allocation can fail here; report it rather than let it cross.
        if (resultCode && *resultCode == 0)
            *resultCode = ResultUnknownError;
        return 0;
    }
}

} // namespace

extern "C" {

CORVEX_API int32_t CORVEX_CALL InetMailMessageCountInFile(const char *inputPath,
                                                          int32_t *resultCode) {
    CorvexByteTotal total;
    return Run(inputPath, nullptr, KindGeneral, &total, resultCode, nullptr);
}

CORVEX_API int32_t CORVEX_CALL InetMailMessageCountInFileEx(const char *inputPath,
                                                            CorvexByteTotal *totalBytes,
                                                            int32_t *resultCode,
                                                            ProgressCallback progress) {
    return Run(inputPath, nullptr, KindGeneral, totalBytes, resultCode, progress);
}

CORVEX_API int32_t CORVEX_CALL Kelpo(const char *inputPath, const char *outputFolder,
                                     int32_t kind, int32_t *resultCode) {
    CorvexByteTotal total;
    return Run(inputPath, outputFolder, kind, &total, resultCode, nullptr);
}

CORVEX_API int32_t CORVEX_CALL KelpoEx(const char *inputPath, const char *outputFolder,
                                       int32_t kind, CorvexByteTotal *totalBytes,
                                       int32_t *resultCode, ProgressCallback progress) {
    return Run(inputPath, outputFolder, kind, totalBytes, resultCode, progress);
}

CORVEX_API int32_t CORVEX_CALL InetMailMessageCountInFileOfKind(const char *inputPath,
                                                                int32_t kind, uint32_t flags,
                                                                CorvexByteTotal *totalBytes,
                                                                int32_t *resultCode,
                                                                ProgressCallback progress) {
    return Run(inputPath, nullptr, kind, totalBytes, resultCode, progress, flags);
}

CORVEX_API int32_t CORVEX_CALL KelpoExWithFlags(const char *inputPath, const char *outputFolder,
                                                int32_t kind, uint32_t flags,
                                                CorvexByteTotal *totalBytes, int32_t *resultCode,
                                                ProgressCallback progress) {
    return Run(inputPath, outputFolder, kind, totalBytes, resultCode, progress, flags);
}

} // extern "C"
