// The fixture of the tests of the About box, the drop-purpose dialog and
// drops: the real main window with both dialogs made and wired as the
// program makes them, a script of steps that run inside a modal window's own
// loop, and pictures of the windows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Dialogs.h"
#include "FormTest.h"

// Steps run inside whatever loop the thread is in (a modal window's), from
// a thread timer: each waits until its condition holds, then acts. A script
// that is not done after `timeoutMs` closes the thread's dialogs, so a
// failing test ends instead of hanging.
class ModalScript {
public:
    explicit ModalScript(DWORD timeoutMs = 10000);
    ~ModalScript();
    ModalScript(const ModalScript &) = delete;
    ModalScript &operator=(const ModalScript &) = delete;

    ModalScript &Then(std::function<bool()> ready, std::function<void()> act);
    // Every step ran.
    bool Done() const { return next_ == steps_.size(); }
    size_t StepsRun() const { return next_; }
    bool TimedOut() const { return timedOut_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Advance();

    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    std::vector<Step> steps_;
    size_t next_ = 0;
    bool running_ = false;
    bool timedOut_ = false;
    DWORD start_;
    DWORD timeoutMs_;
    UINT_PTR timer_;
    static ModalScript *current_;
};

// Closes the thread's visible dialogs (a test that went wrong).
void CloseDialogs();

class DialogTest : public FormTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main window, then the About box and the drop-purpose dialog, wired
    // to it.
    void MakeFormWithDialogs();

    // The window shows, is active and has the focus inside.
    static bool Showing(const ModalForm &form);

    std::unique_ptr<TAboutDlg> about;
    std::unique_ptr<TChooseDlg> choose;
    std::unique_ptr<FormDialogs> dialogs;
};

// A control's rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);
// The font a control draws with.
LOGFONTA FontOf(HWND control);

// A hidden fixed-size dialog-style window owned by `owner`, with this
// caption and client size (96-DPI pixels).
void ExpectDialogFrame(HWND window, HWND owner, const char *caption, int width, int height);
// A control at (left, top) (96-DPI pixels), with this text, in `face` at
// `pixels` and `weight`; `width` and `height` -1: sized to the text, plus
// `extra` pixels each way.
struct ControlLook {
    int left, top, width, height;
    const char *text, *face;
    int pixels, weight, extra;
};
void ExpectControl(HWND control, const ControlLook &look);

// How many of a window's client pixels show `colour` now.
int PixelsOf(HWND window, COLORREF colour);
// Pixels of the last column of a link (right of its text) that are not the
// face colour: the dots of a focus frame.
int FocusFrameDots(HWND link);
// The shell calls among the recorded events.
std::vector<OutsideEvent> ShellCalls(const TestOutside &outside);
