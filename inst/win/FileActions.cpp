#include "FileActions.h"

#include <windows.h>

#include "Setup.h"

namespace setup {

namespace {

template <class Attempt>
bool WithRetry(Setup &setup, unsigned textId, const std::string &shownPath, Attempt attempt) {
    for (;;) {
        if (attempt())
            return true;
        switch (setup.Show(MessageKind::RetryError, FormatText(setup.Text(textId), {shownPath}))) {
        case Answer::Retry:
            continue;
        case Answer::Abort:
            setup.ctx.abortFlag = true;
            return false;
        default:
            return false;
        }
    }
}

bool BothFit(const std::string &a, const std::string &b) {
    return FitsPathBuffer(a) && FitsPathBuffer(b);
}

} // namespace

bool CopyWithRetry(Setup &setup, const std::string &source, const std::string &target) {
    return WithRetry(setup, TextCopyFailed, source, [&] {
        return BothFit(source, target) && ::CopyFileA(source.c_str(), target.c_str(), FALSE);
    });
}

bool MoveWithRetry(Setup &setup, const std::string &source, const std::string &target) {
    return WithRetry(setup, TextCopyFailed, source, [&] {
        if (!BothFit(source, target))
            return false;
        ::DeleteFileA(target.c_str());
        return ::MoveFileA(source.c_str(), target.c_str()) != 0;
    });
}

bool DeleteWithRetry(Setup &setup, const std::string &path) {
    return WithRetry(setup, TextDeleteFailed, path,
                     [&] { return FitsPathBuffer(path) && ::DeleteFileA(path.c_str()); });
}

} // namespace setup
