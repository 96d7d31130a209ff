#include "InetMail.h"

namespace quillrun {

InetMail LinkedInetMail() { return InetMail{&InetMailMessageCountInFileEx, &KelpoEx, &InetMailMessageCountInFileOfKind,
                   &KelpoExWithFlags}; }

} // namespace quillrun
