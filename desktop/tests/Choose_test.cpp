// The drop-purpose dialog over the real main window: layout, texts, tab
// order and default button; every showing starts with the first choice,
// focused OK and centred over the main window; the answers of OK, Enter,
// the arrow keys, Escape, Cancel and the close box.
#include "DialogTest.h"

#include "ControlIds.h"
#include "Layout.h"

class ChooseDlgTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        MakeFormWithDialogs();
    }
    HWND Item(int id) const { return choose->Control(id); }
    bool Focused(int id) const { return GetFocus() == Item(id); }
    bool Checked(int id) const {
        return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    bool IsDefault(int id) const {
        return (GetWindowLongA(Item(id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    }
};

TEST_F(ChooseDlgTest, LayoutTextsAndFonts) {
    ExpectDialogFrame(choose->Window(), Window(), "Quillbox", 269, 126);
    const char *gothic = "MS UI Gothic";
    const struct {
        int id;
        ControlLook look;
        LONG type;
    } controls[] = {
        {IdChooseLabel1,
         {16, 8, -1, -1, "ドロップしたオブジェクトの用途を指定してください。", gothic, 12, FW_NORMAL, 0},
         -1},
        {IdRbOption1,
         {16, 40, 237, 17, "\"調査するテキストファイル/フォルダ\"に追加", gothic, 12, FW_NORMAL, 0},
         BS_AUTORADIOBUTTON},
        {IdRbOption2, {16, 60, 237, 17, "\"保存先のフォルダ\"に追加", gothic, 12, FW_NORMAL, 0},
         BS_AUTORADIOBUTTON},
        {IDOK, {108, 96, 75, 25, "OK", gothic, 12, FW_NORMAL, 0}, BS_DEFPUSHBUTTON},
        {IDCANCEL, {188, 96, 75, 25, "キャンセル", gothic, 12, FW_NORMAL, 0}, BS_PUSHBUTTON},
    };
    for (const auto &control : controls) {
        ExpectControl(Item(control.id), control.look);
        if (control.type >= 0) {
            EXPECT_EQ(GetWindowLongA(Item(control.id), GWL_STYLE) & BS_TYPEMASK, control.type);
        }
    }
    EXPECT_TRUE(Checked(IdRbOption1));
    EXPECT_FALSE(Checked(IdRbOption2));
}

TEST_F(ChooseDlgTest, OpensCentredOverTheMainWindowWithOkFocusedAndTabWalksItsControls) {
    // Anywhere: the main window off the screen's centre, odd sizes.
    SetWindowPos(Window(), nullptr, 37, 51, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ModalScript script;
    script.Then([&] { return Showing(*choose); },
                [&] {
                    EXPECT_TRUE(Focused(IDOK));
                    EXPECT_TRUE(IsDefault(IDOK));
                    EXPECT_TRUE(Checked(IdRbOption1));
                    RECT main, dialog;
                    GetWindowRect(Window(), &main);
                    GetWindowRect(choose->Window(), &dialog);
                    int width = dialog.right - dialog.left, height = dialog.bottom - dialog.top;
                    EXPECT_EQ(dialog.left, main.left + (main.right - main.left) / 2 - width / 2);
                    EXPECT_EQ(dialog.top, main.top + (main.bottom - main.top) / 2 - height / 2);
                    EXPECT_FALSE(IsWindowEnabled(Window()));
                    SaveScreenshot(choose->Window(), "quillrun-choose");
                    SendKeys({}, VK_TAB);
                })
        .Then([&] { return Focused(IDCANCEL); },
              [&] {
                  // The focused button is the one Enter presses.
                  EXPECT_TRUE(IsDefault(IDCANCEL));
                  EXPECT_FALSE(IsDefault(IDOK));
                  SendKeys({}, VK_TAB);
              })
        // Only the checked choice is a stop.
        .Then([&] { return Focused(IdRbOption1); },
              [&] {
                  EXPECT_TRUE(IsDefault(IDOK));
                  SendKeys({}, VK_TAB);
              })
        .Then([&] { return Focused(IDOK); }, [&] { SendKeys({VK_SHIFT}, VK_TAB); })
        .Then([&] { return Focused(IdRbOption1); }, [&] { SendKeys({}, VK_ESCAPE); });
    EXPECT_EQ(choose->Ask(), DropPurpose::None);
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(IsWindowEnabled(Window()));
    EXPECT_FALSE(IsWindowVisible(choose->Window()));
}

TEST_F(ChooseDlgTest, AnswersFollowTheChoiceAndEveryShowingStartsWithTheFirst) {
    // The first act runs once the dialog shows; each further one when its
    // condition holds.
    using Step = std::pair<std::function<bool()>, std::function<void()>>;
    auto ask = [&](std::function<void()> first, std::vector<Step> more = {}) {
        ModalScript script;
        script.Then([&] { return Showing(*choose); },
                    [&] {
                        EXPECT_TRUE(Checked(IdRbOption1)) << "every showing starts with it";
                        EXPECT_TRUE(Focused(IDOK));
                        first();
                    });
        for (Step &step : more)
            script.Then(step.first, step.second);
        DropPurpose answer = choose->Ask();
        EXPECT_TRUE(script.Done());
        return answer;
    };
    auto click = [&](int id) { return [this, id] { PostMessageA(Item(id), BM_CLICK, 0, 0); }; };
    auto focused = [&](int id) { return [this, id] { return Focused(id); }; };

    EXPECT_EQ(ask([] { SendKeys({}, VK_RETURN); }), DropPurpose::Sources);
    // Back to the checked choice; the arrow key moves to the second and
    // checks it.
    EXPECT_EQ(ask([] { SendKeys({VK_SHIFT}, VK_TAB); },
                  {{focused(IdRbOption1), [] { SendKeys({}, VK_DOWN); }},
                   {[&] { return Checked(IdRbOption2) && !Checked(IdRbOption1); },
                    [] { SendKeys({}, VK_RETURN); }}}),
              DropPurpose::Destination);
    EXPECT_EQ(ask(click(IdRbOption2), {{[&] { return Checked(IdRbOption2); }, click(IDOK)}}),
              DropPurpose::Destination);
    EXPECT_EQ(ask([] { SendKeys({}, VK_ESCAPE); }), DropPurpose::None);
    EXPECT_EQ(ask(click(IdRbOption2), {{[&] { return Checked(IdRbOption2); }, click(IDCANCEL)}}),
              DropPurpose::None);
    EXPECT_EQ(ask([&] { PostMessageA(choose->Window(), WM_SYSCOMMAND, SC_CLOSE, 0); }),
              DropPurpose::None);
    // Enter on the focused Cancel button cancels.
    EXPECT_EQ(ask([] { SendKeys({}, VK_TAB); },
                  {{focused(IDCANCEL), [] { SendKeys({}, VK_RETURN); }}}),
              DropPurpose::None);
    EXPECT_TRUE(outside.events.empty()) << "no box, no beep";
}
