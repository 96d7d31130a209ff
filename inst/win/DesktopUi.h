// The installer's message boxes as the user sees them: owned by the page
// that asks, or else by the desktop window.
#pragma once

#include "Setup.h"

namespace setup {

class DesktopUi : public SetupUi {
public:
    Answer Show(MessageKind kind, const std::string &text, const std::string &caption,
                OwnerWindow owner) override;
};

} // namespace setup
