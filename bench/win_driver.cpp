// Calls the library's exports in process and times the call alone with the
// performance counter, so that Wine's start-up stays out of the figure.
//   win_driver [--dll PATH] count INPUT
//   win_driver [--dll PATH] extract KIND INPUT OUTPUT-FOLDER
// Prints "messages=N result=R ms=T".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Corvex.h"

namespace {

using CountFn = int32_t(CORVEX_CALL *)(const char *, int32_t *);
using KelpoExFn = int32_t(CORVEX_CALL *)(const char *, const char *, int32_t, CorvexByteTotal *, int32_t *,
                                         ProgressCallback);

class Library {
public:
    explicit Library(const char *path) : h_(LoadLibraryA(path)) {}
    ~Library() {
        if (h_) FreeLibrary(h_);
    }
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;
    HMODULE get() const { return h_; }

private:
    HMODULE h_;
};

// GetProcAddress hands back a generic pointer; going through void(*)() says
// the conversion is meant.
template <typename Fn> Fn Export(HMODULE module, const char *name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

double NowMs() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1e3 / f.QuadPart;
}

int Usage() {
    std::fprintf(stderr, "usage: win_driver [--dll PATH] count INPUT\n"
                         "       win_driver [--dll PATH] extract KIND INPUT OUTPUT-FOLDER\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    const char *dll = "Corvex.dll";
    int i = 1;
    if (argc > 2 && std::strcmp(argv[1], "--dll") == 0) {
        dll = argv[2];
        i = 3;
    }
    if (argc - i < 2) return Usage();
    Library lib(dll);
    if (!lib.get()) {
        std::fprintf(stderr, "cannot load %s (error %lu)\n", dll, GetLastError());
        return 1;
    }
    int32_t result = 0, messages = 0;
    double start = 0, end = 0;
    if (std::strcmp(argv[i], "count") == 0 && argc - i == 2) {
        auto count = Export<CountFn>(lib.get(), "InetMailMessageCountInFile");
        if (!count) return 1;
        start = NowMs();
        messages = count(argv[i + 1], &result);
        end = NowMs();
    } else if (std::strcmp(argv[i], "extract") == 0 && argc - i == 4) {
        auto kelpoEx = Export<KelpoExFn>(lib.get(), "KelpoEx");
        if (!kelpoEx) return 1;
        CorvexByteTotal total{};
        start = NowMs();
        messages = kelpoEx(argv[i + 2], argv[i + 3], std::atoi(argv[i + 1]), &total, &result, nullptr);
        end = NowMs();
    } else {
        return Usage();
    }
    std::printf("messages=%d result=%d ms=%.3f\n", messages, result, end - start);
    return result == 0 ? 0 : 1;
}
