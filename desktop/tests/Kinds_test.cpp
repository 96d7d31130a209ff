// The count column follows the input kind: selecting a kind, with the keys
// or with the mouse, counts every row again as that kind (busy, with the bar
// and the time text), a kind already counted shows at once, a row added later
// is counted as the selected kind only, and the run uses those counts.
#include "FormTest.h"

namespace {

// An mbox of `messages` messages whose only field is `field`.
std::string Mbox(int messages, const std::string &field) {
    std::string box;
    for (int i = 1; i <= messages; ++i)
        box += "From a@b Sat Jan  1 00:00:00 2000\r\n" + field + ": " + std::to_string(i) +
               "\r\n\r\nbody " + std::to_string(i) + "\r\n\r\n";
    return box;
}

// A left click at a point of the screen, as the mouse gives it.
void ClickAt(POINT point) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT &input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, width - 1);
        input.mi.dy = MulDiv(point.y, 65535, height - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

} // namespace

class KindsTest : public FormTest {
protected:
    std::vector<std::string> Counts() const {
        std::vector<std::string> counts;
        for (int row = 0; row < RowCount(); ++row)
            counts.push_back(Cell(row, 1));
        return counts;
    }
    int32_t Kind() const {
        return static_cast<int32_t>(SendMessageA(Control(IdOptConvert), CB_GETCURSEL, 0, 0));
    }
    // The last item of the list, chosen with the End key as a user presses it.
    void ChooseMboxWithTheKeys() {
        SetFocus(Control(IdOptConvert));
        PressKeys({}, VK_END);
        ASSERT_EQ(Kind(), KindMbox);
        ASSERT_TRUE(PumpUntil([&] { return IsIdle(); }));
    }
    // Drops the list down with a click on it and clicks the item `kind`.
    void ChooseWithTheMouse(int32_t kind) {
        HWND combo = Control(IdOptConvert);
        RECT box;
        GetWindowRect(combo, &box);
        ClickAt({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
        ASSERT_TRUE(PumpUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }))
            << "the list did not drop down";
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        RECT item;
        ASSERT_NE(SendMessageA(info.hwndList, LB_GETITEMRECT, kind, reinterpret_cast<LPARAM>(&item)),
                  LB_ERR);
        POINT point = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(info.hwndList, &point);
        ClickAt(point);
        ASSERT_TRUE(PumpUntil([&] {
            return Kind() == kind && !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) && IsIdle();
        })) << "the item was not chosen";
        Pump();
    }
    size_t CallsOfKind(int32_t kind, size_t from = 0) const {
        size_t n = 0;
        const std::vector<LibraryCall> &calls = RecordingLibrary::Calls();
        for (size_t i = from; i < calls.size(); ++i)
            n += !calls[i].extract && calls[i].kind == kind;
        return n;
    }
};

TEST_F(KindsTest, EveryRowIsCountedAgainAsTheSelectedKindAndTheRunUsesThoseCounts) {
    MakeForm();
    // Five messages of one known field: general text sees the first only.
    const std::string subjects = *temp / "subjects.mbox";
    ASSERT_TRUE(WriteBytes(subjects, Mbox(5, "Subject")));
    // Messages whose one field is no known name: general text sees none.
    const std::string unknown = *temp / "unknown.mbox";
    ASSERT_TRUE(WriteBytes(unknown, Mbox(3, "Zzz-Note")));
    const std::string plain = MailFileWith("plain.txt", 3);
    AddThroughOpenDialog({subjects, unknown, plain});
    ASSERT_EQ(Counts(), (std::vector<std::string>{"1", "0", "3"}));
    ASSERT_EQ(RecordingLibrary::Calls().size(), 3u);
    for (const LibraryCall &call : RecordingLibrary::Calls())
        EXPECT_FALSE(call.ofKind); // general text: the count the program always made

    // While a row is counted again the window is busy, with the bar; the
    // program's clock runs a second a look, so the time text shows too.
    DWORD clock = 50000;
    outside.ticks = [&] { return clock += 1000; };
    bool busy = true, barShown = true, textShown = false;
    int reports = 0;
    RecordingLibrary::afterProgress = [&](uint64_t, uint64_t done) {
        ++reports;
        busy = busy && IsBusy();
        barShown = barShown && IsWindowVisible(Control(IdProgBar));
        if (done > 0 && !textShown && !Text(IdProgText).empty()) {
            textShown = true;
            SaveScreenshot(Window(), "quillrun-recount");
        }
    };
    ChooseMboxWithTheKeys();
    EXPECT_EQ(Counts(), (std::vector<std::string>{"5", "3", "3"}));
    ASSERT_EQ(RecordingLibrary::Calls().size(), 6u);
    for (size_t i = 3; i < 6; ++i) {
        const LibraryCall &call = RecordingLibrary::Calls()[i];
        EXPECT_TRUE(call.ofKind);
        EXPECT_EQ(call.kind, KindMbox);
        EXPECT_TRUE(call.totalGiven);
        EXPECT_EQ(call.resultCodeBefore, 0);
        EXPECT_NE(call.progress, nullptr);
    }
    EXPECT_EQ(RecordingLibrary::Calls()[3].input, subjects);
    EXPECT_EQ(reports, 5 + 3 + 3);
    EXPECT_TRUE(busy);
    EXPECT_TRUE(barShown);
    EXPECT_TRUE(textShown) << "the remaining time never showed";
    EXPECT_TRUE(IsIdle());
    EXPECT_TRUE(outside.events.empty());
    RecordingLibrary::afterProgress = nullptr;
    outside.ticks = nullptr;

    // Back to general text with the mouse: the first counts at once, no call.
    ChooseWithTheMouse(KindGeneral);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"1", "0", "3"}));
    EXPECT_EQ(RecordingLibrary::Calls().size(), 6u);
    ChooseWithTheMouse(KindMbox);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"5", "3", "3"}));
    EXPECT_EQ(RecordingLibrary::Calls().size(), 6u);

    // The run as mbox takes every row, the one general text found nothing in
    // included, and writes what the counts said.
    SetWindowTextA(Control(IdToCtrl), (*temp / "out").c_str());
    Click(IdStartBtn);
    ASSERT_EQ(RecordingLibrary::Calls().size(), 9u);
    for (size_t i = 6; i < 9; ++i) {
        EXPECT_TRUE(RecordingLibrary::Calls()[i].extract);
        EXPECT_EQ(RecordingLibrary::Calls()[i].kind, KindMbox);
    }
    EXPECT_EQ(RecordingLibrary::Calls()[7].input, unknown);
    EXPECT_EQ(SortedEntries(*temp / "out").size(), 5u + 3u + 3u);
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{"box 情報|抽出処理が終了しました。"}));
}

TEST_F(KindsTest, OnlyRowsWithMessagesOfTheSelectedKindCount) {
    MakeForm();
    const std::string unknown = *temp / "unknown.mbox";
    ASSERT_TRUE(WriteBytes(unknown, Mbox(4, "Zzz-Note")));
    AddThroughOpenDialog({unknown});
    SetWindowTextA(Control(IdToCtrl), (*temp / "out").c_str());
    // As general text there is nothing to extract.
    Click(IdStartBtn);
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{
                                   "beep", "box 情報|電子メールメッセージを含むファイルまたはフォルダが指定されていません。"}));
    EXPECT_EQ(RecordingLibrary::Calls().size(), 1u);
    outside.events.clear();
    ChooseWithTheMouse(KindMbox);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"4"}));
    Click(IdStartBtn);
    EXPECT_EQ(SortedEntries(*temp / "out").size(), 4u);
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{"box 情報|抽出処理が終了しました。"}));
}

TEST_F(KindsTest, ARowAddedLaterIsCountedAsTheSelectedKindOnly) {
    MakeForm();
    ChooseMboxWithTheKeys();
    EXPECT_TRUE(RecordingLibrary::Calls().empty()); // no rows: nothing to count
    const std::string box = *temp / "box.mbox";
    ASSERT_TRUE(WriteBytes(box, Mbox(6, "Subject")));
    AddThroughOpenDialog({box});
    ASSERT_EQ(RecordingLibrary::Calls().size(), 1u);
    EXPECT_TRUE(RecordingLibrary::Calls()[0].ofKind);
    EXPECT_EQ(RecordingLibrary::Calls()[0].kind, KindMbox);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"6"}));
    EXPECT_EQ(form->Rows()[0].totalBytes, ReadBytes(box).size());

    ChooseWithTheMouse(KindGeneral);
    EXPECT_EQ(CallsOfKind(KindGeneral), 1u);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"1"}));
    ChooseWithTheMouse(KindNifty);
    EXPECT_EQ(CallsOfKind(KindNifty), 1u);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"0"}));
    EXPECT_EQ(RecordingLibrary::Calls().size(), 3u);
}

TEST_F(KindsTest, ACountThatFailsShowsItsMessageAndTheRowKeepsItsCount) {
    MakeForm();
    const std::string gone = MailFileWith("gone.txt", 2);
    const std::string kept = MailFileWith("kept.txt", 3);
    AddThroughOpenDialog({gone, kept});
    ASSERT_TRUE(DeleteFileA(gone.c_str()));
    ChooseMboxWithTheKeys();
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{
                                   "beep", "box エラー|以下のファイルまたはフォルダが見つかりません。\r\"" + gone + "\""}));
    EXPECT_EQ(Counts(), (std::vector<std::string>{"2", "3"}));
    // Only the file that is there was counted; back to general text nothing is.
    EXPECT_EQ(CallsOfKind(KindMbox), 1u);
    outside.events.clear();
    ChooseWithTheMouse(KindGeneral);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(RecordingLibrary::Calls().size(), 3u);
    EXPECT_TRUE(outside.events.empty());
    EXPECT_TRUE(IsIdle());
}

TEST_F(KindsTest, TheTreeCheckBoxCountsAndWritesWholeTreesWithTheirStructure) {
    MakeForm();
    // Beside the kind list, to its right in the same row, in the window's
    // font, next in the tab order, and off at start.
    HWND box = Control(IdKeepTree), kinds = Control(IdOptConvert);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(Text(IdKeepTree), "フォルダ構成を保って保存(&K)");
    RECT boxRect, kindRect;
    GetWindowRect(box, &boxRect);
    GetWindowRect(kinds, &kindRect);
    EXPECT_GT(boxRect.left, kindRect.right);
    EXPECT_EQ(boxRect.top, kindRect.top);
    EXPECT_EQ(SendMessageA(box, WM_GETFONT, 0, 0), SendMessageA(kinds, WM_GETFONT, 0, 0));
    EXPECT_EQ(GetNextDlgTabItem(Window(), kinds, FALSE), box);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // A mail program's profile: a mail folder and its subfolder's one.
    const std::string profile = *temp / "Profile";
    ASSERT_TRUE(MakeFolder(profile));
    ASSERT_TRUE(MakeFolder(profile + "\\Archives.sbd"));
    ASSERT_TRUE(WriteBytes(profile + "\\Archives", Mbox(2, "Subject")));
    ASSERT_TRUE(WriteBytes(profile + "\\Archives.msf", std::string("\0index", 6)));
    ASSERT_TRUE(WriteBytes(profile + "\\Archives.sbd\\2019", Mbox(3, "Subject")));
    ChooseMboxWithTheKeys();
    outside.browse = [&](BROWSEINFOA &) { return ILCreateFromPathA(profile.c_str()); };
    Click(IdNewFolderBtn);
    ASSERT_EQ(Counts(), (std::vector<std::string>{"2"})); // the folder's own files
    const size_t before = RecordingLibrary::Calls().size();

    // Alt+K checks it: the row is counted again, as the tree.
    SetFocus(Control(IdFromCtrl));
    PressKeys({VK_MENU}, 'K');
    ASSERT_TRUE(PumpUntil([&] { return IsIdle() && Counts() == std::vector<std::string>{"5"}; }));
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_EQ(RecordingLibrary::Calls().size(), before + 1);
    const LibraryCall count = RecordingLibrary::Calls().back();
    EXPECT_TRUE(count.ofKind);
    EXPECT_EQ(count.flags, uint32_t(CorvexFlagTree));
    EXPECT_EQ(count.kind, KindMbox);
    EXPECT_EQ(form->Rows()[0].totalBytes, Mbox(2, "Subject").size() + 6 + Mbox(3, "Subject").size());
    SaveScreenshot(Window(), "quillrun-keep-tree");

    // Off and on again: the counts of both are kept, no call.
    Click(IdKeepTree);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"2"}));
    Click(IdKeepTree);
    EXPECT_EQ(Counts(), (std::vector<std::string>{"5"}));
    EXPECT_EQ(RecordingLibrary::Calls().size(), before + 1);

    // The run writes each mail folder into a folder of its own.
    const std::string out = *temp / "out";
    SetWindowTextA(Control(IdToCtrl), out.c_str());
    Click(IdStartBtn);
    const LibraryCall run = RecordingLibrary::Calls().back();
    EXPECT_TRUE(run.extract);
    EXPECT_TRUE(run.withFlags);
    EXPECT_EQ(run.flags, uint32_t(CorvexFlagTree));
    EXPECT_EQ(SortedEntries(out), (std::vector<std::string>{"Archives"}));
    EXPECT_EQ(SortedEntries(out + "\\Archives"),
              (std::vector<std::string>{"00001.eml", "00002.eml", "2019"}));
    EXPECT_EQ(SortedEntries(out + "\\Archives\\2019").size(), 3u);
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{"box 情報|抽出処理が終了しました。"}));
}

// The real-mail tree that realmail_tree_window.py builds, through the window:
// the folder as a row, the check box on, the count and the run. The script
// judges the files written.
class RealmailTreeTest : public KindsTest {};

TEST_F(RealmailTreeTest, TheWholeTreeIsCountedAndRun) {
    const char *tree = std::getenv("QUILLBOX_TREE");
    const char *out = std::getenv("QUILLBOX_TREE_OUT");
    const char *messages = std::getenv("QUILLBOX_TREE_MESSAGES");
    if (!tree || !out || !messages)
        GTEST_SKIP() << "run by realmail_tree_window.py, which builds the tree";
    MakeForm();
    ChooseMboxWithTheKeys();
    Click(IdKeepTree);
    outside.browse = [&](BROWSEINFOA &) { return ILCreateFromPathA(tree); };
    Click(IdNewFolderBtn);
    ASSERT_EQ(Counts(), (std::vector<std::string>{messages}));
    SetWindowTextA(Control(IdToCtrl), out);
    Click(IdStartBtn);
    EXPECT_TRUE(RecordingLibrary::Calls().back().withFlags);
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{"box 情報|抽出処理が終了しました。"}));
}
