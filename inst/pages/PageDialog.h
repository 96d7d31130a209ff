// One wizard page: a dialog from its template in the run's language, with
// the frame that every page shares.
#pragma once

#include <windows.h>

#include <string>

#include "Setup.h"

namespace setup {

class Banner;

// What every page works with: the run, the module that holds the page
// templates and the icon, and the banner.
struct PageFrame {
    Setup &setup;
    HINSTANCE resources;
    const Banner &banner;
};

// The frame: the installer caption as the title, the banner painted in the
// banner area, the page title on white, the page's read-only text box on
// the window colour, and Cancel, Back and Next, which end a modal page
// with their ids unless the page says otherwise. The close box and the
// Escape key act as Cancel while Cancel is enabled; while it is disabled
// the close box is greyed.
class PageDialog {
public:
    PageDialog(const PageFrame &frame, int templateId) : frame_(frame), templateId_(templateId) {}
    virtual ~PageDialog();
    PageDialog(const PageDialog &) = delete;
    PageDialog &operator=(const PageDialog &) = delete;

    // Shows the page modally, with no owner window: it stands on the
    // desktop. The id of the button that ended it; Cancel when the page
    // could not be made.
    int RunModal();
    // Creates and shows the page without a loop of its own; false when it
    // could not be made.
    bool OpenModeless();
    // Destroys a modeless page.
    void Destroy();
    HWND Window() const { return hwnd_; }

protected:
    virtual void OnInit() {}
    // A command of a control other than Cancel, Back and Next.
    virtual void OnCommand(int /*id*/, int /*code*/) {}
    // Cancel, Back or Next, pressed while enabled.
    virtual void OnButton(int id) { End(id); }
    // The read-only text box drawn on the window colour, or 0. It is made
    // a Unicode control before OnInit, so that a text in any language
    // shows in it.
    virtual int ReadOnlyBox() const { return 0; }
    // The control that has the focus when the page opens; 0 for the first
    // one that takes it.
    virtual int FocusControl() const { return 0; }

    void End(int id);
    // Text 107, owned by the page; true when the user answers Yes.
    bool ConfirmExit();
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string &text);
    // Into a Unicode control, as the read-only text box is.
    void SetItemText(int id, const std::wstring &text);
    bool IsItemEnabled(int id) const;
    Setup &setup() const { return frame_.setup; }
    // Keeps the close box in step with Cancel.
    void SyncCloseBox();

    const PageFrame &frame_;
    HWND hwnd_ = nullptr;

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    INT_PTR StaticColour(HDC dc, HWND control);

    int templateId_;
    bool modal_ = false;
};

} // namespace setup
