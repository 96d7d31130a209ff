// Drops as the shell delivers them: a DROPFILES block in movable global
// memory with ANSI paths, sent with WM_DROPFILES to the real main window
// (over the real Corvex.dll), at points on each side of every edge that
// decides the target; the drop-purpose dialog's answers; long and
// double-byte paths; drops that arrive while another is handled. Every drop
// handle must be released.
#include "DialogTest.h"

#include <shlobj.h>

#include <cstring>

#include "ControlIds.h"
#include "Layout.h"

namespace {

HGLOBAL MakeDrop(const std::vector<std::string> &paths, POINT point, bool nonClient) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string &path : paths)
        size += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto files = static_cast<DROPFILES *>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->pt = point;
    files->fNC = nonClient ? TRUE : FALSE;
    files->fWide = FALSE;
    char *cursor = reinterpret_cast<char *>(files) + sizeof(DROPFILES);
    for (const std::string &path : paths) {
        std::memcpy(cursor, path.data(), path.size());
        cursor += path.size() + 1; // the terminators are the zeroed bytes
    }
    GlobalUnlock(memory);
    return memory;
}

bool Released(HGLOBAL memory) { return GlobalFlags(memory) == GMEM_INVALID_HANDLE; }

POINT CentreOf(const RECT &rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

const char kNotFound[] = "エラー|以下のファイルまたはフォルダが見つかりません。\r\"%s\"";
const char kSeveral[] =
    "警告|\"保存先のフォルダ\"には 1 つのオブジェクトしか指定できません。\r"
    "最初のオブジェクトが代入されます。";

} // namespace

class DropTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        MakeFormWithDialogs();
    }

    // Drops `paths` at a client point, as the shell does, and checks that
    // the handle is gone afterwards.
    void Drop(const std::vector<std::string> &paths, POINT point, bool nonClient = false) {
        HGLOBAL drop = MakeDrop(paths, point, nonClient);
        ASSERT_FALSE(Released(drop));
        SendMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        EXPECT_TRUE(Released(drop)) << "the drop handle is released";
    }
    // Drops at a point where the dialog asks; `answer` runs once it shows.
    void DropAndAnswer(const std::vector<std::string> &paths, std::function<void()> answer,
                       std::vector<std::pair<std::function<bool()>, std::function<void()>>> more =
                           {}) {
        ModalScript script;
        script.Then([&] { return Showing(*choose); },
                    [&] {
                        EXPECT_TRUE(Checked(IdRbOption1));
                        answer();
                    });
        for (auto &step : more)
            script.Then(step.first, step.second);
        Drop(paths, Elsewhere());
        EXPECT_TRUE(script.Done()) << "the dialog asked";
    }
    RECT Rect(ControlId id) const { return RectInParent(Control(id)); }
    POINT Elsewhere() const { return CentreOf(Rect(IdLabel3)); }
    POINT OnList() const { return CentreOf(Rect(IdFromCtrl)); }
    POINT OnDestination() const { return CentreOf(Rect(IdToCtrl)); }
    bool Checked(int id) const {
        return SendMessageA(choose->Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static void ClickLater(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }
    std::vector<std::string> LibraryInputs() const {
        std::vector<std::string> inputs;
        for (const LibraryCall &call : RecordingLibrary::Calls())
            inputs.push_back(call.input);
        return inputs;
    }
    bool AcceptsDrops() const {
        return (GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
    }
};

TEST_F(DropTest, TheTargetFollowsTheEdgesOfTheDestinationFieldAndTheList) {
    RECT to = Rect(IdToCtrl), from = Rect(IdFromCtrl);
    POINT middle = CentreOf(from);
    struct Case {
        const char *where;
        POINT point;
        const char *target;
    };
    const Case cases[] = {
        {"just above the destination field", {to.left + 10, to.top - 1}, "dialog"},
        {"the destination field's top edge", {to.left + 10, to.top}, "destination"},
        {"the browse button", CentreOf(Rect(IdBrowseBtn)), "destination"},
        {"the kind label", CentreOf(Rect(IdLabel4)), "destination"},
        {"the kind list", CentreOf(Rect(IdOptConvert)), "destination"},
        {"the destination label", CentreOf(Rect(IdLabel3)), "dialog"},
        {"the start button", CentreOf(Rect(IdStartBtn)), "dialog"},
        {"the window's top", {200, 2}, "dialog"},
        {"left of the list", {from.left - 1, middle.y}, "dialog"},
        {"the list's left edge", {from.left, middle.y}, "sources"},
        {"the list's right edge", {from.right, middle.y}, "sources"},
        {"right of the list", {from.right + 1, middle.y}, "dialog"},
        {"above the list", {middle.x, from.top - 1}, "dialog"},
        {"the list's top edge", {middle.x, from.top}, "sources"},
        {"the list's bottom edge", {middle.x, from.bottom}, "sources"},
        {"below the list", {middle.x, from.bottom + 1}, "dialog"},
    };
    EXPECT_EQ(to.top, Scale(316));
    int n = 0;
    for (const Case &test : cases) {
        SCOPED_TRACE(test.where);
        outside.events.clear();
        SetWindowTextA(Control(IdToCtrl), "");
        std::string path = *temp / ("missing-" + std::to_string(++n));
        ModalScript script;
        script.Then([&] { return Showing(*choose); },
                    [&] { ClickLater(choose->Control(IDCANCEL)); });
        Drop({path}, test.point);
        std::string target = "none";
        if (script.Done())
            target = "dialog";
        else if (Text(IdToCtrl) == path)
            target = "destination";
        else if (outside.Boxes() == std::vector<std::string>{FormatPath(kNotFound, path)})
            target = "sources";
        EXPECT_EQ(target, test.target);
        if (target == "dialog") {
            EXPECT_TRUE(outside.events.empty()) << "a cancelled dialog shows nothing";
        }
    }
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(DropTest, ADropOutsideTheClientAreaIsAnErrorAndAddsNothing) {
    std::string mail = MailFileWith("a.txt", 1);
    RECT frame;
    GetWindowRect(Window(), &frame);
    Drop({mail}, {frame.left + 40, frame.top + 5}, true);
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{
                                   "beep", "box エラー|ウィンドウのクライアントエリアにドロップして下さい。"}));
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(Text(IdToCtrl), "");
    EXPECT_TRUE(RecordingLibrary::Calls().empty());
}

TEST_F(DropTest, SeveralObjectsOnTheDestinationWarnOnceAndTheFirstIsTaken) {
    std::vector<std::string> files = {MailFileWith("a.txt", 1), MailFileWith("b.txt", 1),
                                      MailFileWith("c.txt", 1)};
    Drop(files, OnDestination());
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{"beep", std::string("box ") + kSeveral}));
    EXPECT_EQ(Text(IdToCtrl), files[0]) << "a file, taken as it is";
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(RecordingLibrary::Calls().empty());

    // One folder: no warning.
    outside.events.clear();
    Drop({temp->Path()}, OnDestination());
    EXPECT_TRUE(outside.events.empty());
    EXPECT_EQ(Text(IdToCtrl), temp->Path());
}

TEST_F(DropTest, ObjectsOnTheListAreCountedInTurnAndABadOneDoesNotStopTheOthers) {
    std::string a = MailFileWith("a.txt", 2), b = MailFileWith("b.txt", 3);
    std::string missing = *temp / "missing.txt";
    std::vector<std::string> whileCounting;
    RecordingLibrary::beforeCall = [&](const LibraryCall &) {
        whileCounting.push_back(std::string(form->Busy() ? "busy" : "idle") +
                                (AcceptsDrops() ? " accepting" : " refusing"));
    };
    EXPECT_TRUE(AcceptsDrops());
    Drop({a, missing, b, a}, OnList());
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "a.txt");
    EXPECT_EQ(Cell(0, 1), "2");
    EXPECT_EQ(Cell(1, 0), "b.txt");
    EXPECT_EQ(Cell(1, 1), "3");
    EXPECT_EQ(Cell(1, 2), temp->Path());
    EXPECT_EQ(LibraryInputs(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(whileCounting, (std::vector<std::string>{"busy refusing", "busy refusing"}));
    EXPECT_EQ(outside.Boxes(),
              (std::vector<std::string>{FormatPath(kNotFound, missing),
                                        FormatPath("情報|以下の項目は既にリスト内に存在しています。\r\"%s\"", a)}));
    EXPECT_TRUE(AcceptsDrops()) << "idle again";
}

TEST_F(DropTest, TheDialogDecidesWhatDropsElsewhereAreFor) {
    std::string a = MailFileWith("a.txt", 1), b = MailFileWith("b.txt", 2);
    // OK with the first choice: sources.
    DropAndAnswer({a, b}, [&] { SendKeys({}, VK_RETURN); });
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(LibraryInputs(), (std::vector<std::string>{a, b}));
    EXPECT_TRUE(outside.events.empty());

    // The second choice with two objects: the warning, the first object.
    DropAndAnswer({b, a}, [&] { ClickLater(choose->Control(IdRbOption2)); },
                  {{[&] { return Checked(IdRbOption2); },
                    [&] { ClickLater(choose->Control(IDOK)); }}});
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{"beep", std::string("box ") + kSeveral}));
    EXPECT_EQ(Text(IdToCtrl), b);

    // Cancel and the close box: nothing, silently; the next showing starts
    // with the first choice again (checked in DropAndAnswer).
    outside.events.clear();
    SetWindowTextA(Control(IdToCtrl), "");
    DropAndAnswer({a}, [&] { ClickLater(choose->Control(IDCANCEL)); });
    DropAndAnswer({a}, [&] { PostMessageA(choose->Window(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_TRUE(outside.events.empty());
    EXPECT_EQ(Text(IdToCtrl), "");
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(RecordingLibrary::Calls().size(), 2u);
}

TEST_F(DropTest, LongAndDoubleBytePathsArriveWhole) {
    // Longer than the 260-byte buffers of old: read at full length.
    std::string longPath = temp->Path() + "\\" + std::string(300, 'x') + "\\mail.txt";
    Drop({longPath}, OnDestination());
    EXPECT_EQ(Text(IdToCtrl), longPath);
    Drop({longPath}, OnList());
    EXPECT_EQ(outside.Boxes(), std::vector<std::string>{FormatPath(kNotFound, longPath)});

    // Code page 932: a folder whose name ends in a character with a second
    // byte 0x5C.
    std::string folder = *temp / "機能";
    ASSERT_TRUE(MakeFolder(folder));
    std::string mail = folder + "\\表.txt";
    ASSERT_TRUE(WriteBytes(mail, ReadBytes(MailFileWith("a.txt", 2))));
    Drop({folder}, OnDestination());
    EXPECT_EQ(Text(IdToCtrl), folder);
    Drop({mail}, OnList());
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "表.txt");
    EXPECT_EQ(Cell(0, 1), "2");
    EXPECT_EQ(Cell(0, 2), folder);
}

TEST_F(DropTest, DropsThatArriveTogetherAreHandledOneAfterTheOther) {
    std::string a = MailFileWith("a.txt", 1), b = MailFileWith("b.txt", 2),
                c = MailFileWith("c.txt", 3);
    int callsInProgress = 0, overlapping = 0, idleCalls = 0;
    RecordingLibrary::beforeCall = [&](const LibraryCall &) {
        overlapping += callsInProgress > 0 || RecordingLibrary::InCall();
        idleCalls += !form->Busy();
        ++callsInProgress;
    };
    RecordingLibrary::afterCall = [&](LibraryCall &) { --callsInProgress; };
    // Both queued before the first is handled, as when the program was
    // held up (a slow network path) while the user dropped twice.
    HGLOBAL first = MakeDrop({a, b}, OnList(), false);
    HGLOBAL second = MakeDrop({c}, OnList(), false);
    PostMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(first), 0);
    PostMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(second), 0);
    ASSERT_TRUE(PumpUntil([&] { return RowCount() == 3 && Released(second); }));
    EXPECT_TRUE(Released(first));
    EXPECT_EQ(LibraryInputs(), (std::vector<std::string>{a, b, c}));
    EXPECT_EQ(overlapping, 0);
    EXPECT_EQ(idleCalls, 0) << "every count runs while the window is busy";
    EXPECT_TRUE(AcceptsDrops());

    // One that arrives while the dialog asks about another waits too, and
    // is then asked about in its turn.
    HGLOBAL waiting = MakeDrop({c}, Elsewhere(), false);
    DropAndAnswer({a}, [&] {
        PostMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(waiting), 0);
        ClickLater(choose->Control(IDCANCEL));
    });
    ModalScript script;
    script.Then([&] { return Showing(*choose); }, [&] { ClickLater(choose->Control(IDCANCEL)); });
    EXPECT_TRUE(PumpUntil([&] { return Released(waiting); }));
    EXPECT_TRUE(script.Done());
}
