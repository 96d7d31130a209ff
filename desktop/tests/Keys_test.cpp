// Keys the window sees first, as a user presses them: F1 in every state,
// the Alt shortcuts only with Alt alone and only while idle, the buttons'
// accelerators; also while a count or a run is inside the library, which
// takes the keys from the queue itself.
#include "FormTest.h"

namespace {

class RecordingWindows : public ModalWindows {
public:
    void ShowAbout() override { ++abouts; }
    DropPurpose AskDropPurpose() override { return DropPurpose::None; }
    int abouts = 0;
};

} // namespace

class KeysTest : public FormTest {
protected:
    void MakeFormWithWindows() {
        MakeForm();
        form->SetModalWindows(&windows);
    }
    int HelpCalls() const {
        int calls = 0;
        for (const OutsideEvent &event : outside.events)
            calls += event.kind == "help" ? 1 : 0;
        return calls;
    }
    RecordingWindows windows;
    int browses = 0;
};

TEST_F(KeysTest, F1WithAnyModifierOpensTheHelpFileBesideTheProgram) {
    MakeForm();
    PressKeys({}, VK_F1);
    PressKeys({VK_CONTROL}, VK_F1);
    PressKeys({VK_SHIFT}, VK_F1);
    Click(IdHelpBtn);
    ASSERT_EQ(outside.events.size(), 4u);
    for (const OutsideEvent &event : outside.events) {
        EXPECT_EQ(event.kind, "help");
        EXPECT_EQ(event.owner, Window());
        EXPECT_EQ(event.text, ProgramFolder() + "\\quillrun.chm");
        EXPECT_EQ(event.flags, 0u); // show the default topic
        EXPECT_EQ(event.data, 0u);
    }
}

TEST_F(KeysTest, AltShortcutsWorkOnlyWithAltAlone) {
    MakeFormWithWindows();
    outside.browse = [&](BROWSEINFOA &) {
        ++browses;
        return nullptr;
    };
    PressKeys({VK_MENU}, 'M');
    EXPECT_EQ(outside.openDialogCalls, 1);
    PressKeys({VK_MENU}, 'N');
    EXPECT_EQ(browses, 1);
    PressKeys({VK_MENU}, 'A');
    EXPECT_EQ(windows.abouts, 1);

    PressKeys({VK_MENU, VK_SHIFT}, 'M');
    PressKeys({VK_CONTROL, VK_MENU}, 'N');
    PressKeys({VK_CONTROL}, 'A');
    PressKeys({}, 'M');
    EXPECT_EQ(outside.openDialogCalls, 1);
    EXPECT_EQ(browses, 1);
    EXPECT_EQ(windows.abouts, 1);
    EXPECT_TRUE(IsIdle());
}

TEST_F(KeysTest, ButtonAcceleratorsStartTheRunAndBrowse) {
    MakeForm();
    std::string path = MailFileWith("a.txt", 2);
    AddThroughOpenDialog({path});
    SetWindowTextA(Control(IdToCtrl), (*temp / "out").c_str());
    outside.events.clear();
    PressKeys({VK_MENU}, 'X');
    ASSERT_EQ(RecordingLibrary::Calls().size(), 2u);
    EXPECT_TRUE(RecordingLibrary::Calls()[1].extract);
    EXPECT_EQ(outside.Boxes(), (std::vector<std::string>{"情報|抽出処理が終了しました。"}));

    outside.browse = [&](BROWSEINFOA &) {
        ++browses;
        return ILCreateFromPathA(temp->Path().c_str());
    };
    PressKeys({VK_MENU}, 'B');
    EXPECT_EQ(browses, 1);
    EXPECT_EQ(Text(IdToCtrl), temp->Path());
}

TEST_F(KeysTest, DuringACountHelpWorksAndTheShortcutsAreInert) {
    MakeFormWithWindows();
    outside.browse = [&](BROWSEINFOA &) {
        ++browses;
        return nullptr;
    };
    std::string path = MailFileWith("big.txt", 400);
    // The keys are pressed once the count is under way; the library takes
    // them from the queue and dispatches them itself.
    RecordingLibrary::beforeCall = [&](const LibraryCall &) {
        SendKeys({}, VK_F1);
        SendKeys({VK_MENU}, 'M');
        SendKeys({VK_MENU}, 'N');
        SendKeys({VK_MENU}, 'A');
        SendKeys({VK_CONTROL}, VK_F1);
    };
    AddThroughOpenDialog({path});
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(Cell(0, 1), "400");
    ASSERT_EQ(HelpCalls(), 2);
    for (const OutsideEvent &event : outside.events)
        EXPECT_TRUE(event.inLibraryCall) << event.kind;
    EXPECT_EQ(outside.openDialogCalls, 1); // the one that added the file
    EXPECT_EQ(browses, 0);
    EXPECT_EQ(windows.abouts, 0);
    EXPECT_TRUE(IsIdle());
}

TEST_F(KeysTest, DuringARunHelpWorksAndTheShortcutsAreInert) {
    MakeFormWithWindows();
    std::string path = MailFileWith("big.txt", 400);
    AddThroughOpenDialog({path});
    SetWindowTextA(Control(IdToCtrl), (*temp / "out").c_str());
    RecordingLibrary::beforeCall = [&](const LibraryCall &) {
        SendKeys({}, VK_F1);
        SendKeys({VK_MENU}, 'M');
        SendKeys({VK_MENU}, 'A');
        SendKeys({VK_MENU}, 'X');
    };
    Click(IdStartBtn);
    EXPECT_EQ(HelpCalls(), 1);
    EXPECT_EQ(outside.openDialogCalls, 1);
    EXPECT_EQ(windows.abouts, 0);
    // Alt+X did not start a second run.
    EXPECT_EQ(RecordingLibrary::Calls().size(), 2u);
    EXPECT_EQ(SortedEntries(*temp / "out").size(), 400u);
    EXPECT_TRUE(IsIdle());
}

TEST_F(KeysTest, WithoutTheHelpEngineF1DoesNothingAndTheWindowClosesCleanly) {
    outside.helpMissing = true;
    MakeForm();
    PressKeys({}, VK_F1);
    Click(IdHelpBtn);
    EXPECT_TRUE(outside.events.empty());
    SendMessageA(Window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(Window()));
    EXPECT_TRUE(outside.events.empty());
}

TEST_F(KeysTest, ClosingTheWindowClosesEveryHelpWindow) {
    MakeForm();
    HWND window = Window();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(outside.events.size(), 1u);
    EXPECT_EQ(outside.events[0].kind, "help");
    EXPECT_EQ(outside.events[0].owner, nullptr);
    EXPECT_EQ(outside.events[0].text, "(null)");
    EXPECT_EQ(outside.events[0].flags, 18u); // close all
}
