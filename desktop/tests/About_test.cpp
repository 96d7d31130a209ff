// The About box over the real main window: its frame, texts, fonts, icon,
// bevel and links; opened by Alt+A and the About button, closed by Enter,
// Escape, OK and the close box; Tab through it, Space and Enter on a link.
#include "DialogTest.h"

#include "ControlIds.h"
#include "Layout.h"

namespace {

constexpr char kHomePage[] = "https://talven.jp/quillbox/";
constexpr char kContact[] = "quillbox@talven.jp";

} // namespace

class AboutBoxTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        MakeFormWithDialogs();
    }
    HWND Item(int id) const { return about->Control(id); }
    bool Focused(int id) const { return GetFocus() == Item(id); }
    size_t Opened() const { return ShellCalls(outside).size(); }
};

TEST_F(AboutBoxTest, TextsFontsIconAndLinksSitInTheirPlaces) {
    HWND box = about->Window();
    ExpectDialogFrame(box, Window(), "Quillbox について", 375, 194);
    const char *gothic = "MS UI Gothic";
    const struct {
        int id;
        ControlLook look;
    } controls[] = {
        {IdAboutLabel1, {76, 16, -1, -1, "Quillbox", gothic, 16, FW_BOLD, 0}},
        {IdVersion, {88, 40, -1, -1, "Version 1.0.9.4212", gothic, 12, FW_NORMAL, 0}},
        {IdCopyright, {88, 60, -1, -1, "Copyright (C) 2026 TALVEN", gothic, 12, FW_NORMAL, 0}},
        {IdAboutLabel2, {76, 96, -1, -1, "製品情報/最新版の入手先:", gothic, 12, FW_NORMAL, 0}},
        {IdAboutLabel3, {76, 128, -1, -1, "お問い合わせ先:", gothic, 12, FW_NORMAL, 0}},
        // Links: one border width beyond the text each way.
        {IdHomePage, {76, 108, -1, -1, kHomePage, "ＭＳ Ｐゴシック", 12, FW_NORMAL, 1}},
        {IdEmail, {76, 140, -1, -1, kContact, "ＭＳ Ｐゴシック", 12, FW_NORMAL, 1}},
        {IDOK, {260, 160, 111, 25, "OK", gothic, 12, FW_NORMAL, 0}},
        {IdAboutImage1, {12, 8, 48, 48, "", nullptr, 0, 0, 0}},
    };
    for (const auto &control : controls)
        ExpectControl(Item(control.id), control.look);
    EXPECT_EQ(GetWindowLongA(Item(IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_NE(SendMessageA(Item(IdAboutImage1), STM_GETICON, 0, 0), 0);
    EXPECT_EQ(about->HomePage.HREF, kHomePage);
    EXPECT_EQ(about->Email.HREF, std::string("mailto:") + kContact);
    for (THyperLink *link : {&about->HomePage, &about->Email}) {
        EXPECT_TRUE(FontOf(link->Window()).lfUnderline);
        EXPECT_EQ(link->TextColor(), THyperLink::Blue);
        EXPECT_EQ(link->NotPressedColor(), THyperLink::Blue);
    }

    // Shown: centred on the screen, the bevel's etched line along the top
    // of its box (shadow, then highlight), nothing below it; a picture.
    ModalScript script;
    script.Then([&] { return Showing(*about); },
                [&] {
                    RECT frame;
                    GetWindowRect(box, &frame);
                    EXPECT_LE(std::abs(frame.left + frame.right - GetSystemMetrics(SM_CXSCREEN)), 1);
                    EXPECT_LE(std::abs(frame.top + frame.bottom - GetSystemMetrics(SM_CYSCREEN)), 1);
                    UpdateWindow(box);
                    HDC dc = GetDC(box);
                    for (int x : {70, 200, 367}) {
                        EXPECT_EQ(GetPixel(dc, Scale(x), Scale(88)), GetSysColor(COLOR_BTNSHADOW));
                        EXPECT_EQ(GetPixel(dc, Scale(x), Scale(89)), GetSysColor(COLOR_BTNHIGHLIGHT));
                        EXPECT_EQ(GetPixel(dc, Scale(x), Scale(92)), GetSysColor(COLOR_BTNFACE));
                    }
                    EXPECT_EQ(GetPixel(dc, Scale(66), Scale(88)), GetSysColor(COLOR_BTNFACE));
                    ReleaseDC(box, dc);
                    SaveScreenshot(box, "quillrun-about");
                    SendKeys({}, VK_ESCAPE);
                });
    EXPECT_EQ(about->ShowModal(), IDCANCEL);
    EXPECT_TRUE(script.Done());
}

TEST_F(AboutBoxTest, OpensFromAltAAndTheButtonAndClosesWithEnterEscapeOkOrTheCloseBox) {
    struct Way {
        const char *name;
        bool altA;
        std::function<void()> close;
    };
    const Way ways[] = {
        {"Enter", true, [] { SendKeys({}, VK_RETURN); }},
        {"Escape", false, [] { SendKeys({}, VK_ESCAPE); }},
        {"OK", true, [&] { PostMessageA(Item(IDOK), BM_CLICK, 0, 0); }},
        {"close box", false,
         [&] { PostMessageA(about->Window(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        ModalScript script;
        script.Then([&] { return Showing(*about); },
                    [&] {
                        EXPECT_FALSE(IsWindowEnabled(Window())) << "the main window waits";
                        EXPECT_TRUE(Focused(IDOK));
                        way.close();
                    });
        if (way.altA)
            PressKeys({VK_MENU}, 'A');
        else
            Click(IdAboutBtn);
        EXPECT_TRUE(script.Done());
        EXPECT_FALSE(about->Showing());
        EXPECT_FALSE(IsWindowVisible(about->Window()));
        EXPECT_TRUE(IsWindowEnabled(Window()));
        EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == Window(); }));
    }
    EXPECT_EQ(Opened(), 0u);
    EXPECT_TRUE(outside.Boxes().empty());
}

TEST_F(AboutBoxTest, TabWalksOkAndTheLinksAndAFocusedLinkShowsTheOverLook) {
    THyperLink &home = about->HomePage;
    int homeDots = 0;
    ModalScript script;
    script.Then([&] { return Showing(*about); }, [&] { SendKeys({}, VK_TAB); })
        .Then([&] { return Focused(IdHomePage); },
              [&] {
                  EXPECT_TRUE(home.Over());
                  EXPECT_EQ(home.TextColor(), home.OverColor());
                  homeDots = FocusFrameDots(home.Window());
                  SaveScreenshot(about->Window(), "quillrun-about-link-focused");
                  SendKeys({}, VK_TAB);
              })
        .Then([&] { return Focused(IdEmail); },
              [&] {
                  EXPECT_FALSE(home.Over());
                  EXPECT_EQ(FocusFrameDots(home.Window()), 0);
                  EXPECT_EQ(home.Style(), home.RestStyle()) << "the rest look after the focus";
                  SendKeys({}, VK_TAB);
              })
        .Then([&] { return Focused(IDOK); }, [&] { SendKeys({VK_SHIFT}, VK_TAB); })
        .Then([&] { return Focused(IdEmail); }, [&] { SendKeys({}, VK_ESCAPE); });
    about->ShowModal();
    EXPECT_TRUE(script.Done());
    EXPECT_GT(homeDots, 2) << "the focus frame's dots";
    EXPECT_EQ(Opened(), 0u);
}

TEST_F(AboutBoxTest, SpaceOnALinkOpensItThroughItsKeyPressHandler) {
    ModalScript script;
    script.Then([&] { return Showing(*about); }, [&] { SendKeys({}, VK_TAB); })
        .Then([&] { return Focused(IdHomePage); }, [&] { SendKeys({}, VK_SPACE); })
        .Then([&] { return Opened() == 1; }, [&] { SendKeys({}, VK_TAB); })
        .Then([&] { return Focused(IdEmail); }, [&] { SendKeys({}, VK_SPACE); })
        .Then([&] { return Opened() == 2; }, [&] { SendKeys({}, VK_ESCAPE); });
    about->ShowModal();
    ASSERT_TRUE(script.Done());
    std::vector<OutsideEvent> calls = ShellCalls(outside);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, kHomePage);
    EXPECT_EQ(calls[1].text, std::string("mailto:") + kContact);
    for (const OutsideEvent &call : calls) {
        EXPECT_EQ(call.owner, about->Window());
        EXPECT_EQ(call.caption, "open");
        EXPECT_EQ(call.parameters, "");
        EXPECT_EQ(call.directory, "");
        EXPECT_EQ(call.show, SW_SHOWDEFAULT);
    }
}

TEST_F(AboutBoxTest, EnterOnAFocusedLinkOpensItAndEnterOnOkCloses) {
    ModalScript script;
    script.Then([&] { return Showing(*about); }, [&] { SendKeys({}, VK_TAB); })
        .Then([&] { return Focused(IdHomePage); }, [&] { SendKeys({}, VK_RETURN); })
        .Then([&] { return Opened() == 1; },
              [&] {
                  EXPECT_TRUE(about->Showing());
                  SendKeys({VK_SHIFT}, VK_TAB);
              })
        .Then([&] { return Focused(IDOK); }, [&] { SendKeys({}, VK_RETURN); });
    EXPECT_EQ(about->ShowModal(), IDOK);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(Opened(), 1u);
}
