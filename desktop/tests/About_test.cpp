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
    size_t ShellCalls() const {
        size_t calls = 0;
        for (const OutsideEvent &event : outside.events)
            calls += event.kind == "shell";
        return calls;
    }
};

TEST_F(AboutBoxTest, TextsFontsIconAndLinksSitInTheirPlaces) {
    HWND box = about->Window();
    EXPECT_EQ(WindowText(box), "Quillbox について");
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_EQ(GetWindow(box, GW_OWNER), Window());
    RECT client;
    GetClientRect(box, &client);
    EXPECT_EQ(client.right, Scale(375));
    EXPECT_EQ(client.bottom, Scale(194));
    LONG style = GetWindowLongA(box, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    struct Expected {
        int id, left, top;
        const char *text, *face;
        int height, weight, borders; // borders: -1 for a plain text
    };
    const Expected texts[] = {
        {IdAboutLabel1, 76, 16, "Quillbox", "MS UI Gothic", 16, FW_BOLD, 0},
        {IdVersion, 88, 40, "Version 1.0.9.4212", "MS UI Gothic", 12, FW_NORMAL, 0},
        {IdCopyright, 88, 60, "Copyright (C) 2026 TALVEN", "MS UI Gothic", 12, FW_NORMAL, 0},
        {IdAboutLabel2, 76, 96, "製品情報/最新版の入手先:", "MS UI Gothic", 12, FW_NORMAL, 0},
        {IdAboutLabel3, 76, 128, "お問い合わせ先:", "MS UI Gothic", 12, FW_NORMAL, 0},
        {IdHomePage, 76, 108, kHomePage, "ＭＳ Ｐゴシック", 12, FW_NORMAL, 1},
        {IdEmail, 76, 140, kContact, "ＭＳ Ｐゴシック", 12, FW_NORMAL, 1},
    };
    for (const Expected &expected : texts) {
        SCOPED_TRACE(expected.text);
        HWND control = Item(expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(WindowText(control), expected.text);
        RECT rect = RectInParent(control);
        EXPECT_EQ(rect.left, Scale(expected.left));
        EXPECT_EQ(rect.top, Scale(expected.top));
        LOGFONTA font = FontOf(control);
        EXPECT_STREQ(font.lfFaceName, expected.face);
        EXPECT_EQ(font.lfHeight, -Scale(expected.height));
        EXPECT_EQ(font.lfWeight, expected.weight);
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);
        SIZE size = TextSize(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
                             expected.text);
        EXPECT_EQ(rect.right - rect.left, size.cx + expected.borders);
        EXPECT_EQ(rect.bottom - rect.top, size.cy + expected.borders);
    }
    EXPECT_EQ(about->HomePage.HREF, kHomePage);
    EXPECT_EQ(about->Email.HREF, std::string("mailto:") + kContact);
    for (THyperLink *link : {&about->HomePage, &about->Email}) {
        EXPECT_TRUE(FontOf(link->Window()).lfUnderline);
        EXPECT_EQ(link->TextColor(), THyperLink::Blue);
        EXPECT_EQ(link->NotPressedColor(), THyperLink::Blue);
    }

    HWND ok = Item(IDOK);
    RECT rect = RectInParent(ok);
    EXPECT_EQ(rect.left, Scale(260));
    EXPECT_EQ(rect.top, Scale(160));
    EXPECT_EQ(rect.right - rect.left, Scale(111));
    EXPECT_EQ(rect.bottom - rect.top, Scale(25));
    EXPECT_EQ(WindowText(ok), "OK");
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);

    HWND image = Item(IdAboutImage1);
    rect = RectInParent(image);
    EXPECT_EQ(rect.left, Scale(12));
    EXPECT_EQ(rect.top, Scale(8));
    EXPECT_EQ(rect.right - rect.left, Scale(48));
    EXPECT_EQ(rect.bottom - rect.top, Scale(48));
    EXPECT_NE(SendMessageA(image, STM_GETICON, 0, 0), 0);

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
    EXPECT_EQ(ShellCalls(), 0u);
    EXPECT_TRUE(outside.Boxes().empty());
}

TEST_F(AboutBoxTest, TabWalksOkAndTheLinksAndAFocusedLinkShowsTheOverLook) {
    THyperLink &home = about->HomePage;
    int homeDots = 0;
    auto frameDots = [](HWND link) {
        UpdateWindow(link);
        RECT client;
        GetClientRect(link, &client);
        HDC dc = GetDC(link);
        int dots = 0;
        for (int y = 0; y < client.bottom; ++y)
            dots += GetPixel(dc, client.right - 1, y) != GetSysColor(COLOR_BTNFACE);
        ReleaseDC(link, dc);
        return dots;
    };
    ModalScript script;
    script.Then([&] { return Showing(*about); }, [&] { SendKeys({}, VK_TAB); })
        .Then([&] { return Focused(IdHomePage); },
              [&] {
                  EXPECT_TRUE(home.Over());
                  EXPECT_EQ(home.TextColor(), home.OverColor());
                  homeDots = frameDots(home.Window());
                  SaveScreenshot(about->Window(), "quillrun-about-link-focused");
                  SendKeys({}, VK_TAB);
              })
        .Then([&] { return Focused(IdEmail); },
              [&] {
                  EXPECT_FALSE(home.Over());
                  EXPECT_EQ(frameDots(home.Window()), 0);
                  EXPECT_EQ(home.Style(), home.RestStyle()) << "the rest look after the focus";
                  SendKeys({}, VK_TAB);
              })
        .Then([&] { return Focused(IDOK); }, [&] { SendKeys({VK_SHIFT}, VK_TAB); })
        .Then([&] { return Focused(IdEmail); }, [&] { SendKeys({}, VK_ESCAPE); });
    about->ShowModal();
    EXPECT_TRUE(script.Done());
    EXPECT_GT(homeDots, 2) << "the focus frame's dots";
    EXPECT_EQ(ShellCalls(), 0u);
}

TEST_F(AboutBoxTest, SpaceOnALinkOpensItThroughItsKeyPressHandler) {
    ModalScript script;
    script.Then([&] { return Showing(*about); }, [&] { SendKeys({}, VK_TAB); })
        .Then([&] { return Focused(IdHomePage); }, [&] { SendKeys({}, VK_SPACE); })
        .Then([&] { return ShellCalls() == 1; }, [&] { SendKeys({}, VK_TAB); })
        .Then([&] { return Focused(IdEmail); }, [&] { SendKeys({}, VK_SPACE); })
        .Then([&] { return ShellCalls() == 2; }, [&] { SendKeys({}, VK_ESCAPE); });
    about->ShowModal();
    ASSERT_TRUE(script.Done());
    std::vector<OutsideEvent> calls;
    for (const OutsideEvent &event : outside.events)
        if (event.kind == "shell")
            calls.push_back(event);
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
        .Then([&] { return ShellCalls() == 1; },
              [&] {
                  EXPECT_TRUE(about->Showing());
                  SendKeys({VK_SHIFT}, VK_TAB);
              })
        .Then([&] { return Focused(IDOK); }, [&] { SendKeys({}, VK_RETURN); });
    EXPECT_EQ(about->ShowModal(), IDOK);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(ShellCalls(), 1u);
}
