// A small top-level window that the main window shows modally: created
// hidden once at start-up, owned by the main window, shown as often as
// needed. While it shows, the owner is disabled and the window's own loop
// gives it the dialog keys (Tab, arrows, Enter for the default button,
// Escape and the close box for Cancel).
#pragma once

#include <windows.h>

#include "win/BaseWindow.h"
#include "Layout.h"

namespace quillrun {

class ModalForm : public quillbox::win::BaseWindow<ModalForm> {
public:
    virtual ~ModalForm();
    ModalForm(const ModalForm &) = delete;
    ModalForm &operator=(const ModalForm &) = delete;

    // Shows the window modally until it closes; IDOK or IDCANCEL. 0 when it
    // cannot be shown: not created, or already showing.
    int ShowModal();
    bool Showing() const { return showing_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    ModalForm() = default;

    // Creates the window hidden, of its own class, owned by `owner`, with a
    // client area of `width` x `height` 96-DPI pixels; CreateControls runs
    // inside, with the form's font made.
    bool Create(const char *className, HWND owner, const char *caption, int width, int height);
    void Destroy();

    virtual void CreateControls() = 0;
    // Just before the window shows.
    virtual void BeforeShow() {}
    // Once per showing, when the window first becomes active; the keyboard
    // focus is then on the first control in the tab order.
    virtual void FormActivate() {}
    // A control's notification other than the OK and Cancel buttons' clicks.
    virtual void Command(int id, int code) { (void)id, (void)code; }
    // Drawing on the form itself, below the controls.
    virtual void Paint(HDC dc) { (void)dc; }

    // Ends the modal showing with `result`.
    void Close(int result) { result_ = result; }
    // Places the window with its outer top-left corner at (left, top).
    void MoveTo(int left, int top);
    // The button that Enter presses when the focus is not on a push button.
    void SetDefaultButton(int id);

    // "MS UI Gothic" at 12 pixels: every control's font.
    Font font_;

private:
    // The focused push button shows as the default one, as in a dialog.
    void FollowFocus();

    int result_ = 0;
    bool showing_ = false;
    bool activated_ = false; // FormActivate ran in this showing
    int defaultId_ = IDOK;
    HWND lastFocus_ = nullptr;
    HWND followedFocus_ = nullptr;
};

} // namespace quillrun
