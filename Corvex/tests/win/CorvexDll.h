// The real Corvex.dll, loaded at run time by name the way a caller that
// does not link against it would, with its six functions bound by name.
// The test programs never link against the library's import library.
#pragma once

#include <windows.h>

#include <string>

#include "Corvex.h"

using CountInFileFn = decltype(&InetMailMessageCountInFile);
using CountInFileExFn = decltype(&InetMailMessageCountInFileEx);
using KelpoFn = decltype(&Kelpo);
using KelpoExFn = decltype(&KelpoEx);
using CountOfKindFn = decltype(&InetMailMessageCountInFileOfKind);
using KelpoExWithFlagsFn = decltype(&KelpoExWithFlags);

struct CorvexDll {
    HMODULE module = nullptr;
    std::string path; // where the loader found it
    CountInFileFn countInFile = nullptr;
    CountInFileExFn countInFileEx = nullptr;
    KelpoFn kelpo = nullptr;
    KelpoExFn kelpoEx = nullptr;
    CountOfKindFn countOfKind = nullptr;
    KelpoExWithFlagsFn kelpoExWithFlags = nullptr;
};

// Loads Corvex.dll once for the whole program and binds the exports by name;
// empty pointers when the DLL or a name is missing.
const CorvexDll &Dll();

// The address of an export looked up by its ordinal.
FARPROC ExportByOrdinal(WORD ordinal);
