// TMainForm: the keys the window sees first, and the list's Delete key.
#include "KeyboardPreview.h"
#include "Main.h"

namespace quillrun {

HHOOK KeyboardPreview::hook_ = nullptr;
TMainForm *KeyboardPreview::form_ = nullptr;

void KeyboardPreview::Install(TMainForm *form) {
    form_ = form;
    if (!hook_)
        hook_ = SetWindowsHookExA(WH_KEYBOARD, Hook, nullptr, GetCurrentThreadId());
}

void KeyboardPreview::Remove(TMainForm *form) {
    if (form_ != form)
        return;
    form_ = nullptr;
    if (hook_) {
        UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }
}

LRESULT CALLBACK KeyboardPreview::Hook(int code, WPARAM key, LPARAM flags) {
    bool keyDown = (flags & 0x80000000) == 0;
    // HC_ACTION: the key is being taken from the queue (not merely looked at).
    if (code == HC_ACTION && keyDown && form_ && form_->KeyIsForThisWindow() &&
        form_->PreviewKey(key))
        return 1; // consumed: the focused control never sees it
    return CallNextHookEx(hook_, code, key, flags);
}

bool TMainForm::KeyIsForThisWindow() const {
    if (!hwnd_)
        return false;
    HWND target = GetFocus();
    if (!target)
        target = GetActiveWindow();
    return target && (target == hwnd_ || IsChild(hwnd_, target));
}

bool TMainForm::PreviewKey(WPARAM key) {
    if (key == VK_F1) {
        Guarded([this] { HelpBtnClick(); });
        return true;
    }
    bool alt = GetKeyState(VK_MENU) < 0;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool control = GetKeyState(VK_CONTROL) < 0;
    if (!alt || shift || control || (key != 'A' && key != 'M' && key != 'N'))
        return false;
    // While a count or a run is in progress the shortcuts are as inert as
    // their disabled buttons.
    if (busy_)
        return true;
    if (key == 'A')
        Guarded([this] { AboutBtnClick(); });
    else if (key == 'M')
        Guarded([this] { NewFileBtnClick(); });
    else
        Guarded([this] { NewFolderBtnClick(); });
    return true;
}

void TMainForm::FromCtrlKeyDown(WPARAM key) {
    if (key == VK_DELETE)
        Guarded([this] { DeleteBtnClick(); });
}

} // namespace quillrun
