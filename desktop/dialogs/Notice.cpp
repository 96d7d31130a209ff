#include "Notice.h"

#include "LangRes.h"
#include "Outside.h"

namespace quillrun {

void ShowNotice(Outside &outside, HWND owner, NoticeKind kind, const std::string &text,
                bool beep) {
    const char *caption = LangRes::CaptionInformation;
    UINT icon = MB_ICONINFORMATION;
    if (kind == NoticeKind::Error) {
        caption = LangRes::CaptionError;
        icon = MB_ICONERROR;
    } else if (kind == NoticeKind::Warning) {
        caption = LangRes::CaptionWarning;
        icon = MB_ICONWARNING;
    }
    if (beep)
        outside.Beep();
    outside.ShowMessageBox(owner, text, caption, MB_OK | icon);
}

void ShowGeneralError(Outside &outside, HWND owner, const std::string &text) {
    outside.ShowMessageBox(owner, text, LangRes::ApplicationTitle, MB_OK | MB_ICONERROR);
}

std::string FormatPath(const char *format, const std::string &path) {
    std::string text(format);
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

} // namespace quillrun
