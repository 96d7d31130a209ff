#include "InetMail.h"

InetMail LinkedInetMail() { return InetMail{&InetMailMessageCountInFileEx, &KelpoEx, &InetMailMessageCountInFileOfKind,
                   &KelpoExWithFlags}; }
