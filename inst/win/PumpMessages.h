// Servicing the thread's windows between steps: the progress page has no
// message loop of its own.
#pragma once

namespace setup {

// Dispatches every message pending for this thread, then returns.
void PumpMessages();

} // namespace setup
