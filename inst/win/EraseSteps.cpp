#include "EraseSteps.h"

#include "SetupPages.h"

namespace setup {

// The removal steps proper (commands, shortcuts, keys, payload files,
// folders) are not built yet; until they are, the roll-back shows its
// progress page and removes nothing, and the uninstall entry that the
// install wrote stays registered for a later removal.
bool EraseSteps(Setup &, SetupPages &pages) {
    std::unique_ptr<ProgressPage> progress = pages.OpenProgress(PageMode::Removal);
    if (progress) {
        SetProgress(*progress, 100);
        progress->Close();
    }
    return true;
}

} // namespace setup
