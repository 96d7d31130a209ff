// The hyperlink control on a window of its own, driven by real pointer input
// (SendInput: the system routes moves, presses, capture and leaving) and
// real keys: its looks and colours, what opens the link and what does not,
// the shell call's exact arguments, sizing, the status bar panel.
#include "DialogTest.h"

#include <commctrl.h>

#include "HyperLink.h"
#include "Layout.h"

namespace {

constexpr char kHostClass[] = "HyperLinkTestHost";
constexpr COLORREF kGreen = 0x008000;
HFONT hostFont = nullptr;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETFONT)
        return reinterpret_cast<LRESULT>(hostFont);
    return DefWindowProcA(window, message, wParam, lParam);
}

void SendMouse(DWORD flags, POINT screen) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

} // namespace

class HyperLinkTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        static Font font("MS UI Gothic", 12);
        hostFont = font.Handle();
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kHostClass;
        RegisterClassExA(&windowClass);
        host = CreateWindowExA(WS_EX_CONTROLPARENT, kHostClass, "host",
                               WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 200, 360, 160, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        link = std::make_unique<THyperLink>(outside);
        ASSERT_TRUE(link->Create(host, 7, 20, 20));
        link->SetCaption("https://talven.jp/quillbox/");
        link->HREF = "https://talven.jp/quillbox/";
        link->OnClick = [this](THyperLink &) { ++clicks; };
        SetForegroundWindow(host);
        ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == host; }));
        Away();
    }
    void TearDown() override {
        link.reset();
        if (host)
            DestroyWindow(host);
        FormTest::TearDown();
    }

    // A point of the link's client area, on the screen.
    POINT At(int x, int y) const {
        POINT point = {x, y};
        ClientToScreen(link->Window(), &point);
        return point;
    }
    POINT Middle() const {
        RECT client;
        GetClientRect(link->Window(), &client);
        return At(client.right / 2, client.bottom / 2);
    }
    POINT Outside() const { return At(-15, 40); }
    // The pointer far from the link, the host's own face below it.
    void Away() {
        SendMouse(0, {5, 5});
        ASSERT_TRUE(PumpUntil([&] { return !link->Over(); }));
    }
    // Pointer input, then the thread's messages until `done` holds.
    void Mouse(DWORD flags, POINT screen, const std::function<bool()> &done) {
        SendMouse(flags, screen);
        ASSERT_TRUE(PumpUntil(done)) << "the link did not take the pointer input";
    }
    int PixelsOf(COLORREF colour) const { return ::PixelsOf(link->Window(), colour); }
    int FrameDots() const { return FocusFrameDots(link->Window()); }
    std::vector<OutsideEvent> ShellCalls() const { return ::ShellCalls(outside); }

    HWND host = nullptr;
    std::unique_ptr<THyperLink> link;
    int clicks = 0;
};

TEST_F(HyperLinkTest, IsCreatedUnderlinedInItsParentsFontAndSizedToItsText) {
    HWND window = link->Window();
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, "THyperLink");
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP);
    LOGFONTA font = {};
    GetObjectA(link->FontHandle(), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS UI Gothic");
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_EQ(link->RestStyle(), fsNone);
    EXPECT_EQ(link->NotPressedColor(), 0xFF0000u);
    EXPECT_EQ(link->PressedColor(), 0x0000FFu);
    EXPECT_EQ(link->OverColor(), 0xFF0000u);
    EXPECT_EQ(link->TextColor(), 0xFF0000u);
    // The program's own hand cursor.
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR)),
              LoadCursorA(GetModuleHandleA(nullptr), "HANDPOINT"));
    EXPECT_NE(LoadCursorA(GetModuleHandleA(nullptr), "HANDPOINT"), nullptr);

    // Text + one border width each way; four with a border; an italic face
    // is measured with a comma after the text.
    auto expectSize = [&](HWND control, const std::string &measured, int borders) {
        RECT rect;
        GetWindowRect(control, &rect);
        SIZE text = TextSize(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
                             measured);
        EXPECT_EQ(rect.right - rect.left, text.cx + borders * GetSystemMetrics(SM_CXBORDER));
        EXPECT_EQ(rect.bottom - rect.top, text.cy + borders * GetSystemMetrics(SM_CYBORDER));
    };
    expectSize(window, "https://talven.jp/quillbox/", 1);
    POINT place = {0, 0};
    MapWindowPoints(window, host, &place, 1);
    EXPECT_EQ(place.x, Scale(20));
    EXPECT_EQ(place.y, Scale(20));
    link->SetFont("MS UI Gothic", 12, fsItalic, THyperLink::Blue);
    expectSize(window, "https://talven.jp/quillbox/,", 1);
    link->SetAutoSize(false);
    link->SetCaption("x");
    expectSize(window, "https://talven.jp/quillbox/,", 1);
    link->SetAutoSize(true);
    expectSize(window, "x,", 1);

    THyperLink bordered(outside);
    ASSERT_TRUE(bordered.Create(host, 8, 20, 60, WS_BORDER));
    bordered.SetCaption("mailto");
    expectSize(bordered.Window(), "mailto", 4);
}

TEST_F(HyperLinkTest, PressAndReleaseInsideOpensTheTargetWithTheExactArguments) {
    Mouse(MOUSEEVENTF_LEFTDOWN, Middle(), [&] { return link->Pressed(); });
    EXPECT_EQ(GetFocus(), link->Window());
    EXPECT_EQ(link->TextColor(), THyperLink::Red);
    EXPECT_GT(PixelsOf(RGB(255, 0, 0)), 0);
    EXPECT_EQ(PixelsOf(RGB(0, 0, 255)), 0);
    EXPECT_TRUE(ShellCalls().empty()) << "nothing opens on the press";
    Mouse(MOUSEEVENTF_LEFTUP, Middle(), [&] { return !ShellCalls().empty(); });
    std::vector<OutsideEvent> calls = ShellCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, host);
    EXPECT_EQ(calls[0].caption, "open");
    EXPECT_EQ(calls[0].text, "https://talven.jp/quillbox/");
    EXPECT_EQ(calls[0].parameters, "");
    EXPECT_EQ(calls[0].directory, "");
    EXPECT_EQ(calls[0].show, SW_SHOWDEFAULT);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(link->Pressed());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HyperLinkTest, WhileHeldTheTextIsRedInsideAndBlueOutsideAndOnlyAReleaseInsideOpens) {
    Mouse(MOUSEEVENTF_LEFTDOWN, Middle(), [&] { return link->Pressed(); });
    // Straight out: blue, though the pointer never moved inside first.
    Mouse(0, Outside(), [&] { return !link->Pressed(); });
    EXPECT_EQ(link->TextColor(), THyperLink::Blue);
    EXPECT_GT(PixelsOf(RGB(0, 0, 255)), 0);
    EXPECT_EQ(PixelsOf(RGB(255, 0, 0)), 0);
    Mouse(0, Middle(), [&] { return link->Pressed(); });
    EXPECT_EQ(link->TextColor(), THyperLink::Red);
    EXPECT_GT(PixelsOf(RGB(255, 0, 0)), 0);
    Mouse(0, Outside(), [&] { return !link->Pressed(); });
    Mouse(MOUSEEVENTF_LEFTUP, Outside(), [&] { return GetCapture() == nullptr; });
    Pump();
    EXPECT_TRUE(ShellCalls().empty());
    EXPECT_EQ(clicks, 0);

    // Out and back, released inside: opens once.
    Mouse(MOUSEEVENTF_LEFTDOWN, Middle(), [&] { return link->Pressed(); });
    Mouse(0, Outside(), [&] { return !link->Pressed(); });
    Mouse(0, Middle(), [&] { return link->Pressed(); });
    Mouse(MOUSEEVENTF_LEFTUP, Middle(), [&] { return !ShellCalls().empty(); });
    EXPECT_EQ(ShellCalls().size(), 1u);
}

TEST_F(HyperLinkTest, ARightClickTakesTheFocusButOpensNothing) {
    ASSERT_NE(GetFocus(), link->Window());
    Mouse(MOUSEEVENTF_RIGHTDOWN, Middle(), [&] { return GetFocus() == link->Window(); });
    EXPECT_FALSE(link->Pressed());
    Mouse(MOUSEEVENTF_RIGHTUP, Middle(), [&] { return true; });
    // A left press and release afterwards shows the right one was seen.
    Mouse(MOUSEEVENTF_LEFTDOWN, Middle(), [&] { return link->Pressed(); });
    Mouse(MOUSEEVENTF_LEFTUP, Middle(), [&] { return !ShellCalls().empty(); });
    EXPECT_EQ(ShellCalls().size(), 1u);
}

TEST_F(HyperLinkTest, EnterOpensTheFocusedLinkAndClicksIt) {
    SetFocus(link->Window());
    PressKeys({}, VK_RETURN);
    ASSERT_EQ(ShellCalls().size(), 1u);
    EXPECT_EQ(ShellCalls()[0].text, "https://talven.jp/quillbox/");
    EXPECT_EQ(clicks, 1);
    // Other keys reach the key-press handler and open nothing.
    std::string keys;
    link->OnKeyPress = [&](THyperLink &, char &key) { keys += key; };
    PressKeys({}, 'Q');
    PressKeys({}, VK_RETURN);
    EXPECT_EQ(keys, "q\r");
    EXPECT_EQ(ShellCalls().size(), 2u);
}

TEST_F(HyperLinkTest, AnEmptyTargetOpensNothing) {
    link->HREF.clear();
    Mouse(MOUSEEVENTF_LEFTDOWN, Middle(), [&] { return link->Pressed(); });
    Mouse(MOUSEEVENTF_LEFTUP, Middle(), [&] { return !link->Pressed(); });
    SetFocus(link->Window());
    PressKeys({}, VK_RETURN);
    EXPECT_TRUE(ShellCalls().empty());
    EXPECT_EQ(clicks, 2) << "it is still clicked";
}

TEST_F(HyperLinkTest, HoverShowsTheOverLookAndLeavingTheRestLook) {
    link->SetOverColor(kGreen);
    Mouse(0, Middle(), [&] { return link->Over(); });
    EXPECT_EQ(link->TextColor(), kGreen);
    EXPECT_TRUE(link->Style() & fsUnderline);
    EXPECT_GT(PixelsOf(kGreen), 0);
    EXPECT_EQ(PixelsOf(RGB(0, 0, 255)), 0);
    // The pointer over the link shows the hand.
    EXPECT_EQ(GetCursor(), LoadCursorA(GetModuleHandleA(nullptr), "HANDPOINT"));
    // A new over colour shows at once while the pointer is over the link.
    link->SetOverColor(THyperLink::Red);
    EXPECT_GT(PixelsOf(RGB(255, 0, 0)), 0);

    Away();
    EXPECT_EQ(link->TextColor(), THyperLink::Blue);
    // At rest the style is the one the font had at creation: no underline.
    EXPECT_EQ(link->Style(), fsNone);
    LOGFONTA font = {};
    GetObjectA(link->FontHandle(), sizeof font, &font);
    EXPECT_FALSE(font.lfUnderline);
}

TEST_F(HyperLinkTest, ColoursSetAtRestShowAtOnceAndAFontColourBecomesTheRestColour) {
    link->SetNotPressedColor(kGreen);
    EXPECT_EQ(link->TextColor(), kGreen);
    EXPECT_GT(PixelsOf(kGreen), 0);
    link->SetPressedColor(THyperLink::Blue);
    EXPECT_EQ(link->TextColor(), kGreen) << "the pressed colour waits for a press";
    Mouse(MOUSEEVENTF_LEFTDOWN, Middle(), [&] { return link->Pressed(); });
    EXPECT_EQ(link->TextColor(), THyperLink::Blue);
    Mouse(MOUSEEVENTF_LEFTUP, Outside(), [&] { return GetCapture() == nullptr; });
    // The press took the focus, and a focused link keeps the over look.
    EXPECT_TRUE(link->Over());
    SetFocus(host);
    Away();

    link->SetFont("MS UI Gothic", 12, fsUnderline, THyperLink::Red);
    EXPECT_EQ(link->NotPressedColor(), THyperLink::Red);
    // Not while the pointer is over the link.
    Mouse(0, Middle(), [&] { return link->Over(); });
    link->SetFont("MS UI Gothic", 12, fsUnderline, kGreen);
    EXPECT_EQ(link->NotPressedColor(), THyperLink::Red);
}

TEST_F(HyperLinkTest, TheFocusShowsTheOverLookAndAFocusFrame) {
    EXPECT_EQ(FrameDots(), 0);
    link->SetOverColor(kGreen);
    SetFocus(link->Window());
    Pump();
    EXPECT_TRUE(link->Over());
    EXPECT_EQ(link->TextColor(), kGreen);
    EXPECT_GT(FrameDots(), 2);
    SetFocus(host);
    Pump();
    EXPECT_FALSE(link->Over());
    EXPECT_EQ(link->TextColor(), THyperLink::Blue);
    EXPECT_EQ(FrameDots(), 0);
}

TEST_F(HyperLinkTest, TheStatusBarPanelShowsTheTargetWhileFocusedAndGetsItsTextBack) {
    HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                  host, nullptr, GetModuleHandleA(nullptr), nullptr);
    int parts[] = {100, -1};
    SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SendMessageA(status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("ready"));
    link->StatusBar = status;
    link->StatusPanelNo = 1;
    auto panel = [&] {
        char text[128] = "";
        SendMessageA(status, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    SetFocus(link->Window());
    EXPECT_EQ(panel(), "https://talven.jp/quillbox/");
    SetFocus(host);
    EXPECT_EQ(panel(), "ready");
    Mouse(0, Middle(), [&] { return link->Over(); });
    EXPECT_EQ(panel(), "https://talven.jp/quillbox/");
    link->StatusBar = nullptr;
    DestroyWindow(status);
}
