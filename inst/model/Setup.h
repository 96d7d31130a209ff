// What every installer step works with: the start-up record, the system
// seam, the message boxes, and the texts in the run's language.
#pragma once

#include <string>

#include "PathText.h"
#include "Script.h"
#include "SetupContext.h"
#include "Texts.h"

namespace setup {

// The message boxes the install steps show. Every one is owned by the
// desktop window and carries the installer caption.
enum class MessageKind {
    Error,      // error icon, OK
    RetryError, // error icon, Abort, Retry and Ignore, Retry the default
};
enum class Answer { Ok, Abort, Retry, Ignore };

class SetupUi {
public:
    virtual ~SetupUi() = default;
    virtual Answer Show(MessageKind kind, const std::string &text, const std::string &caption) = 0;
};

class Setup {
public:
    Setup(SetupContext &context, const SetupPlatform &system, SetupUi &messages)
        : ctx(context), platform(system), ui(messages), cp(system) {}

    SetupContext &ctx;
    const SetupPlatform &platform;
    SetupUi &ui;
    const CodePage cp;

    Script script() const { return Script(platform, ctx.scriptPath); }
    // Text id in the run's language.
    std::string Text(unsigned englishId) const {
        return platform.LoadText(LocalisedTextId(englishId, ctx.language));
    }
    Answer Show(MessageKind kind, const std::string &text) const {
        return ui.Show(kind, text, ctx.caption);
    }
};

} // namespace setup
