#include "PumpMessages.h"

#include "win/PumpMessages.h"

namespace setup {

void PumpMessages() { quillbox::win::PumpPendingMessages(); }

} // namespace setup
