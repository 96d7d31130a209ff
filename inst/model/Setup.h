// What every installer step works with: the start-up record, the system
// seam, the message boxes, and the texts in the run's language.
#pragma once

#include <string>

#include "PathText.h"
#include "Script.h"
#include "SetupContext.h"
#include "Texts.h"

namespace setup {

// The message boxes of the installer. Each carries the installer caption
// and is owned by the desktop window, or by the page that asks it.
enum class MessageKind {
    Error,         // error icon, OK
    RetryError,    // error icon, Abort, Retry and Ignore, Retry the default
    Question,      // question icon, Yes and No, No the default
    QuestionYesFirst, // question icon, Yes and No, Yes the default
};
enum class Answer { Ok, Abort, Retry, Ignore, Yes, No };

// The window that owns a message box: a page's window handle, or null for
// the desktop window. Opaque here, so that the model stays portable.
using OwnerWindow = void *;

class SetupUi {
public:
    virtual ~SetupUi() = default;
    virtual Answer Show(MessageKind kind, const std::string &text, const std::string &caption,
                        OwnerWindow owner) = 0;
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
    Answer Show(MessageKind kind, const std::string &text, OwnerWindow owner = nullptr) const {
        return ui.Show(kind, text, ctx.caption, owner);
    }
};

} // namespace setup
