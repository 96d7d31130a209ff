#include "SetupPages.h"

#include "PumpMessages.h"

namespace setup {

void SetProgress(ProgressPage &page, int percent) {
    page.SetPosition(percent);
    PumpMessages();
}

} // namespace setup
