#include "DialogTest.h"

#include <cstdio>
#include <cstdlib>

#include "Layout.h"
#include "Screenshot.h"
#include "WindowWalk.h"

ModalScript *ModalScript::current_ = nullptr;

ModalScript::ModalScript(DWORD timeoutMs)
    : start_(GetTickCount()), timeoutMs_(timeoutMs), timer_(SetTimer(nullptr, 0, 15, Tick)) {
    current_ = this;
}

ModalScript::~ModalScript() {
    KillTimer(nullptr, timer_);
    if (current_ == this)
        current_ = nullptr;
}

ModalScript &ModalScript::Then(std::function<bool()> ready, std::function<void()> act) {
    steps_.push_back(Step{std::move(ready), std::move(act)});
    return *this;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_)
        current_->Advance();
}

void ModalScript::Advance() {
    if (running_ || Done())
        return;
    running_ = true;
    // A step may finish the loop that runs the timer; the next one waits.
    if (steps_[next_].ready()) {
        auto act = steps_[next_++].act; // a step may add steps
        act();
        start_ = GetTickCount();
    } else if (GetTickCount() - start_ > timeoutMs_ && !timedOut_) {
        timedOut_ = true;
        ADD_FAILURE() << "script step " << next_ << " waited in vain";
        CloseDialogs();
    }
    running_ = false;
}

void CloseDialogs() {
    ForEachThreadWindow(GetCurrentThreadId(), [](HWND window) {
        char name[32] = "";
        GetClassNameA(window, name, sizeof name);
        if (IsWindowVisible(window) &&
            (lstrcmpA(name, "TAboutDlg") == 0 || lstrcmpA(name, "TChooseDlg") == 0))
            PostMessageA(window, WM_CLOSE, 0, 0);
        return true;
    });
}

namespace {

// Watches for a dialog that stays open with no script to answer it, so a
// failing test ends instead of hanging.
UINT_PTR watchdog = 0;
DWORD dialogSince = 0;

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    HWND active = GetActiveWindow();
    char name[32] = "";
    if (!active || !GetClassNameA(active, name, sizeof name) ||
        (lstrcmpA(name, "TAboutDlg") != 0 && lstrcmpA(name, "TChooseDlg") != 0)) {
        dialogSince = 0;
        return;
    }
    if (dialogSince == 0) {
        dialogSince = GetTickCount();
    } else if (GetTickCount() - dialogSince > 20000) {
        ADD_FAILURE() << name << " stayed open with nothing to answer it";
        dialogSince = 0;
        CloseDialogs();
    }
}

} // namespace

void DialogTest::SetUp() {
    FormTest::SetUp();
    dialogSince = 0;
    watchdog = SetTimer(nullptr, 0, 250, Watch);
}

void DialogTest::TearDown() {
    KillTimer(nullptr, watchdog);
    if (form)
        form->SetModalWindows(nullptr);
    dialogs.reset();
    choose.reset();
    about.reset();
    FormTest::TearDown();
}

void DialogTest::MakeFormWithDialogs() {
    MakeForm();
    about = std::make_unique<TAboutDlg>(outside);
    ASSERT_TRUE(about->Create(Window()));
    choose = std::make_unique<TChooseDlg>();
    ASSERT_TRUE(choose->Create(Window()));
    dialogs = std::make_unique<FormDialogs>(*about, *choose);
    form->SetModalWindows(dialogs.get());
}

bool DialogTest::Showing(const ModalForm &form) {
    HWND window = form.Window();
    HWND focus = GetFocus();
    return form.Showing() && IsWindowVisible(window) && GetActiveWindow() == window && focus &&
           IsChild(window, focus);
}

RECT RectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

LOGFONTA FontOf(HWND control) {
    LOGFONTA font = {};
    auto handle = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    if (handle)
        GetObjectA(handle, sizeof font, &font);
    return font;
}

void ExpectDialogFrame(HWND window, HWND owner, const char *caption, int width, int height) {
    EXPECT_EQ(WindowText(window), caption);
    EXPECT_EQ(GetWindow(window, GW_OWNER), owner);
    EXPECT_FALSE(IsWindowVisible(window));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Scale(width));
    EXPECT_EQ(client.bottom, Scale(height));
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
}

void ExpectControl(HWND control, const ControlLook &look) {
    SCOPED_TRACE(look.text);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(WindowText(control), look.text);
    RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, Scale(look.left));
    EXPECT_EQ(rect.top, Scale(look.top));
    SIZE size = {Scale(look.width), Scale(look.height)};
    if (look.width < 0) {
        size = TextSize(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
                        look.text);
        size.cx += look.extra;
        size.cy += look.extra;
    }
    EXPECT_EQ(rect.right - rect.left, size.cx);
    EXPECT_EQ(rect.bottom - rect.top, size.cy);
    if (!look.face)
        return;
    LOGFONTA font = FontOf(control);
    EXPECT_STREQ(font.lfFaceName, look.face);
    EXPECT_EQ(font.lfHeight, -Scale(look.pixels));
    EXPECT_EQ(font.lfWeight, look.weight);
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
}

namespace {

// Counts the client pixels of `window` for which `counted` holds.
template <class Predicate>
int CountPixels(HWND window, int left, Predicate counted) {
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = left < 0 ? client.right + left : left; x < client.right; ++x)
            count += counted(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return count;
}

} // namespace

int PixelsOf(HWND window, COLORREF colour) {
    return CountPixels(window, 0, [colour](COLORREF pixel) { return pixel == colour; });
}

int FocusFrameDots(HWND link) {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    return CountPixels(link, -1, [face](COLORREF pixel) { return pixel != face; });
}

std::vector<OutsideEvent> ShellCalls(const TestOutside &outside) {
    std::vector<OutsideEvent> calls;
    for (const OutsideEvent &event : outside.events)
        if (event.kind == "shell")
            calls.push_back(event);
    return calls;
}
