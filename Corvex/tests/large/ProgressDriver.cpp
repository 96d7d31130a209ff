// Calls the library as a front end does and prints everything it reports,
// for the tests of real files too large to compare in memory:
//
//   corvex_progress_driver count INPUT
//   corvex_progress_driver extract KIND INPUT OUTPUT_FOLDER
//
// prints one line "report SIZE OFFSET" per progress call (each read back as
// the 64-bit values of its two words), then "total BYTES", "result CODE" and
// "messages N".
#include <Corvex.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int32_t CORVEX_CALL Report(uint32_t sizeLow, uint32_t sizeHigh, uint32_t offsetLow,
                           uint32_t offsetHigh) {
    std::printf("report %" PRIu64 " %" PRIu64 "\n", uint64_t(sizeHigh) << 32 | sizeLow,
                uint64_t(offsetHigh) << 32 | offsetLow);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    CorvexByteTotal total = {0xDEAD, 0xBEEF};
    int32_t result = -1, messages = -1;
    if (argc == 3 && std::strcmp(argv[1], "count") == 0) {
        messages = InetMailMessageCountInFileEx(argv[2], &total, &result, Report);
    } else if (argc == 5 && std::strcmp(argv[1], "extract") == 0) {
        messages = KelpoEx(argv[3], argv[4], std::atoi(argv[2]), &total, &result, Report);
    } else {
        std::fprintf(stderr, "usage: %s count INPUT | extract KIND INPUT OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    std::printf("total %" PRIu64 "\nresult %d\nmessages %d\n",
                uint64_t(total.high) << 32 | total.low, int(result), int(messages));
    return 0;
}
