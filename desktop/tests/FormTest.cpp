#include "FormTest.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "AnsiPath.h"
#include "Layout.h"
#include "MailText.h"
#include "Screenshot.h"

namespace {

// A hook behind the window's own that notes the marker key, so a test knows
// when all keys sent before it have been handled.
constexpr WORD kMarkerKey = VK_F24;
HHOOK markerHook = nullptr;
int markersSeen = 0;

LRESULT CALLBACK MarkerHook(int code, WPARAM key, LPARAM flags) {
    if (code == HC_ACTION && key == kMarkerKey && (flags & 0x80000000))
        ++markersSeen;
    return CallNextHookEx(markerHook, code, key, flags);
}

void AppendKey(std::vector<INPUT> &inputs, WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
}

} // namespace

void FormTest::SetUp() {
    RecordingLibrary::Reset();
    temp = std::make_unique<TempFolder>();
    if (!markerHook)
        markerHook = SetWindowsHookExA(WH_KEYBOARD, MarkerHook, nullptr, GetCurrentThreadId());
}

void FormTest::TearDown() {
    if (form && form->Window())
        DestroyWindow(form->Window());
    form.reset();
    // The window's end posts the quit that the program's loop would see.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    RecordingLibrary::Reset();
    temp.reset();
}

void FormTest::MakeForm() {
    form = std::make_unique<TMainForm>(outside, RecordingLibrary::Bind());
    ASSERT_TRUE(form->Create());
    ShowWindow(Window(), SW_SHOW);
    UpdateWindow(Window());
    SetForegroundWindow(Window());
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Window() &&
                                        GetActiveWindow() == Window(); }))
        << "the main window did not become the active window";
}

void FormTest::Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (form && form->PreTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool FormTest::PumpUntil(const std::function<bool()> &done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        Pump();
        if (done())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void FormTest::Click(ControlId id) {
    SendMessageA(Control(id), BM_CLICK, 0, 0);
    Pump();
}

void FormTest::SendKeys(std::initializer_list<WORD> modifiers, WORD key) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        AppendKey(inputs, modifier, false);
    AppendKey(inputs, key, false);
    AppendKey(inputs, key, true);
    for (auto it = modifiers.end(); it != modifiers.begin();)
        AppendKey(inputs, *--it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void FormTest::PressKeys(std::initializer_list<WORD> modifiers, WORD key) {
    int before = markersSeen;
    SendKeys(modifiers, key);
    SendKeys({}, kMarkerKey);
    ASSERT_TRUE(PumpUntil([&] { return markersSeen > before; }))
        << "the keys were not taken from the queue";
    Pump();
}

std::string FormTest::MailFileWith(const std::string &name, int messages) {
    MailFile mail;
    for (int i = 0; i < messages; ++i)
        mail.Message(10, "message " + std::to_string(i + 1));
    std::string path = *temp / name;
    EXPECT_TRUE(WriteBytes(path, mail.Bytes()));
    return path;
}

bool AnswerOpenDialog(OPENFILENAMEA &dialog, const std::vector<std::string> &paths) {
    std::string answer;
    if (paths.size() == 1) {
        answer = paths[0] + '\0';
    } else {
        answer = FolderOf(paths[0]) + '\0';
        for (const std::string &path : paths)
            answer += path.substr(FolderOf(path).size() + 1) + '\0';
    }
    answer += '\0';
    if (answer.size() > dialog.nMaxFile)
        return false;
    std::memcpy(dialog.lpstrFile, answer.data(), answer.size());
    return true;
}

void FormTest::AddThroughOpenDialog(const std::vector<std::string> &paths) {
    outside.openDialog = [paths](OPENFILENAMEA &dialog, DWORD &) {
        return AnswerOpenDialog(dialog, paths);
    };
    Click(IdNewFileBtn);
    outside.openDialog = nullptr;
}

std::string FormTest::Text(ControlId id) const { return WindowText(Control(id)); }

std::string FormTest::Cell(int row, int column) const {
    char text[1024] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(Control(IdFromCtrl), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

int FormTest::RowCount() const {
    return static_cast<int>(SendMessageA(Control(IdFromCtrl), LVM_GETITEMCOUNT, 0, 0));
}

std::string FormTest::ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

namespace {

const ControlId kSwitched[] = {IdAboutBtn, IdNewFolderBtn, IdNewFileBtn, IdDeleteBtn, IdStartBtn,
                               IdBrowseBtn, IdFromCtrl,    IdToCtrl,     IdOptConvert};

bool AcceptsDrops(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

} // namespace

::testing::AssertionResult FormTest::IsIdle() const {
    for (ControlId id : kSwitched)
        if (!IsWindowEnabled(Control(id)))
            return ::testing::AssertionFailure() << "control " << id << " is disabled";
    if (!IsWindowVisible(Control(IdStartBtn)))
        return ::testing::AssertionFailure() << "the start button is hidden";
    if (IsWindowVisible(Control(IdProgBar)))
        return ::testing::AssertionFailure() << "the progress bar shows";
    if (!Text(IdProgText).empty())
        return ::testing::AssertionFailure() << "the time text is \"" << Text(IdProgText) << "\"";
    if (!AcceptsDrops(Window()))
        return ::testing::AssertionFailure() << "drops are refused";
    if (GetCursor() != LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)))
        return ::testing::AssertionFailure() << "the cursor is not the arrow";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult FormTest::IsBusy() const {
    for (ControlId id : kSwitched)
        if (IsWindowEnabled(Control(id)))
            return ::testing::AssertionFailure() << "control " << id << " is enabled";
    if (!IsWindowEnabled(Control(IdHelpBtn)))
        return ::testing::AssertionFailure() << "help is disabled";
    if (IsWindowVisible(Control(IdStartBtn)))
        return ::testing::AssertionFailure() << "the start button shows";
    if (AcceptsDrops(Window()))
        return ::testing::AssertionFailure() << "drops are accepted";
    if (GetCursor() != LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))
        return ::testing::AssertionFailure() << "the cursor is not the hourglass";
    return ::testing::AssertionSuccess();
}

void FormTest::SaveScreenshot(HWND window, const std::string &name) {
    const char *folder = std::getenv("QUILLBOX_SCREENSHOTS");
    if (!folder || !*folder) {
        std::printf("QUILLBOX_SCREENSHOTS is not set: no picture of %s\n", name.c_str());
        return;
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    CreateDirectoryA(folder, nullptr);
    EXPECT_TRUE(SaveWindowPicture(window, std::string(folder) + "\\" + name + ".bmp")) << name;
}

