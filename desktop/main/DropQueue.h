// Drop handles that wait for the main window to be idle, in the order they
// came; any still waiting when the window goes are released.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace quillrun {

class DropQueue {
public:
    DropQueue() = default;
    ~DropQueue() {
        for (HDROP drop : drops_)
            DragFinish(drop);
    }
    DropQueue(const DropQueue &) = delete;
    DropQueue &operator=(const DropQueue &) = delete;

    void Push(HDROP drop) {
        try {
            drops_.push_back(drop);
        } catch (...) {
            DragFinish(drop); // not kept: released at once
            throw;
        }
    }
    // Hands every waiting drop to `window` again, as the shell did.
    void Repost(HWND window) {
        for (HDROP drop : drops_)
            if (!PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0))
                DragFinish(drop);
        drops_.clear();
    }

private:
    std::vector<HDROP> drops_;
};

} // namespace quillrun
