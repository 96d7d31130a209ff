// Times a count and a run of one file through the desktop program's real
// main window (shown on the display, over the real Corvex.dll), then watches
// the idle window: how often it wakes and how much processor time it takes.
//   bench_quillrun_driver INPUT OUTPUT-FOLDER KIND IDLE-MS
// Prints "count_ms=T messages=N run_ms=T box=... idle_wakeups=W idle_cpu_ms=C".
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Main.h"

using namespace quillrun;

namespace {

// Answers the dialogs as a user would, without showing them.
class UnattendedOutside : public Outside {
public:
    explicit UnattendedOutside(std::string input) : input_(std::move(input)) {}
    std::string lastBox;
    void Beep() override {}
    int ShowMessageBox(HWND, const std::string &text, const char *, UINT) override {
        lastBox = text;
        return IDOK;
    }
    bool RunOpenDialog(OPENFILENAMEA &dialog, DWORD &error) override {
        error = 0;
        if (input_.size() + 2 > dialog.nMaxFile)
            return false;
        std::memcpy(dialog.lpstrFile, input_.c_str(), input_.size() + 1);
        dialog.lpstrFile[input_.size() + 1] = '\0';
        return true;
    }
    HRESULT GetShellMalloc(IMalloc **allocator) override { return SHGetMalloc(allocator); }
    HRESULT GetDesktopFolder(IShellFolder **folder) override { return SHGetDesktopFolder(folder); }
    LPITEMIDLIST BrowseForFolder(BROWSEINFOA &) override { return nullptr; }
    HtmlHelpProc LoadHelpEngine() override { return nullptr; }
    HINSTANCE ShellExecuteTarget(HWND, const char *, const char *, const char *, const char *,
                                 int) override {
        return nullptr;
    }
    bool PlatformVersion(OSVERSIONINFOA &version) override {
        return RealOutside().PlatformVersion(version);
    }
    void EndProgram(UINT code) override { ExitProcess(code); }
    DWORD Ticks() override { return GetTickCount(); }

private:
    std::string input_;
};

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1e3 / frequency.QuadPart;
}

double CpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (value(kernel) + value(user)) / 1e4;
}

void Pump(TMainForm &form) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!form.PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_quillrun_driver INPUT OUTPUT-FOLDER KIND IDLE-MS\n");
        return 2;
    }
    OleInitialize(nullptr);
    UnattendedOutside outside(argv[1]);
    TMainForm form(outside, LinkedInetMail());
    if (!form.Create())
        return 1;
    ShowWindow(form.Window(), SW_SHOW);
    UpdateWindow(form.Window());
    SetForegroundWindow(form.Window());
    Pump(form);

    double start = NowMs();
    SendMessageA(form.Control(IdNewFileBtn), BM_CLICK, 0, 0);
    double counted = NowMs();
    if (form.Rows().size() != 1)
        return 1;
    SetWindowTextA(form.Control(IdToCtrl), argv[2]);
    SendMessageA(form.Control(IdOptConvert), CB_SETCURSEL, std::atoi(argv[3]), 0);
    Pump(form);
    double runStart = NowMs();
    SendMessageA(form.Control(IdStartBtn), BM_CLICK, 0, 0);
    double ran = NowMs();
    std::printf("count_ms=%.3f messages=%d run_ms=%.3f\n", counted - start, form.Rows()[0].count,
                ran - runStart);

    // The idle window: every wake-up of the thread is counted.
    Pump(form);
    int wakeups = 0;
    double cpu = CpuMs();
    double idleStart = NowMs(), idleMs = std::atof(argv[4]);
    for (;;) {
        double left = idleMs - (NowMs() - idleStart);
        if (left <= 0)
            break;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT) ==
            WAIT_OBJECT_0) {
            ++wakeups;
            Pump(form);
        }
    }
    std::printf("box_ok=%d idle_wakeups=%d idle_cpu_ms=%.3f\n",
                outside.lastBox == "抽出処理が終了しました。" ? 1 : 0, wakeups, CpuMs() - cpu);
    DestroyWindow(form.Window());
    OleUninitialize();
    return 0;
}
