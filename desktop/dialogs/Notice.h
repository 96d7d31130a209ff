// Message boxes of the desktop program: modal, one "OK" button, in three
// kinds with caption and icon, most of them after the platform's default
// beep; and the general error box that shows a failure raised inside a
// handler.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace quillrun {

class Outside;

enum class NoticeKind { Error, Warning, Information };

void ShowNotice(Outside &outside, HWND owner, NoticeKind kind, const std::string &text,
                bool beep);
// The application's general error display.
void ShowGeneralError(Outside &outside, HWND owner, const std::string &text);

// `format` with its one "%s" replaced by `path` (no length limit).
std::string FormatPath(const char *format, const std::string &path);

// A failure raised inside a handler, shown by the general error display.
class RaisedError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quillrun
