// The extraction run: the checks before it, the library call for each row
// exactly as the program makes it, the output bytes, one box per failing
// row, the closing message, the progress across files, and the window idle
// again afterwards.
#include "FormTest.h"

#include <cstdlib>

namespace {

// samples/ of the source tree, as the test's environment gives it.
std::string Samples() {
    const char *folder = std::getenv("QUILLBOX_SAMPLES");
    return folder ? folder : "";
}

const char kFinished[] = "情報|抽出処理が終了しました。";
const char kFailures[] =
    "警告|いくつかのファイルまたはフォルダから電子メールメッセージを正常に抽出できませんでした。";

} // namespace

class RunTest : public FormTest {
protected:
    void SetDestination(const std::string &folder) {
        SetWindowTextA(Control(IdToCtrl), folder.c_str());
    }
    void ChooseKind(int kind) { SendMessageA(Control(IdOptConvert), CB_SETCURSEL, kind, 0); }
    // Two small mail files listed with the given byte total each, as big
    // files would be counted; returns the first one's path.
    std::string AddTwoBigRows(uint64_t bytes) {
        std::string a = MailFileWith("a.txt", 2), b = MailFileWith("b.txt", 2);
        RecordingLibrary::afterCall = [bytes](LibraryCall &call) {
            if (!call.extract)
                call.totalBytes = bytes;
        };
        AddThroughOpenDialog({a, b});
        EXPECT_EQ(form->Rows()[1].totalBytes, bytes);
        RecordingLibrary::afterCall = nullptr;
        SetDestination(*temp / "out");
        return a;
    }
    // Copies a sample into the test folder and adds it as a source.
    std::string AddSample(const std::string &name) {
        std::string copy = *temp / name;
        EXPECT_TRUE(WriteBytes(copy, ReadBytes(Samples() + "\\" + name)));
        AddThroughOpenDialog({copy});
        return copy;
    }
    // The .eml files of `folder` equal those of samples/expected/<kind>.
    void ExpectSampleOutput(const std::string &folder, const std::string &kind) {
        std::string expected = Samples() + "\\expected\\" + kind;
        std::vector<std::string> names = SortedEntries(expected);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(SortedEntries(folder), names);
        for (const std::string &name : names)
            EXPECT_EQ(ReadBytes(folder + "\\" + name), ReadBytes(expected + "\\" + name)) << name;
    }
};

TEST_F(RunTest, NothingToExtractGivesTheInformationAndNoCall) {
    MakeForm();
    SetDestination(*temp / "out");
    Click(IdStartBtn);
    std::string plain = *temp / "plain.txt";
    ASSERT_TRUE(WriteBytes(plain, "no mail here\r\n"));
    AddThroughOpenDialog({plain});
    Click(IdStartBtn);
    const std::string box = "box 情報|電子メールメッセージを含むファイルまたはフォルダが指定されていません。";
    EXPECT_EQ(outside.Lines(), (std::vector<std::string>{"beep", box, "beep", box}));
    ASSERT_EQ(RecordingLibrary::Calls().size(), 1u); // the count only
    EXPECT_FALSE(IsFolder(*temp / "out"));
    EXPECT_TRUE(IsIdle());
}

TEST_F(RunTest, EmptyDestinationGivesTheErrorWithTwoQuoteMarks) {
    MakeForm();
    AddSample("mailbox.mbox");
    Click(IdStartBtn);
    EXPECT_EQ(outside.Lines(),
              (std::vector<std::string>{"beep", "box エラー|出力フォルダを作成できませんでした。\r\"\""}));
    EXPECT_EQ(RecordingLibrary::Calls().size(), 1u);
    EXPECT_TRUE(IsIdle());
}

TEST_F(RunTest, EachKindExtractsTheSamplesByteForByte) {
    MakeForm();
    const struct {
        int kind;
        const char *sample, *expected;
    } runs[] = {{0, "general.txt", "general"}, {1, "nifty.txt", "nifty"},
                {2, "mailbox.mbox", "mbox"}};
    for (const auto &run : runs) {
        SCOPED_TRACE(run.sample);
        // One row at a time: clear the list first.
        while (RowCount() > 0) {
            LVITEMA select = {};
            select.stateMask = select.state = LVIS_SELECTED;
            SendMessageA(Control(IdFromCtrl), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
            Click(IdDeleteBtn);
        }
        std::string source = AddSample(run.sample);
        std::string out = *temp / (std::string("out-") + run.expected);
        SetDestination(out);
        ChooseKind(run.kind);
        size_t before = RecordingLibrary::Calls().size();
        outside.events.clear();
        Click(IdStartBtn);

        ASSERT_EQ(RecordingLibrary::Calls().size(), before + 1);
        const LibraryCall &call = RecordingLibrary::Calls().back();
        EXPECT_TRUE(call.extract);
        EXPECT_EQ(call.input, source);
        EXPECT_TRUE(call.outputGiven);
        EXPECT_EQ(call.output, out);
        EXPECT_EQ(call.kind, run.kind);
        EXPECT_TRUE(call.totalGiven);
        EXPECT_TRUE(call.resultCodeGiven);
        EXPECT_EQ(call.resultCodeBefore, 0);
        EXPECT_NE(call.progress, nullptr);
        EXPECT_NE(call.progress, RecordingLibrary::Calls()[before - 1].progress)
            << "the run reports to its own callback";
        ExpectSampleOutput(out, run.expected);
        // The closing information, without a beep.
        EXPECT_EQ(outside.Lines(), (std::vector<std::string>{std::string("box ") + kFinished}));
        EXPECT_EQ(outside.events[0].flags, UINT(MB_OK | MB_ICONINFORMATION));
        EXPECT_TRUE(IsIdle());
    }
}

TEST_F(RunTest, DestinationIsPassedExactlyAsTypedAndTheListStaysForAnotherRun) {
    MakeForm();
    AddSample("mailbox.mbox");
    ChooseKind(2);
    std::string typed = *temp / "deep\\er\\out\\"; // missing levels, a trailing separator
    SetDestination(typed);
    Click(IdStartBtn);
    ASSERT_EQ(RecordingLibrary::Calls().size(), 2u);
    EXPECT_EQ(RecordingLibrary::Calls()[1].output, typed);
    EXPECT_EQ(SortedEntries(*temp / "deep\\er\\out").size(), 3u);
    Click(IdStartBtn);
    EXPECT_EQ(RowCount(), 1);
    EXPECT_EQ(RecordingLibrary::Calls().size(), 3u);
    EXPECT_EQ(SortedEntries(*temp / "deep\\er\\out").size(), 6u); // the next free names
}

TEST_F(RunTest, FailingRowGetsItsBoxAndTheOtherRowsStillRun) {
    MakeForm();
    std::string locked = MailFileWith("locked.txt", 2);
    std::string plain = *temp / "plain.txt";
    ASSERT_TRUE(WriteBytes(plain, "no mail\r\n"));
    std::string good = MailFileWith("good.txt", 3);
    AddThroughOpenDialog({locked, plain, good});
    ASSERT_EQ(RowCount(), 3);
    std::string out = *temp / "out";
    SetDestination(out);
    outside.events.clear();
    {
        // Held open without sharing: the library cannot read it (1001).
        FileLock lock(locked);
        ASSERT_TRUE(lock.Held());
        Click(IdStartBtn);
    }
    // The row with count 0 is skipped without a call.
    ASSERT_EQ(RecordingLibrary::Calls().size(), 5u);
    EXPECT_EQ(RecordingLibrary::Calls()[3].input, locked);
    EXPECT_EQ(RecordingLibrary::Calls()[4].input, good);
    EXPECT_EQ(RecordingLibrary::Calls()[4].resultCodeBefore, 0);
    EXPECT_EQ(outside.Lines(),
              (std::vector<std::string>{"beep",
                                        "box エラー|入力ファイルが見つかりませんでした。\r\"" + locked + "\"",
                                        std::string("box ") + kFailures}));
    EXPECT_EQ(outside.events[2].flags, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(SortedEntries(out).size(), 3u);
    EXPECT_TRUE(IsIdle());
}

TEST_F(RunTest, EachCodeHasItsTextAndUnknownCodesOnlyBeep) {
    MakeForm();
    std::string source = MailFileWith("a.txt", 1);
    AddThroughOpenDialog({source});
    std::string out = *temp / "out";
    SetDestination(out);
    const struct {
        int32_t code;
        std::string box;
    } cases[] = {
        {1000, "インターネットメールメッセージが見つかりませんでした。"},
        {1001, "入力ファイルが見つかりませんでした。\r\"" + source + "\""},
        {1002, "入力フォルダが見つかりませんでした。\r\"" + source + "\""},
        {1003, "入力パスが見つかりませんでした。\r\"" + source + "\""},
        {1004, "出力ファイルが見つかりませんでした。\r\"" + out + "\""},
        {1005, "出力フォルダを作成できませんでした。\r\"" + out + "\""},
        {1006, "不明なエラーです。"},
        {1007, "ファイルの作成エラーです。"},
        {1008, "出力フォルダと同名のファイルが存在します。\r\"" + out + "\""},
        {1009, "1 つのフォルダにあるファイルが多すぎます。\r\"" + out + "\""},
        {999, ""},
        {1010, ""},
        {-1, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        RecordingLibrary::afterCall = [&](LibraryCall &call) { call.resultCode = c.code; };
        outside.events.clear();
        Click(IdStartBtn);
        std::vector<std::string> expected = {"beep"};
        if (!c.box.empty())
            expected.push_back("box エラー|" + c.box);
        expected.push_back(std::string("box ") + kFailures);
        EXPECT_EQ(outside.Lines(), expected);
        EXPECT_TRUE(IsIdle());
    }
}

TEST_F(RunTest, OutputPathThatIsAFileGivesCode1008) {
    MakeForm();
    AddSample("general.txt");
    std::string file = *temp / "taken";
    ASSERT_TRUE(WriteBytes(file, "x"));
    SetDestination(file);
    outside.events.clear();
    Click(IdStartBtn);
    EXPECT_EQ(outside.Lines(),
              (std::vector<std::string>{"beep",
                                        "box エラー|出力フォルダと同名のファイルが存在します。\r\"" + file + "\"",
                                        std::string("box ") + kFailures}));
}

TEST_F(RunTest, WindowIsBusyDuringTheRunAndTheBarAdvancesAcrossFiles) {
    MakeForm();
    ASSERT_TRUE(MakeFolder(*temp / "Mail"));
    for (int i = 0; i < 3; ++i)
        MailFileWith("Mail\\f" + std::to_string(i) + ".txt", 20 + i);
    outside.browse = [&](BROWSEINFOA &) { return ILCreateFromPathA((*temp / "Mail").c_str()); };
    Click(IdNewFolderBtn);
    ASSERT_EQ(RowCount(), 1);
    uint64_t total = form->Rows()[0].totalBytes;
    SetDestination(*temp / "out");

    bool busy = false;
    int maximum = -1;
    std::vector<int> positions;
    RecordingLibrary::beforeCall = [&](const LibraryCall &) {
        busy = IsBusy() && IsWindowVisible(Control(IdProgBar));
        maximum = static_cast<int>(SendMessageA(Control(IdProgBar), PBM_GETRANGE, FALSE, 0));
    };
    RecordingLibrary::afterProgress = [&](uint64_t, uint64_t) {
        positions.push_back(static_cast<int>(SendMessageA(Control(IdProgBar), PBM_GETPOS, 0, 0)));
    };
    // A frame passes between any two looks at the clock: the bar may follow
    // every report, however fast the machine runs the files.
    DWORD clock = 1000;
    outside.ticks = [&] { return clock += 20; };
    Click(IdStartBtn);
    EXPECT_TRUE(busy);
    EXPECT_EQ(maximum, static_cast<int>(total));
    ASSERT_EQ(positions.size(), 63u);
    for (size_t i = 1; i < positions.size(); ++i)
        EXPECT_GE(positions[i], positions[i - 1]) << i;
    // The last report is in the last file: the first two are finished.
    EXPECT_GT(positions.back(), static_cast<int>(total / 2));
    EXPECT_LE(positions.back(), static_cast<int>(total));
    EXPECT_TRUE(IsIdle());
}

TEST_F(RunTest, BarMovesAtMostOncePerFrame) {
    MakeForm();
    std::string file = MailFileWith("a.txt", 40);
    AddThroughOpenDialog({file});
    ASSERT_EQ(RowCount(), 1);
    SetDestination(*temp / "out");
    // The clock stands still until the test moves it on.
    DWORD clock = 5000;
    outside.ticks = [&] { return clock; };
    std::vector<int> positions;
    std::vector<uint64_t> dones;
    RecordingLibrary::afterProgress = [&](uint64_t, uint64_t done) {
        positions.push_back(static_cast<int>(SendMessageA(Control(IdProgBar), PBM_GETPOS, 0, 0)));
        dones.push_back(done);
        // Half a frame per report: the bar moves at every second report.
        clock += 8;
    };
    Click(IdStartBtn);
    ASSERT_GE(positions.size(), 8u);
    // The first report moves the bar at once; within the same frame the
    // next one leaves it, the one after that, a frame later, moves it.
    EXPECT_EQ(positions[0], static_cast<int>(dones[0]));
    int moves = 0;
    for (size_t i = 1; i < positions.size(); ++i) {
        if (positions[i] != positions[i - 1])
            ++moves;
        EXPECT_EQ(positions[i], static_cast<int>(dones[i % 2 ? i - 1 : i])) << i;
    }
    EXPECT_GT(moves, 0);
    EXPECT_TRUE(IsIdle());
}

TEST_F(RunTest, FilesOf4GiBAndMoreKeepTheirHighWordsInTheBarAndTheTime) {
    MakeForm();
    // The counts report 5 GiB each, as two archives of that size would.
    const std::string a = AddTwoBigRows(5ull << 30);
    DWORD clock = 10000;
    outside.ticks = [&] { return clock; };
    struct Seen {
        int maximum, position;
        std::string text;
    };
    std::vector<Seen> seen;
    RecordingLibrary::beforeCall = [&](const LibraryCall &call) {
        if (!call.extract)
            return;
        // The first report of the file, then one 4.5 GiB into it, 3 s later.
        call.progress(0x40000000u, 1, 0, 0);
        clock += 3000;
        call.progress(0x40000000u, 1, 0x20000000u, 1);
        seen.push_back({static_cast<int>(SendMessageA(Control(IdProgBar), PBM_GETRANGE, FALSE, 0)),
                        static_cast<int>(SendMessageA(Control(IdProgBar), PBM_GETPOS, 0, 0)),
                        Text(IdProgText)});
    };
    Click(IdStartBtn);
    ASSERT_EQ(seen.size(), 2u);
    // 10 GiB in all, shifted right three times to fit 31 bits: 0x50000000.
    EXPECT_EQ(seen[0].maximum, 0x50000000);
    // 4.5 GiB of the first file; then, with the second, the first file's
    // 5 GiB, the real reports of the small file that the library then read
    // (its own size), and 4.5 GiB.
    EXPECT_EQ(seen[0].position, 0x24000000);
    const uint64_t real = ReadBytes(a).size();
    EXPECT_EQ(seen[1].position, static_cast<int>(((5ull << 30) + real + (9ull << 29)) >> 3));
    // 4.5 GiB in 3 s leaves 5.5 GiB: 3.67 s more; then 0.5 GiB after 9.5 GiB
    // in 6 s: 0.32 s.
    EXPECT_EQ(seen[0].text, "予想残り時間: 3 秒");
    EXPECT_EQ(seen[1].text, "予想残り時間: 0 秒");
    EXPECT_TRUE(IsIdle());
}

TEST_F(RunTest, TotalsOf2GiBOrMoreScaleTheBarWithoutTurningNegative) {
    MakeForm();
    // The counts report 3 GiB each, as two big files would.
    AddTwoBigRows(3ull << 30);
    std::vector<int> maxima;
    RecordingLibrary::beforeCall = [&](const LibraryCall &call) {
        if (!call.extract)
            return;
        maxima.push_back(static_cast<int>(SendMessageA(Control(IdProgBar), PBM_GETRANGE, FALSE, 0)));
        // A report deep into a big file.
        call.progress(0xC0000000u, 0, 0, 0);
        call.progress(0xC0000000u, 0, 0xB0000000u, 0);
        int position = static_cast<int>(SendMessageA(Control(IdProgBar), PBM_GETPOS, 0, 0));
        EXPECT_GE(position, 0);
        EXPECT_LE(position, maxima.back());
    };
    Click(IdStartBtn);
    ASSERT_EQ(maxima.size(), 2u);
    // 6 GiB shifted right twice: 1.5 GiB, the first that fits 31 bits.
    EXPECT_EQ(maxima[0], 0x60000000);
    EXPECT_TRUE(IsIdle());
}
