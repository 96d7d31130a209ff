// The source list: adding files and folders (with their counts from the
// real library), duplicates, missing paths, roots, double-byte names, the
// file-open dialog's selection, and removing rows.
#include "FormTest.h"

#include <cderr.h>

#include "AnsiPath.h"

class SourcesTest : public FormTest {};

TEST_F(SourcesTest, FileIsCountedAndListedWithItsNameCountDirectoryAndBytes) {
    MakeForm();
    std::string path = MailFileWith("three.txt", 3);
    AddThroughOpenDialog({path});

    ASSERT_EQ(RecordingLibrary::Calls().size(), 1u);
    const LibraryCall &call = RecordingLibrary::Calls()[0];
    EXPECT_FALSE(call.extract);
    EXPECT_EQ(call.input, path);
    EXPECT_TRUE(call.totalGiven);
    EXPECT_TRUE(call.resultCodeGiven);
    EXPECT_EQ(call.resultCodeBefore, 0);
    EXPECT_NE(call.progress, nullptr);

    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "three.txt");
    EXPECT_EQ(Cell(0, 1), "3");
    EXPECT_EQ(Cell(0, 2), temp->Path());
    const SourceRow &row = form->Rows()[0];
    EXPECT_EQ(row.count, 3);
    EXPECT_EQ(row.image, 0);
    EXPECT_EQ(row.totalBytes, ReadBytes(path).size());
    EXPECT_EQ(FullPathOf(row), path);
    EXPECT_TRUE(IsIdle());
    EXPECT_TRUE(outside.events.empty());
}

TEST_F(SourcesTest, FolderRowCountsEveryFileAndKeepsTheirByteTotal) {
    MakeForm();
    ASSERT_TRUE(MakeFolder(*temp / "Mail"));
    std::string a = MailFileWith("Mail\\a.txt", 2);
    std::string b = MailFileWith("Mail\\b.txt", 5);
    outside.browse = [&](BROWSEINFOA &) { return ILCreateFromPathA((*temp / "Mail").c_str()); };
    Click(IdNewFolderBtn);

    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "Mail");
    EXPECT_EQ(Cell(0, 1), "7");
    EXPECT_EQ(form->Rows()[0].image, 1);
    EXPECT_EQ(form->Rows()[0].totalBytes, ReadBytes(a).size() + ReadBytes(b).size());
}

TEST_F(SourcesTest, DuplicateIgnoringAsciiCaseGivesTheInformationAndNoRow) {
    MakeForm();
    ASSERT_TRUE(MakeFolder(*temp / "Mail"));
    std::string path = MailFileWith("Mail\\a.txt", 1);
    AddThroughOpenDialog({path});
    std::string other = path;
    for (char &c : other)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    ASSERT_NE(other, path);
    AddThroughOpenDialog({other});

    EXPECT_EQ(RowCount(), 1);
    EXPECT_EQ(RecordingLibrary::Calls().size(), 1u);
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{
                                   "beep", "box 情報|以下の項目は既にリスト内に存在しています。\r\"" +
                                               other + "\""}));
    EXPECT_EQ(outside.events[1].flags, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(outside.events[1].owner, Window());
}

TEST_F(SourcesTest, DoubleByteNamesThatDifferOnlyInATrailByteAreNotDuplicates) {
    // ア is 83 41 and ヂ is 83 61 in code page 932: their second bytes are
    // "A" and "a", but they are different names.
    MakeForm();
    std::string first = MailFileWith("ア.txt", 1);
    std::string second = MailFileWith("ヂ.txt", 2);
    AddThroughOpenDialog({first});
    AddThroughOpenDialog({second});
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(1, 0), "ヂ.txt");
    EXPECT_TRUE(outside.events.empty());
}

TEST_F(SourcesTest, MissingPathGivesTheErrorAndNoCall) {
    MakeForm();
    std::string path = *temp / "nothing here.txt";
    AddThroughOpenDialog({path});
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(RecordingLibrary::Calls().empty());
    EXPECT_EQ(outside.Lines(),
              (std::vector<std::string>{
                  "beep", "box エラー|以下のファイルまたはフォルダが見つかりません。\r\"" + path + "\""}));
    EXPECT_EQ(outside.events[1].flags, UINT(MB_OK | MB_ICONERROR));
}

TEST_F(SourcesTest, DriveRootIsAFolderRowWithoutTheExistenceTest) {
    MakeForm();
    outside.browse = [](BROWSEINFOA &) { return ILCreateFromPathA("C:\\"); };
    Click(IdNewFolderBtn);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "C:\\");
    EXPECT_EQ(Cell(0, 2), "");
    EXPECT_EQ(form->Rows()[0].image, 1);
    EXPECT_EQ(FullPathOf(form->Rows()[0]), "C:\\");
    ASSERT_EQ(RecordingLibrary::Calls().size(), 1u);
    EXPECT_EQ(RecordingLibrary::Calls()[0].input, "C:\\");
}

TEST_F(SourcesTest, FolderEndingInADoubleByteCharacterWithTrailByte5CKeepsItsName) {
    // 能 is 94 5C: its second byte is a backslash, which must not split it.
    MakeForm();
    std::string folder = *temp / "機能";
    ASSERT_TRUE(MakeFolder(folder));
    std::string path = MailFileWith("機能\\a.txt", 2);
    AddThroughOpenDialog({path});
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 0), "a.txt");
    EXPECT_EQ(Cell(0, 2), folder);
    EXPECT_EQ(Cell(0, 1), "2");
    EXPECT_EQ(FullPathOf(form->Rows()[0]), path);

    SplitPath root = SplitSourcePath("C:\\a.txt");
    EXPECT_EQ(root.name, "a.txt");
    EXPECT_EQ(root.directory, "C:\\");
    SplitPath table = SplitSourcePath("C:\\表");
    EXPECT_EQ(table.name, "表");
    EXPECT_EQ(table.directory, "C:\\");
    SplitPath share = SplitSourcePath("\\\\server\\share\\a.txt");
    EXPECT_EQ(share.directory, "\\\\server\\share");
    EXPECT_EQ(JoinPath(share.directory, share.name), "\\\\server\\share\\a.txt");
}

TEST_F(SourcesTest, FileWithoutMessagesGetsARowWithCountZero) {
    MakeForm();
    std::string path = *temp / "plain.txt";
    ASSERT_TRUE(WriteBytes(path, "nothing but text\r\nand more text\r\n"));
    AddThroughOpenDialog({path});
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 1), "0");
    EXPECT_TRUE(outside.events.empty());
}

TEST_F(SourcesTest, SeveralChosenFilesAreCountedEachInItsOwnBusyPhase) {
    MakeForm();
    std::string a = MailFileWith("a.txt", 1);
    std::string b = MailFileWith("b.txt", 2);
    std::string c = MailFileWith("c.txt", 3);
    AddThroughOpenDialog({b});
    int busyCalls = 0, rowsBefore = 0;
    RecordingLibrary::beforeCall = [&](const LibraryCall &) {
        if (IsBusy())
            ++busyCalls;
        // Each count's row is in the list (the window was idle again) before
        // the next count starts.
        if (RowCount() == 1 + busyCalls - 1)
            ++rowsBefore;
    };
    AddThroughOpenDialog({a, b, c});

    // b was there already: its box, and the other two are still added.
    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(Cell(0, 0), "b.txt");
    EXPECT_EQ(Cell(1, 0), "a.txt");
    EXPECT_EQ(Cell(2, 0), "c.txt");
    EXPECT_EQ(Cell(2, 1), "3");
    EXPECT_EQ(busyCalls, 2);
    EXPECT_EQ(rowsBefore, 2);
    EXPECT_EQ(outside.Boxes(), (std::vector<std::string>{
                                   "情報|以下の項目は既にリスト内に存在しています。\r\"" + b + "\""}));
    EXPECT_TRUE(IsIdle());
}

TEST_F(SourcesTest, OpenDialogIsTheMultipleChoiceDialogOnTheDocumentsFolder) {
    MakeForm();
    OPENFILENAMEA seen = {};
    std::string filter, folder;
    outside.openDialog = [&](OPENFILENAMEA &dialog, DWORD &) {
        seen = dialog;
        filter.assign(dialog.lpstrFilter, std::string("すべてのファイル").size() + 5);
        folder = dialog.lpstrInitialDir ? dialog.lpstrInitialDir : "";
        return false;
    };
    Click(IdNewFileBtn);
    EXPECT_EQ(outside.openDialogCalls, 1);
    EXPECT_EQ(seen.hwndOwner, Window());
    EXPECT_EQ(filter, std::string("すべてのファイル\0*.*\0", std::string("すべてのファイル").size() + 5));
    EXPECT_EQ(seen.Flags & (OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST |
                            OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER),
              DWORD(OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST |
                    OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER));
    EXPECT_GE(seen.nMaxFile, DWORD(1000 * MAX_PATH));
    char documents[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE));
    EXPECT_EQ(folder, documents);
    // Cancelled: nothing happens.
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(outside.events.empty());
    EXPECT_TRUE(IsIdle());
}

TEST_F(SourcesTest, SelectionTooLargeForTheBufferIsRefusedWhole) {
    MakeForm();
    outside.openDialog = [](OPENFILENAMEA &, DWORD &error) {
        error = FNERR_BUFFERTOOSMALL;
        return false;
    };
    Click(IdNewFileBtn);
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(RecordingLibrary::Calls().empty());
    ASSERT_EQ(outside.Lines().size(), 2u);
    EXPECT_EQ(outside.Lines()[0], "beep");
    EXPECT_EQ(outside.events[1].caption, "エラー");
    EXPECT_NE(outside.events[1].text.find("多すぎる"), std::string::npos);
}

TEST_F(SourcesTest, DeleteRemovesTheSelectedRowOnlyAndNothingWithoutSelection) {
    MakeForm();
    std::string a = MailFileWith("a.txt", 1), b = MailFileWith("b.txt", 1),
                c = MailFileWith("c.txt", 1);
    AddThroughOpenDialog({a, b, c});
    ASSERT_EQ(RowCount(), 3);

    SetFocus(Control(IdFromCtrl));
    PressKeys({}, VK_DELETE); // nothing selected
    EXPECT_EQ(RowCount(), 3);
    Click(IdDeleteBtn);
    EXPECT_EQ(RowCount(), 3);

    LVITEMA select = {};
    select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(Control(IdFromCtrl), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
    PressKeys({VK_SHIFT}, VK_DELETE); // with a modifier too
    ASSERT_EQ(RowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "a.txt");
    EXPECT_EQ(Cell(1, 0), "c.txt");
    EXPECT_EQ(form->Rows().size(), 2u);

    SendMessageA(Control(IdFromCtrl), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
    Click(IdDeleteBtn);
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(FullPathOf(form->Rows()[0]), c);
    EXPECT_TRUE(outside.events.empty());
    // A removed row can be added again.
    AddThroughOpenDialog({a});
    EXPECT_EQ(RowCount(), 2);
}

TEST_F(SourcesTest, CountShowsTheBarFromTheFirstReportScaledToFit) {
    MakeForm();
    // Long enough for the bar to move more than once (a frame is 16 ms).
    std::string path = MailFileWith("many.txt", 4000);
    uint64_t size = ReadBytes(path).size();
    struct Seen {
        bool visible;
        int maximum, position;
        uint64_t done;
        DWORD tick;
    };
    std::vector<Seen> seen;
    bool hiddenBeforeFirstReport = false;
    RecordingLibrary::beforeCall = [&](const LibraryCall &) {
        hiddenBeforeFirstReport = !IsWindowVisible(Control(IdProgBar));
    };
    // The program's clock moves 5 ms between reports: the bar may move at
    // every fourth report at most.
    DWORD clock = 70000;
    outside.ticks = [&] { return clock; };
    RecordingLibrary::afterProgress = [&](uint64_t, uint64_t done) {
        HWND bar = Control(IdProgBar);
        seen.push_back({IsWindowVisible(bar) != FALSE,
                        static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)),
                        static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)), done, clock});
        clock += 5;
    };
    AddThroughOpenDialog({path});
    EXPECT_TRUE(hiddenBeforeFirstReport);
    ASSERT_EQ(seen.size(), 4000u);
    EXPECT_TRUE(seen[0].visible);
    EXPECT_EQ(seen[0].maximum, static_cast<int>(size));
    EXPECT_EQ(seen[0].position, 0);
    // The bar follows the reports: it never runs ahead, it moves at most once
    // in a screen frame (16 ms), and it lags behind a report only within one
    // frame of its last move.
    RECT bar;
    GetClientRect(Control(IdProgBar), &bar);
    auto pixel = [&](int value) { return MulDiv(value, bar.right, seen[0].maximum); };
    DWORD moved = seen[0].tick;
    int moves = 0;
    for (size_t i = 1; i < seen.size(); ++i) {
        const Seen &report = seen[i];
        EXPECT_LE(report.position, static_cast<int>(report.done));
        EXPECT_GE(report.position, seen[i - 1].position);
        if (report.position != seen[i - 1].position) {
            EXPECT_GE(report.tick - moved, 16u) << "the bar moved twice in a frame at report " << i;
            EXPECT_EQ(report.position, static_cast<int>(report.done));
            moved = report.tick;
            ++moves;
        } else if (pixel(report.position) != pixel(static_cast<int>(report.done))) {
            EXPECT_LT(report.tick - moved, 16u) << "the bar lagged behind report " << i;
        }
    }
    EXPECT_GT(moves, 100);
    EXPECT_TRUE(IsIdle());

    // Reports of files of 2 GiB or more scale the bar by a power of two: its
    // maximum and positions never turn negative, and beyond 4 GiB they keep
    // the high words that a 32-bit bar would lose.
    struct Big {
        uint32_t totalLow, totalHigh, doneLow, doneHigh;
        int maximum, position;
    };
    const Big bigs[] = {
        {0xC0000000u, 0, 0xA0000000u, 0, 0x60000000, 0x50000000},   // 3 GiB, at 2.5 GiB
        {0x40000000u, 1, 0x20000000u, 1, 0x50000000, 0x48000000},   // 5 GiB, at 4.5 GiB
    };
    int n = 0;
    for (const Big &b : bigs) {
        SCOPED_TRACE(b.maximum);
        std::string big = MailFileWith("big" + std::to_string(++n) + ".txt", 1);
        seen.clear();
        RecordingLibrary::afterProgress = nullptr;
        RecordingLibrary::beforeCall = [&](const LibraryCall &call) {
            HWND bar = Control(IdProgBar);
            call.progress(b.totalLow, b.totalHigh, 0, 0); // the first report
            clock += 16; // a frame later
            call.progress(b.totalLow, b.totalHigh, b.doneLow, b.doneHigh);
            seen.push_back({IsWindowVisible(bar) != FALSE,
                            static_cast<int>(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)),
                            static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)), 0, 0});
        };
        AddThroughOpenDialog({big});
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].maximum, b.maximum);
        EXPECT_EQ(seen[0].position, b.position);
    }
}

TEST_F(SourcesTest, RemainingTimeFollowsTheEstimateAndItsEdges) {
    EXPECT_EQ(RemainingTimeText(3000, 1000, 5000, 6000), "予想残り時間: 2 秒");
    EXPECT_EQ(RemainingTimeText(100000, 1000, 0, 5000), "予想残り時間: 8 分15 秒");
    // 3725 seconds.
    EXPECT_EQ(RemainingTimeText(3726000, 1000, 0, 1000), "予想残り時間: 1 時間 02 分 05 秒");
    EXPECT_EQ(RemainingTimeText(61000, 1000, 0, 1000), "予想残り時間: 1 分00 秒");
    EXPECT_EQ(RemainingTimeText(1000, 1000, 0, 5000), "予想残り時間: 0 秒");
    // The first 799 ms, a done count of 0, and a tick equal to the start.
    EXPECT_EQ(RemainingTimeText(3000, 1000, 1000, 1799), "");
    EXPECT_EQ(RemainingTimeText(3000, 1000, 1000, 1800), "予想残り時間: 1 秒");
    EXPECT_EQ(RemainingTimeText(3000, 0, 0, 100000), "");
    EXPECT_EQ(RemainingTimeText(3000, 1000, 4242, 4242), "");
    // The 32-bit tick counter wrapped: 4294967295 - (start - now).
    EXPECT_EQ(RemainingTimeText(3000, 1000, 0xFFFFFF00u, 0x000003E7u), "予想残り時間: 2 秒");
    // A file that grew after it was counted: no negative time.
    EXPECT_EQ(RemainingTimeText(1000, 2000, 0, 5000), "");
    // Byte counts beyond 32 bits keep their 64-bit arithmetic.
    EXPECT_EQ(RemainingTimeText(0x300000000ull, 0x100000000ull, 0, 1000), "予想残り時間: 2 秒");
    // A product beyond 64 bits still gives the estimate.
    EXPECT_EQ(RemainingTimeText(1ull << 41, 1ull << 40, 0, 4000000000u),
              "予想残り時間: 1111 時間 06 分 40 秒");
}
