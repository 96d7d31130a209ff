#include "CorvexDll.h"

namespace {

template <typename Fn> Fn Bind(HMODULE module, const char *name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

CorvexDll LoadOnce() {
    CorvexDll dll;
    dll.module = LoadLibraryA("Corvex.dll");
    if (!dll.module)
        return dll;
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(dll.module, buffer, sizeof buffer);
    dll.path = buffer;
    dll.countInFile = Bind<CountInFileFn>(dll.module, "InetMailMessageCountInFile");
    dll.countInFileEx = Bind<CountInFileExFn>(dll.module, "InetMailMessageCountInFileEx");
    dll.kelpo = Bind<KelpoFn>(dll.module, "Kelpo");
    dll.kelpoEx = Bind<KelpoExFn>(dll.module, "KelpoEx");
    dll.countOfKind = Bind<CountOfKindFn>(dll.module, "InetMailMessageCountInFileOfKind");
    dll.kelpoExWithFlags = Bind<KelpoExWithFlagsFn>(dll.module, "KelpoExWithFlags");
    return dll;
}

} // namespace

const CorvexDll &Dll() {
    // Kept loaded until the process ends: the tests share one instance, the
    // way a front end keeps the library for its whole life.
    static const CorvexDll dll = LoadOnce();
    return dll;
}

FARPROC ExportByOrdinal(WORD ordinal) {
    const CorvexDll &dll = Dll();
    return dll.module ? GetProcAddress(dll.module, MAKEINTRESOURCEA(ordinal)) : nullptr;
}
