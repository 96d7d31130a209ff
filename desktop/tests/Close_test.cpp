// Closing the window while a count or a run is inside the library: the
// library would dispatch a quit itself and lose it, so the close waits for
// the call to return, starts nothing more, shows nothing more, and the
// window then closes and the program's loop gets its quit.
#include "FormTest.h"

namespace {

bool QuitPending() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

} // namespace

class CloseTest : public FormTest {
protected:
    // Asks for the close as the system close box does, from inside the
    // library call, and notes what holds when the call returns.
    void CloseDuringFirstCall(bool extract) {
        RecordingLibrary::beforeCall = [this, extract](const LibraryCall &call) {
            if (call.extract == extract && !closePosted) {
                PostMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
                closePosted = true;
            }
        };
        RecordingLibrary::afterCall = [this](LibraryCall &) {
            if (closePosted && !returned) {
                returned = true;
                windowAliveAtReturn = IsWindow(Window()) != FALSE;
                quitAtReturn = QuitPending();
            }
        };
    }
    bool closePosted = false, returned = false;
    bool windowAliveAtReturn = false, quitAtReturn = true;
};

TEST_F(CloseTest, CloseDuringACountClosesOnceTheCountReturns) {
    MakeForm();
    HWND window = Window();
    std::string a = MailFileWith("a.txt", 300), b = MailFileWith("b.txt", 3);
    CloseDuringFirstCall(false);
    AddThroughOpenDialog({a, b});
    ASSERT_TRUE(closePosted);
    EXPECT_TRUE(windowAliveAtReturn);
    EXPECT_FALSE(quitAtReturn) << "a quit was posted while the library ran";
    EXPECT_EQ(RecordingLibrary::Calls().size(), 1u) << "the second file was counted";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(QuitPending());
    // No message after the close; only the help engine's closing call.
    for (const OutsideEvent &event : outside.events)
        EXPECT_EQ(event.kind, "help");
}

TEST_F(CloseTest, CloseDuringARunStartsNoFurtherRowAndShowsNoClosingMessage) {
    MakeForm();
    HWND window = Window();
    std::string a = MailFileWith("a.txt", 300), b = MailFileWith("b.txt", 3),
                c = MailFileWith("c.txt", 3);
    AddThroughOpenDialog({a, b, c});
    SetWindowTextA(Control(IdToCtrl), (*temp / "out").c_str());
    outside.events.clear();
    CloseDuringFirstCall(true);
    Click(IdStartBtn);
    ASSERT_TRUE(closePosted);
    EXPECT_TRUE(windowAliveAtReturn);
    EXPECT_FALSE(quitAtReturn);
    ASSERT_EQ(RecordingLibrary::Calls().size(), 4u);
    EXPECT_EQ(RecordingLibrary::Calls()[3].input, a);
    // The first row's messages are all written: the call ran to its end.
    EXPECT_EQ(SortedEntries(*temp / "out").size(), 300u);
    EXPECT_TRUE(outside.Boxes().empty());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(QuitPending());
}

TEST_F(CloseTest, CloseWhileIdleClosesAtOnce) {
    MakeForm();
    HWND window = Window();
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
    EXPECT_TRUE(QuitPending());
}
