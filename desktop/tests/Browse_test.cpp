// The folder browse dialog: the flags of its two uses, what it hands the
// shell, the callback's messages to the shell's window, the chosen folder
// as the next start, items without a path, and its failures.
#include "FormTest.h"

#include <objbase.h>

namespace {

// Stands for the shell's dialog window: records the BFFM_ messages sent to it.
struct ShellWindowLog {
    std::vector<std::pair<UINT, std::string>> messages; // message, text or number
};

LRESULT CALLBACK ShellWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto log = reinterpret_cast<ShellWindowLog *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (log && message == BFFM_SETSELECTIONA)
        log->messages.push_back({message, std::to_string(wParam) + ":" +
                                              reinterpret_cast<const char *>(lParam)});
    else if (log && message == BFFM_SETSTATUSTEXTA)
        log->messages.push_back({message, reinterpret_cast<const char *>(lParam)});
    else if (log && message == BFFM_ENABLEOK)
        log->messages.push_back({message, std::to_string(lParam)});
    return DefWindowProcA(window, message, wParam, lParam);
}

class ShellWindow {
public:
    ShellWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ShellWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuillboxTestShellWindow";
        RegisterClassA(&windowClass);
        window = CreateWindowA("QuillboxTestShellWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
    }
    ~ShellWindow() { DestroyWindow(window); }
    HWND window;
    ShellWindowLog log;
};

// An allocator that has no memory to give.
class EmptyMalloc : public IMalloc {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void **object) override {
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void *STDMETHODCALLTYPE Alloc(SIZE_T) override { return nullptr; }
    void *STDMETHODCALLTYPE Realloc(void *, SIZE_T) override { return nullptr; }
    void STDMETHODCALLTYPE Free(void *block) override { CoTaskMemFree(block); }
    SIZE_T STDMETHODCALLTYPE GetSize(void *) override { return 0; }
    int STDMETHODCALLTYPE DidAlloc(void *) override { return 0; }
    void STDMETHODCALLTYPE HeapMinimize() override {}
};

// The pidl of "My Computer": an item without a file-system path.
LPITEMIDLIST Computer() {
    LPITEMIDLIST item = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &item);
    return item;
}

} // namespace

class BrowseTest : public FormTest {
protected:
    // Answers the next browse with `chosen`, running the shell's callback
    // for the opening first, and notes what the dialog was given.
    void Answer(const std::function<LPITEMIDLIST()> &chosen) {
        outside.browse = [this, chosen](BROWSEINFOA &info) {
            given = info;
            title = info.lpszTitle ? info.lpszTitle : "";
            ownerEnabledDuring = IsWindowEnabled(Window()) != FALSE;
            shell.log.messages.clear();
            info.lpfn(shell.window, BFFM_INITIALIZED, 0, info.lParam);
            ++browses;
            LPITEMIDLIST item = chosen ? chosen() : nullptr;
            if (item)
                lstrcpynA(info.pszDisplayName, "display name", MAX_PATH);
            return item;
        };
    }
    ShellWindow shell;
    BROWSEINFOA given = {};
    std::string title;
    bool ownerEnabledDuring = true;
    int browses = 0;
};

TEST_F(BrowseTest, DestinationBrowseSetsTheFieldAndOpensNextTimeOnTheChoice) {
    MakeForm();
    std::string folder = *temp / "Out";
    ASSERT_TRUE(MakeFolder(folder));
    Answer([&] { return ILCreateFromPathA(folder.c_str()); });
    Click(IdBrowseBtn);
    EXPECT_EQ(given.ulFlags, UINT(BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE)); // 0x41
    EXPECT_EQ(given.hwndOwner, Window());
    EXPECT_EQ(given.pidlRoot, nullptr);
    EXPECT_EQ(title, "保存先のフォルダを指定してください。");
    EXPECT_FALSE(ownerEnabledDuring) << "the window stayed enabled under the modal dialog";
    EXPECT_TRUE(IsWindowEnabled(Window()));
    EXPECT_EQ(GetActiveWindow(), Window());
    // First use: no selection sent, an empty status text, the OK button left alone.
    EXPECT_EQ(shell.log.messages,
              (std::vector<std::pair<UINT, std::string>>{{BFFM_SETSTATUSTEXTA, ""}}));
    EXPECT_EQ(Text(IdToCtrl), folder);
    EXPECT_EQ(form->BrowseDialog().DisplayName(), "display name");

    // The source-folder use opens on the folder chosen last.
    Answer(nullptr);
    Click(IdNewFolderBtn);
    EXPECT_EQ(given.ulFlags, UINT(BIF_RETURNONLYFSDIRS | BIF_EDITBOX)); // 0x11
    EXPECT_EQ(title, "保存先のフォルダを指定してください。");
    EXPECT_EQ(shell.log.messages, (std::vector<std::pair<UINT, std::string>>{
                                      {BFFM_SETSELECTIONA, "1:" + folder},
                                      {BFFM_SETSTATUSTEXTA, ""}}));
    // Cancelled: nothing changes.
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(form->BrowseDialog().Directory, folder);
    EXPECT_TRUE(outside.events.empty());
}

TEST_F(BrowseTest, SourceFolderBecomesARowAndTheNextDestinationStart) {
    MakeForm();
    std::string folder = *temp / "Mail";
    ASSERT_TRUE(MakeFolder(folder));
    MailFileWith("Mail\\a.txt", 2);
    Answer([&] { return ILCreateFromPathA(folder.c_str()); });
    Click(IdNewFolderBtn);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "Mail");
    Answer(nullptr);
    Click(IdBrowseBtn);
    EXPECT_EQ(shell.log.messages[0].second, "1:" + folder);
    EXPECT_EQ(Text(IdToCtrl), "");
}

TEST_F(BrowseTest, StartFolderLosesATrailingBackslashButARootKeepsIt) {
    MakeForm();
    TBrowseDialog &dialog = form->BrowseDialog();
    std::string folder = *temp / "機能"; // ends in the trail byte 5C
    ASSERT_TRUE(MakeFolder(folder));
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\", "1:C:\\"},
        {temp->Path() + "\\", "1:" + temp->Path()},
        {folder, "1:" + folder},
        {folder + "\\", "1:" + folder},
    };
    Answer(nullptr);
    for (const auto &c : cases) {
        dialog.Directory = c.first;
        Click(IdBrowseBtn);
        ASSERT_FALSE(shell.log.messages.empty());
        EXPECT_EQ(shell.log.messages[0].first, UINT(BFFM_SETSELECTIONA));
        EXPECT_EQ(shell.log.messages[0].second, c.second);
    }
}

TEST_F(BrowseTest, CallbackReportsSelectionsToItsHandlersAndSetsStatusAndOkState) {
    MakeForm();
    TBrowseDialog &dialog = form->BrowseDialog();
    std::vector<std::string> selected, initialised;
    dialog.OnSelectionChanged = [&](TBrowseDialog &sender, HWND wnd, std::string path,
                                    std::string &status, TOKButtonState &state) {
        EXPECT_EQ(&sender, &dialog);
        EXPECT_EQ(wnd, shell.window);
        selected.push_back(path);
        status = "status " + path;
        state = path.empty() ? obsDisabled : obsEnabled;
    };
    dialog.OnInitialized = [&](TBrowseDialog &, HWND, std::string path, std::string &,
                               TOKButtonState &) { initialised.push_back(path); };
    LPITEMIDLIST folder = ILCreateFromPathA(temp->Path().c_str());
    LPITEMIDLIST computer = Computer();
    LPARAM data = reinterpret_cast<LPARAM>(&dialog);
    TBrowseDialog::BrowseCallback(shell.window, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(folder),
                                  data);
    TBrowseDialog::BrowseCallback(shell.window, BFFM_SELCHANGED,
                                  reinterpret_cast<LPARAM>(computer), data);
    TBrowseDialog::BrowseCallback(shell.window, BFFM_INITIALIZED, 0, data);
    EXPECT_EQ(selected, (std::vector<std::string>{temp->Path(), ""}));
    EXPECT_EQ(initialised, (std::vector<std::string>{""}));
    EXPECT_EQ(shell.log.messages, (std::vector<std::pair<UINT, std::string>>{
                                      {BFFM_SETSTATUSTEXTA, "status " + temp->Path()},
                                      {BFFM_ENABLEOK, "1"},
                                      {BFFM_SETSTATUSTEXTA, "status "},
                                      {BFFM_ENABLEOK, "0"},
                                      {BFFM_SETSTATUSTEXTA, ""}}));
    // Data that is not a dialog: nothing is sent.
    shell.log.messages.clear();
    int notADialog = 0;
    EXPECT_EQ(TBrowseDialog::BrowseCallback(shell.window, BFFM_INITIALIZED, 0,
                                            reinterpret_cast<LPARAM>(&notADialog)),
              0);
    EXPECT_TRUE(shell.log.messages.empty());
    CoTaskMemFree(folder);
    CoTaskMemFree(computer);
}

TEST_F(BrowseTest, ItemWithoutAPathEmptiesTheFieldOrGivesTheEmptyPathError) {
    MakeForm();
    SetWindowTextA(Control(IdToCtrl), "C:\\somewhere");
    Answer(Computer);
    Click(IdBrowseBtn);
    EXPECT_EQ(Text(IdToCtrl), "");
    Answer(Computer);
    Click(IdNewFolderBtn);
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{
                                   "beep", "box エラー|指定したファイルまたはフォルダが見つかりません。"}));
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(IsIdle());
}

TEST_F(BrowseTest, RootIsParsedForTheTreeAndAnUnknownRootStartsAtTheDesktop) {
    MakeForm();
    TBrowseDialog &dialog = form->BrowseDialog();
    LPITEMIDLIST expected = ILCreateFromPathA(temp->Path().c_str());
    bool sameRoot = false;
    outside.browse = [&](BROWSEINFOA &info) {
        sameRoot = info.pidlRoot && ILIsEqual(info.pidlRoot, expected);
        given = info;
        return nullptr;
    };
    dialog.Root = temp->Path();
    Click(IdBrowseBtn);
    EXPECT_TRUE(sameRoot);
    dialog.Root = *temp / "no such folder";
    Click(IdBrowseBtn);
    EXPECT_EQ(given.pidlRoot, nullptr);
    EXPECT_TRUE(outside.events.empty());
    CoTaskMemFree(expected);
}

TEST_F(BrowseTest, FailuresOfTheShellGoToTheGeneralErrorBox) {
    MakeForm();
    TBrowseDialog &dialog = form->BrowseDialog();
    Answer(nullptr);
    // No allocator: nothing shown, nothing opened.
    outside.shellMalloc = [](IMalloc **) { return E_FAIL; };
    Click(IdBrowseBtn);
    EXPECT_EQ(browses, 0);
    EXPECT_TRUE(outside.events.empty());
    // No memory for the name: the button's action ends in the error box.
    static EmptyMalloc empty;
    outside.shellMalloc = [](IMalloc **allocator) {
        *allocator = &empty;
        return S_OK;
    };
    Click(IdNewFolderBtn);
    // No desktop folder for a root.
    outside.shellMalloc = nullptr;
    outside.desktopFolder = [](IShellFolder **) { return E_FAIL; };
    dialog.Root = temp->Path();
    Click(IdBrowseBtn);
    EXPECT_EQ(browses, 0);
    EXPECT_EQ(outside.Boxes(), (std::vector<std::string>{"Quillbox|TBrowseDialog: ppmem.Alloc Failed.",
                                                         "Quillbox|TBrowseDialog: SHGetDesktopFolder Failed."}));
    EXPECT_EQ(outside.events[0].flags, UINT(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(IsIdle());
}
