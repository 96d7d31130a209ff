// The calling thread's window messages are dispatched while a library call
// runs: a window procedure of the caller runs inside the call, and may even
// call the library again.
#include <gtest/gtest.h>

#include <vector>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"

namespace {

const UINT kNote = WM_APP + 1;    // records that it was dispatched
const UINT kReenter = WM_APP + 2; // calls the library from the window procedure

struct PumpLog {
    bool inCall = false;
    std::vector<WPARAM> dispatched; // wParam of each kNote, in order
    std::vector<bool> duringCall;   // whether it came while the call ran
    std::string lockedPath, otherPath;
    int32_t lockedCount = -1, lockedRc = -1, otherCount = -1, otherRc = -1;
};

PumpLog &Log() {
    static PumpLog log;
    return log;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PumpLog &log = Log();
    if (message == kNote) {
        log.dispatched.push_back(wParam);
        log.duringCall.push_back(log.inCall);
        return 0;
    }
    if (message == kReenter) {
        log.lockedCount = Dll().countInFile(log.lockedPath.c_str(), &log.lockedRc);
        log.otherCount = Dll().countInFile(log.otherPath.c_str(), &log.otherRc);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A message-only window of this thread, destroyed with the object.
class MessageWindow {
public:
    MessageWindow() {
        static const ATOM atom = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "CorvexPumpTest";
            return RegisterClassA(&wc);
        }();
        if (atom)
            hwnd_ = CreateWindowExA(0, "CorvexPumpTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~MessageWindow() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    MessageWindow(const MessageWindow &) = delete;
    MessageWindow &operator=(const MessageWindow &) = delete;
    HWND Handle() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// Removes whatever is still queued for this thread.
void DrainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

MailFile ManyMessages(int count) {
    MailFile mail;
    for (int i = 0; i < count; ++i)
        mail.Message(i == 0 ? 1 : 8, "body " + std::to_string(i));
    return mail;
}

class MessagePump : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, window.Handle());
        DrainQueue();
        Log() = PumpLog();
        ResetProgress();
    }
    void TearDown() override { DrainQueue(); }
    void Post(UINT message, WPARAM wParam) {
        ASSERT_TRUE(PostMessageA(window.Handle(), message, wParam, 0));
    }
    TempFolder tmp;
    MessageWindow window;
};

TEST_F(MessagePump, AMessagePostedBeforeTheCallIsDispatchedDuringIt) {
    const MailFile mail = ManyMessages(200);
    const std::string input = tmp / "mail.txt";
    ASSERT_TRUE(WriteBytes(input, mail.Bytes()));
    for (auto call : {0, 1}) {
        SCOPED_TRACE(call ? "KelpoEx" : "InetMailMessageCountInFileEx");
        Log() = PumpLog();
        Post(kNote, 7);
        int32_t rc = -1;
        Log().inCall = true;
        const int32_t count =
            call ? Dll().kelpoEx(input.c_str(), (tmp / "out").c_str(), KindGeneral, nullptr, &rc,
                                 nullptr)
                 : Dll().countInFileEx(input.c_str(), nullptr, &rc, nullptr);
        Log().inCall = false;
        EXPECT_EQ(200, count);
        EXPECT_EQ(0, rc);
        EXPECT_EQ(std::vector<WPARAM>{7}, Log().dispatched);
        EXPECT_EQ(std::vector<bool>{true}, Log().duringCall);
    }
    // The message was taken off the queue, not left behind.
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window.Handle(), kNote, kNote, PM_NOREMOVE));
}

HWND g_target = nullptr;
int g_progressCalls = 0;

int32_t CORVEX_CALL PostFromProgress(uint32_t, uint32_t, uint32_t, uint32_t) {
    if (++g_progressCalls == 2)
        PostMessageA(g_target, kNote, 3, 0);
    // Lets the library's 10 ms between looks at the queue pass, so the
    // check right after this callback looks.
    WaitForTheClockToPass(10);
    return 0;
}

TEST_F(MessagePump, MessagesPostedDuringTheCallAreDispatchedBeforeItReturns) {
    const MailFile mail = ManyMessages(3);
    const std::string input = tmp / "mail.txt";
    ASSERT_TRUE(WriteBytes(input, mail.Bytes()));
    g_target = window.Handle();
    g_progressCalls = 0;
    Post(kNote, 1);
    Post(kNote, 2);
    int32_t rc = -1;
    Log().inCall = true;
    EXPECT_EQ(3, Dll().kelpoEx(input.c_str(), (tmp / "out").c_str(), KindGeneral, nullptr, &rc,
                               PostFromProgress));
    Log().inCall = false;
    EXPECT_EQ(0, rc);
    EXPECT_EQ(3, g_progressCalls);
    EXPECT_EQ((std::vector<WPARAM>{1, 2, 3}), Log().dispatched);
    EXPECT_EQ((std::vector<bool>{true, true, true}), Log().duringCall);
}

TEST_F(MessagePump, AWindowProcedureMayCallTheLibraryAgain) {
    const MailFile mail = ManyMessages(5);
    const MailFile other = ManyMessages(2);
    const std::string input = tmp / "mail.txt";
    ASSERT_TRUE(WriteBytes(input, mail.Bytes()));
    ASSERT_TRUE(WriteBytes(tmp / "other.txt", other.Bytes()));
    Log().lockedPath = input;
    Log().otherPath = tmp / "other.txt";
    Post(kReenter, 0);

    const std::string out = tmp / "out";
    int32_t rc = -1;
    EXPECT_EQ(5, Dll().kelpoEx(input.c_str(), out.c_str(), KindGeneral, nullptr, &rc, nullptr));
    EXPECT_EQ(0, rc);
    // The outer call holds its input open for exclusive reading.
    EXPECT_EQ(0, Log().lockedCount);
    EXPECT_EQ(ResultInputFileNotFound, Log().lockedRc);
    // Another file counts normally, and the outer call is not disturbed.
    EXPECT_EQ(2, Log().otherCount);
    EXPECT_EQ(0, Log().otherRc);
    ASSERT_EQ(5u, SortedEntries(out).size());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(mail.MessageBytes(i), ReadBytes(out + "\\" + EmlName(i + 1)));
}

TEST_F(MessagePump, TheQueueIsLookedAtNoMoreThanOnceInTenMilliseconds) {
    const MailFile mail = ManyMessages(50);
    const std::string input = tmp / "mail.txt";
    ASSERT_TRUE(WriteBytes(input, mail.Bytes()));
    const int posted = 40;
    for (int i = 0; i < posted; ++i)
        Post(kNote, i);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int32_t rc = -1;
    EXPECT_EQ(50, Dll().countInFileEx(input.c_str(), nullptr, &rc, nullptr));
    QueryPerformanceCounter(&end);
    const double ms = 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    const size_t taken = Log().dispatched.size();
    EXPECT_GE(taken, 1u);
    // One look at the start and at most one per 10 ms after it (a margin
    // for clock granularity).
    EXPECT_LE(double(taken), ms / 9.0 + 2.0) << ms << " ms";
    // Each look takes one message, in the order posted.
    for (size_t i = 0; i < taken; ++i)
        EXPECT_EQ(WPARAM(i), Log().dispatched[i]);
}

} // namespace
