// TMainForm: files and folders dropped from the shell become sources or the
// destination, depending on where they land.
#include <windows.h>
#include <shellapi.h>

#include "LangRes.h"
#include "Main.h"

namespace quillrun {

namespace {

// The drop handle is released on every path out of the handler.
class DropHandle {
public:
    explicit DropHandle(HDROP drop) : drop_(drop) {}
    ~DropHandle() { DragFinish(drop_); }
    DropHandle(const DropHandle &) = delete;
    DropHandle &operator=(const DropHandle &) = delete;

    UINT Count() const { return DragQueryFileA(drop_, 0xFFFFFFFFu, nullptr, 0); }
    // The whole path of object `index`: its length is asked first, so a path
    // is never cut to a fixed buffer.
    std::string Path(UINT index) const {
        UINT length = DragQueryFileA(drop_, index, nullptr, 0);
        std::string path(static_cast<size_t>(length) + 1, '\0');
        UINT got = DragQueryFileA(drop_, index, &path[0], length + 1);
        path.resize(got <= length ? got : length);
        return path;
    }
    HDROP Handle() const { return drop_; }

private:
    HDROP drop_;
};

// A control's rectangle in the parent's client coordinates.
RECT ClientRectOf(HWND parent, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

} // namespace

void TMainForm::FormDropFiles(HDROP drop) {
    // The library and the dialogs dispatch messages while a handler runs:
    // a drop handled then would start a count inside another, or reset the
    // busy state under it. It waits until the window is idle again.
    if (busy_ || handlerDepth_ > 1) {
        pendingDrops_.Push(drop);
        return;
    }
    DropHandle dropped(drop);
    int count = static_cast<int>(dropped.Count());
    if (count <= 0)
        return;
    POINT point = {0, 0};
    if (!DragQueryPoint(dropped.Handle(), &point)) {
        Notice(NoticeKind::Error, LangRes::DropOutsideClient);
        return;
    }

    DropPurpose target = DropPurpose::None;
    RECT to = ClientRectOf(hwnd_, Control(IdToCtrl));
    RECT from = ClientRectOf(hwnd_, Control(IdFromCtrl));
    if (point.y >= to.top)
        target = DropPurpose::Destination;
    else if (point.x >= from.left && point.x <= from.right && point.y >= from.top &&
             point.y <= from.bottom)
        target = DropPurpose::Sources; // every edge counts as inside
    if (target == DropPurpose::None && modalWindows_)
        target = modalWindows_->AskDropPurpose();
    if (target == DropPurpose::None)
        return;

    if (target == DropPurpose::Destination) {
        if (count > 1)
            Notice(NoticeKind::Warning, LangRes::DropSeveralDestinations);
        // Nothing checks that it is a folder, or that it exists.
        SetWindowTextA(Control(IdToCtrl), dropped.Path(0).c_str());
        return;
    }
    for (int index = 0; index < count; ++index) {
        if (closeAsked_)
            break;
        AddSource(dropped.Path(static_cast<UINT>(index)));
    }
}

void TMainForm::RepostDrops() {
    if (handlerDepth_ == 0 && !busy_ && !closeAsked_ && hwnd_)
        pendingDrops_.Repost(hwnd_);
}

} // namespace quillrun
