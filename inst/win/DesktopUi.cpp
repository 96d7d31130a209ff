#include "DesktopUi.h"

#include <windows.h>

namespace setup {

Answer DesktopUi::Show(MessageKind kind, const std::string &text, const std::string &caption) {
    const UINT type = kind == MessageKind::RetryError
                          ? MB_ABORTRETRYIGNORE | MB_ICONERROR | MB_DEFBUTTON2
                          : MB_OK | MB_ICONERROR;
    switch (::MessageBoxA(::GetDesktopWindow(), text.c_str(), caption.c_str(), type)) {
    case IDABORT:
        return Answer::Abort;
    case IDRETRY:
        return Answer::Retry;
    case IDIGNORE:
        return Answer::Ignore;
    default:
        return Answer::Ok;
    }
}

} // namespace setup
