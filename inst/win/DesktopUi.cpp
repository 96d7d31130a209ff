#include "DesktopUi.h"

#include <windows.h>

namespace setup {

namespace {

UINT BoxType(MessageKind kind) {
    switch (kind) {
    case MessageKind::RetryError:
        return MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_DEFBUTTON2;
    case MessageKind::Question:
        return MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    case MessageKind::QuestionYesFirst:
        return MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1;
    case MessageKind::Error:
        break;
    }
    return MB_OK | MB_ICONERROR;
}

} // namespace

Answer DesktopUi::Show(MessageKind kind, const std::string &text, const std::string &caption,
                       OwnerWindow owner) {
    const HWND window = owner ? static_cast<HWND>(owner) : ::GetDesktopWindow();
    switch (::MessageBoxA(window, text.c_str(), caption.c_str(), BoxType(kind))) {
    case IDABORT:
        return Answer::Abort;
    case IDRETRY:
        return Answer::Retry;
    case IDIGNORE:
        return Answer::Ignore;
    case IDYES:
        return Answer::Yes;
    case IDNO:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

} // namespace setup
