// The library functions the desktop program calls, bound by name from
// Corvex.dll at load time. They are reached through this record, so that a
// test can see every call (and still pass it on to the real library).
#pragma once

#include "Corvex.h"

namespace quillrun {

struct InetMail {
    decltype(&InetMailMessageCountInFileEx) countInFileEx;
    decltype(&KelpoEx) kelpoEx;
    decltype(&InetMailMessageCountInFileOfKind) countInFileOfKind;
    decltype(&KelpoExWithFlags) kelpoExWithFlags;
};

// The library's own functions.
InetMail LinkedInetMail();

} // namespace quillrun
