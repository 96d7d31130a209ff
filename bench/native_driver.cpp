// Calls libcorvex in process and times the call alone, the native twin of
// win_driver, so that the Windows build under Wine can be compared fairly.
//   native_driver count INPUT
//   native_driver extract KIND INPUT OUTPUT-FOLDER
// Prints "messages=N result=R ms=T".
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Corvex.h"

namespace {

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    int32_t result = 0, messages = 0;
    double start = 0, end = 0;
    if (argc == 3 && std::strcmp(argv[1], "count") == 0) {
        start = NowMs();
        messages = InetMailMessageCountInFile(argv[2], &result);
        end = NowMs();
    } else if (argc == 5 && std::strcmp(argv[1], "extract") == 0) {
        CorvexByteTotal total{};
        start = NowMs();
        messages = KelpoEx(argv[3], argv[4], std::atoi(argv[2]), &total, &result, nullptr);
        end = NowMs();
    } else {
        std::fprintf(stderr, "usage: native_driver count INPUT\n"
                             "       native_driver extract KIND INPUT OUTPUT-FOLDER\n");
        return 2;
    }
    std::printf("messages=%d result=%d ms=%.3f\n", messages, result, end - start);
    return result == 0 ? 0 : 1;
}
