// The wizard pages on real windows, in the run's language: each page from
// its template with its texts and initial states, the licence page's
// choice, the folder page (an earlier install, typed folders, the creation
// question and its failure, refused folders, the folder picker), Cancel's
// confirmation, the progress page in both modes, the readme only after an
// install, and the banner read from "banner.bmp".
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "Banner.h"
#include "PageDriver.h"
#include "PageIds.h"
#include "SetupTestSupport.h"
#include "SystemFolders.h"
#include "UninstallEntry.h"
#include "WizardPages.h"

namespace setup::test {
namespace {

struct Pages : ::testing::Test, PageRun {
    void SetUp() override { Script(""); }
    bool Japanese() const { return ctx.language == kJapaneseLocale; }
    // A text as the run's language shows it.
    std::string Said(const char *english, const char *japanese) const {
        return Ansi(Japanese() ? japanese : english);
    }
    void RegisterOldVersion(const std::string &folder) {
        ASSERT_TRUE(WriteRegistry(HKEY_LOCAL_MACHINE, UninstallKey(setup->cp, pkg.registryName),
                                  "InstallLocation", folder));
    }
};

// What a page showed when it opened.
struct Look {
    std::string caption, title, cancel, back, next, font;
    bool cancelOn = false, backOn = false, nextOn = false;
    long width = 0, height = 0, unitsWidth = 0, unitsHeight = 0;
};

Look LookAt(HWND page, bool japanese) {
    Look look;
    char text[256] = "";
    GetWindowTextA(page, text, sizeof text);
    look.caption = text;
    look.title = ControlText(page, IDC_TITLE);
    look.cancel = ControlText(page, IDCANCEL);
    look.back = ControlText(page, IDC_BACK);
    look.next = ControlText(page, IDC_NEXT);
    look.cancelOn = IsEnabled(page, IDCANCEL);
    look.backOn = IsEnabled(page, IDC_BACK);
    look.nextOn = IsEnabled(page, IDC_NEXT);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(page, WM_GETFONT, 0, 0)), sizeof font, &font);
    look.font = font.lfFaceName;
    RECT client, units = {0, 0, japanese ? 285 : 331, japanese ? 253 : 234};
    GetClientRect(page, &client);
    MapDialogRect(page, &units);
    look.width = client.right;
    look.height = client.bottom;
    look.unitsWidth = units.right;
    look.unitsHeight = units.bottom;
    return look;
}

TEST_F(Pages, EachPageFromItsTemplateInTheRunsLanguage) {
    std::vector<Look> looks;
    const auto lookAt = [&](HWND page) { looks.push_back(LookAt(page, Japanese())); };
    DrivePage([&] { return wizard->ShowLicence(); }, lookAt);
    DrivePage([&] { return wizard->ShowFolder(); }, lookAt);
    {
        std::unique_ptr<ProgressPage> progress = wizard->OpenProgress(PageMode::Install);
        ASSERT_TRUE(progress);
        lookAt(ThreadWindowWith(IDC_PROGRESS));
        progress->Close();
    }
    DrivePage([&] {
        wizard->ShowFinish(PageMode::Install);
        return 0;
    }, lookAt);
    DrivePage([&] {
        wizard->ShowInterrupted();
        return 0;
    }, lookAt);
    ASSERT_EQ(5u, looks.size());

    const char *titles[][2] = {{"License Agreement", "使用許諾契約書"},
                               {"Select Installation Folder", "インストールフォルダの選択"},
                               {"Installing...", "インストールしています..."},
                               {"Installation Complete", "作業の完了"},
                               {"Installation Interrupted", "作業の中断"}};
    const char *nexts[][2] = {{"&Next >", "次へ(&N) >"},
                              {"&Install", "インストール(&I)"},
                              {"&Next >", "次へ(N) >"},
                              {"&Close", "閉じる(&C)"},
                              {"&Close", "閉じる(&C)"}};
    // Enabled in the template: Cancel, Back, Next.
    const bool states[][3] = {{true, false, false},
                              {true, true, true},
                              {true, false, false},
                              {false, false, true},
                              {false, false, true}};
    for (size_t i = 0; i < looks.size(); ++i) {
        const Look &look = looks[i];
        SCOPED_TRACE(titles[i][0]);
        EXPECT_EQ(ctx.caption, look.caption);
        EXPECT_EQ(Said(titles[i][0], titles[i][1]), look.title);
        EXPECT_EQ(Said(nexts[i][0], nexts[i][1]), look.next);
        EXPECT_EQ(Said("< &Back", "< 戻る(&B)"), look.back);
        EXPECT_EQ(Said("Cancel", "キャンセル"), look.cancel);
        EXPECT_EQ(states[i][0], look.cancelOn);
        EXPECT_EQ(states[i][1], look.backOn);
        EXPECT_EQ(states[i][2], look.nextOn);
        EXPECT_EQ(Japanese() ? "MS UI Gothic" : "MS Shell Dlg", look.font);
        EXPECT_EQ(look.unitsWidth, look.width);
        EXPECT_EQ(look.unitsHeight, look.height);
    }
}

TEST_F(Pages, LicenceNextOnlyWithIAgreeAndBackAfterNext) {
    // Line feeds alone become line breaks the box shows.
    ASSERT_TRUE(WriteBytes(pkg.folder + "\\eula.txt", Ansi("第1条 使用許諾\nline 2\r\nline 3")));
    struct {
        std::string text;
        bool disagreeChecked = false, nextAtFirst = true, openAfterNext = false,
             nextWithAgree = false, nextAfterDisagree = true;
    } seen;
    const int button = DrivePage([&] { return wizard->ShowLicence(); }, [&](HWND page) {
        seen.text = ControlText(page, IDC_LICENCE_TEXT);
        seen.disagreeChecked = IsDlgButtonChecked(page, IDC_DISAGREE) == BST_CHECKED;
        seen.nextAtFirst = IsEnabled(page, IDC_NEXT);
        // Next sent while "I Do Not Agree" stands: the page stays.
        SendMessageA(page, WM_COMMAND, IDC_NEXT, 0);
        seen.openAfterNext = IsWindowVisible(page) && !ctx.licenceAccepted;
        Click(page, IDC_AGREE);
        seen.nextWithAgree = IsEnabled(page, IDC_NEXT);
        Click(page, IDC_DISAGREE);
        seen.nextAfterDisagree = IsEnabled(page, IDC_NEXT);
        Click(page, IDC_AGREE);
        Click(page, IDC_NEXT);
    });
    EXPECT_EQ(PageNext, button);
    EXPECT_EQ(Ansi("第1条 使用許諾\r\nline 2\r\nline 3"), seen.text);
    EXPECT_TRUE(seen.disagreeChecked);
    EXPECT_FALSE(seen.nextAtFirst);
    EXPECT_TRUE(seen.openAfterNext);
    EXPECT_TRUE(seen.nextWithAgree);
    EXPECT_FALSE(seen.nextAfterDisagree);

    // The folder page, then Back: "I Agree" stands and Next is enabled.
    EXPECT_EQ(PageBack, DrivePage([&] { return wizard->ShowFolder(); },
                                  [&](HWND page) { Click(page, IDC_BACK); }));
    EXPECT_TRUE(ctx.licenceAccepted);
    bool agreeChecked = false, nextOn = false;
    DrivePage([&] { return wizard->ShowLicence(); }, [&](HWND page) {
        agreeChecked = IsDlgButtonChecked(page, IDC_AGREE) == BST_CHECKED;
        nextOn = IsEnabled(page, IDC_NEXT);
        Click(page, IDC_NEXT);
    });
    EXPECT_TRUE(agreeChecked);
    EXPECT_TRUE(nextOn);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Pages, ALicenceThatIsMissingLeavesTheBoxEmpty) {
    std::string text = "unread";
    DrivePage([&] { return wizard->ShowLicence(); },
              [&](HWND page) { text = ControlText(page, IDC_LICENCE_TEXT); });
    EXPECT_EQ("", text);
}

TEST_F(Pages, CancelAsksFirstOnEveryPageThatHasIt) {
    // The licence page: Cancel, the close box and Escape each ask; No keeps it.
    ui.answers = {Answer::No, Answer::No, Answer::Yes};
    HWND licence = nullptr;
    bool openAfterNo = false;
    EXPECT_EQ(PageCancel, DrivePage([&] { return wizard->ShowLicence(); }, [&](HWND page) {
        licence = page;
        Click(page, IDCANCEL);
        SendMessageA(page, WM_CLOSE, 0, 0);
        openAfterNo = IsWindowVisible(page) != FALSE;
        SendMessageA(page, WM_COMMAND, IDCANCEL, 0); // what Escape sends
    }));
    EXPECT_TRUE(openAfterNo);
    ASSERT_EQ(3u, ui.shown.size());
    for (const Shown &s : ui.shown) {
        EXPECT_EQ(MessageKind::Question, s.kind);
        EXPECT_EQ(setup->Text(TextConfirmExit), s.text);
        EXPECT_EQ(ctx.caption, s.caption);
        EXPECT_EQ(licence, s.owner);
    }

    // The folder page reads its folder first, then asks.
    ui.shown.clear();
    ui.answers = {Answer::Yes};
    HWND folderPage = nullptr;
    EXPECT_EQ(PageCancel, DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        folderPage = page;
        SetControlText(page, IDC_FOLDER, "%programs%\\Quillbox Cancelled");
        Click(page, IDCANCEL);
    }));
    ASSERT_EQ(1u, ui.shown.size());
    EXPECT_EQ(setup->Text(TextConfirmExit), ui.shown[0].text);
    EXPECT_EQ(folderPage, ui.shown[0].owner);
    EXPECT_EQ(ProgramFilesFolder(pkg.platform) + "\\Quillbox Cancelled", ctx.installFolder);

    // The finish and interrupted pages have no Cancel: the close box does nothing.
    ui.shown.clear();
    for (int i = 0; i < 2; ++i) {
        bool openAfterClose = false, closeGreyed = false;
        DrivePage([&] {
            if (i == 0)
                wizard->ShowFinish(PageMode::Install);
            else
                wizard->ShowInterrupted();
            return 0;
        }, [&](HWND page) {
            SendMessageA(page, WM_CLOSE, 0, 0);
            SendMessageA(page, WM_COMMAND, IDCANCEL, 0);
            openAfterClose = IsWindowVisible(page) != FALSE;
            closeGreyed = GetMenuState(GetSystemMenu(page, FALSE), SC_CLOSE, MF_BYCOMMAND) &
                          MF_GRAYED;
            Click(page, IDC_NEXT);
        });
        EXPECT_TRUE(openAfterClose) << i;
        EXPECT_TRUE(closeGreyed) << i;
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Pages, FolderPageTakesATypedBareNameOrMacro) {
    const std::string name = TestName("Tools");
    const std::string expanded = ProgramFilesFolder(pkg.platform) + "\\" + name;
    // No to the creation question keeps the page open with the expanded
    // folder; Yes makes the folder and ends the page.
    ui.answers = {Answer::No, Answer::Yes};
    bool openAfterNo = false;
    std::string shownAfterNo;
    const int button = DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        SetControlText(page, IDC_FOLDER, name);
        Click(page, IDC_NEXT);
        openAfterNo = IsWindowVisible(page) && !IsFolder(expanded);
        shownAfterNo = ControlText(page, IDC_FOLDER);
        Click(page, IDC_NEXT);
    });
    EXPECT_EQ(PageNext, button);
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(expanded, shownAfterNo);
    EXPECT_EQ(expanded, ctx.installFolder);
    EXPECT_TRUE(IsFolder(expanded));
    ASSERT_EQ(2u, ui.shown.size());
    EXPECT_EQ(MessageKind::QuestionYesFirst, ui.shown[0].kind);
    EXPECT_EQ(TableText(*setup, TextCreateFolder, {expanded}), ui.shown[0].text);
    EXPECT_NE(nullptr, ui.shown[0].owner);
    RemoveDirectoryA(expanded.c_str());

    // A macro, read back on Back; an existing folder needs no question.
    ui.shown.clear();
    std::string shown;
    EXPECT_EQ(PageBack, DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        SetControlText(page, IDC_FOLDER, "%PROGRAMS%\\" + name);
        Click(page, IDC_BACK);
    }));
    EXPECT_EQ(expanded, ctx.installFolder);
    ctx.installFolder = pkg.base.Path();
    EXPECT_EQ(PageNext, DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        shown = ControlText(page, IDC_FOLDER);
        Click(page, IDC_NEXT);
    }));
    EXPECT_EQ(pkg.base.Path(), shown);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Pages, AFolderThatCannotBeMadeKeepsThePageOpen) {
    // Below a file: no folder can be made there.
    ASSERT_TRUE(WriteBytes(pkg.base / "file", "f"));
    const std::string folder = pkg.base / "file\\sub";
    ui.answers = {Answer::Yes, Answer::Ok, Answer::Yes, Answer::Ok};
    bool open = false;
    EXPECT_EQ(PageBack, DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        SetControlText(page, IDC_FOLDER, folder);
        Click(page, IDC_NEXT);
        // The file itself is no folder either.
        SetControlText(page, IDC_FOLDER, pkg.base / "file");
        Click(page, IDC_NEXT);
        open = IsWindowVisible(page) != FALSE;
        Click(page, IDC_BACK);
    }));
    EXPECT_TRUE(open);
    EXPECT_EQ((std::vector<std::string>{TableText(*setup, TextCreateFolder, {folder}),
                                        TableText(*setup, TextFolderNotCreated, {folder}),
                                        TableText(*setup, TextCreateFolder, {pkg.base / "file"}),
                                        TableText(*setup, TextFolderNotCreated,
                                                  {pkg.base / "file"})}),
              ui.Texts());
    EXPECT_EQ(MessageKind::Error, ui.shown[1].kind);
}

TEST_F(Pages, AFolderThatIsNotTheProductsOwnIsRefused) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    bool open = false;
    DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        for (const char *typed : {"C:\\", "%windows%", "", "..\\x"}) {
            SetControlText(page, IDC_FOLDER, typed);
            Click(page, IDC_NEXT);
        }
        open = IsWindowVisible(page) != FALSE;
        Click(page, IDC_BACK);
    });
    EXPECT_TRUE(open);
    EXPECT_EQ((std::vector<std::string>{
                  TableText(*setup, TextFolderRefused, {"C:\\"}),
                  TableText(*setup, TextFolderRefused, {windows}),
                  TableText(*setup, TextFolderRefused, {ProgramFilesFolder(pkg.platform) + "\\"}),
                  TableText(*setup, TextFolderRefused, {"..\\x"})}),
              ui.Texts());

    // An earlier version registered in such a folder: it cannot be
    // installed into, and Cancel still works.
    RegisterOldVersion(windows);
    ui.shown.clear();
    ui.answers = {Answer::Ok, Answer::Yes};
    EXPECT_EQ(PageCancel, DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        Click(page, IDC_NEXT);
        Click(page, IDCANCEL);
    }));
    EXPECT_EQ((std::vector<std::string>{TableText(*setup, TextFolderRefused, {windows}),
                                        setup->Text(TextConfirmExit)}),
              ui.Texts());
    EXPECT_TRUE(IsFolder(std::string(windows) + "\\system32"));
}

TEST_F(Pages, AnEarlierVersionFixesTheFolder) {
    const std::string old = pkg.base / "Old Quillbox";
    ASSERT_TRUE(MakeFolder(old));
    RegisterOldVersion(old);
    struct {
        std::string folder, prompt;
        bool editable = true, browse = true;
    } seen;
    EXPECT_EQ(PageNext, DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        seen.folder = ControlText(page, IDC_FOLDER);
        seen.prompt = ControlText(page, IDC_PROMPT);
        seen.editable = IsEnabled(page, IDC_FOLDER);
        seen.browse = IsShown(page, IDC_BROWSE);
        Click(page, IDC_NEXT);
    }));
    EXPECT_EQ(old, seen.folder);
    EXPECT_EQ(setup->Text(TextOldVersionFound), seen.prompt);
    EXPECT_FALSE(seen.editable);
    EXPECT_FALSE(seen.browse);
    EXPECT_EQ(old, ctx.installFolder);
    EXPECT_TRUE(ui.shown.empty());
}

// The text of the folder that the picker's tree shows as chosen.
std::string PickerChoice(HWND picker) {
    const HWND tree = FindWindowExA(picker, nullptr, WC_TREEVIEWA, nullptr);
    char text[MAX_PATH] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(tree);
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (!tree || !item.hItem || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return "";
    return text;
}

TEST_F(Pages, TheFolderPickerOpensOnTheTypedFolder) {
    const std::string start = pkg.base / "Picked";
    ASSERT_TRUE(MakeFolder(start));
    bool pickerOwned = false;
    std::string afterOk, afterCancel, choice;
    DrivePage([&] { return wizard->ShowFolder(); }, [&](HWND page) {
        // OK once the picker shows the folder it was opened on (after 2 s,
        // OK anyway): it returns that folder. Under heavy load Wine's picker
        // now and then shows the user's folder chosen instead of the folder
        // it was asked to select (without that request it shows the
        // desktop); a second try tells that from a fault of the page, which
        // fails both.
        for (int attempt = 0; attempt < 2; ++attempt) {
            SetControlText(page, IDC_FOLDER, start);
            DWORD since = 0;
            WhenShown([&]() -> HWND {
                const HWND picker = OwnedDialog(page);
                if (!picker)
                    return nullptr;
                if (!since)
                    since = GetTickCount();
                choice = PickerChoice(picker);
                return choice == "Picked" || GetTickCount() - since > 2000 ? picker : nullptr;
            }, [&](HWND picker) {
                pickerOwned = true;
                PostMessageA(picker, WM_COMMAND, IDOK, 0);
            });
            Click(page, IDC_BROWSE);
            afterOk = ControlText(page, IDC_FOLDER);
            if (choice == "Picked")
                break;
        }
        SetControlText(page, IDC_FOLDER, "%programs%");
        WhenShown([&] { return OwnedDialog(page); },
                  [&](HWND picker) { PostMessageA(picker, WM_COMMAND, IDCANCEL, 0); });
        Click(page, IDC_BROWSE);
        afterCancel = ControlText(page, IDC_FOLDER);
        Click(page, IDC_BACK);
    });
    EXPECT_TRUE(pickerOwned);
    EXPECT_EQ(pkg.platform.CanonicalPath(start), pkg.platform.CanonicalPath(afterOk))
        << "the picker showed \"" << choice << "\" chosen";
    EXPECT_EQ("%programs%", afterCancel);
}

TEST_F(Pages, TheProgressPageInBothModes) {
    std::unique_ptr<ProgressPage> install = wizard->OpenProgress(PageMode::Install);
    ASSERT_TRUE(install);
    HWND page = ThreadWindowWith(IDC_PROGRESS);
    ASSERT_TRUE(page);
    const HWND bar = GetDlgItem(page, IDC_PROGRESS);
    EXPECT_EQ(0, SendMessageA(bar, PBM_GETPOS, 0, 0));
    EXPECT_EQ(100, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    SetProgress(*install, 40);
    EXPECT_EQ(40, SendMessageA(bar, PBM_GETPOS, 0, 0));
    // Cancel asks; No changes nothing, Yes sets the abort flag and hides the page.
    ui.answers = {Answer::No, Answer::Yes};
    Click(page, IDCANCEL);
    EXPECT_FALSE(ctx.abortFlag);
    EXPECT_TRUE(IsWindowVisible(page));
    SendMessageA(page, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ctx.abortFlag);
    EXPECT_FALSE(IsWindowVisible(page));
    ASSERT_EQ(2u, ui.shown.size());
    EXPECT_EQ(setup->Text(TextConfirmExit), ui.shown[1].text);
    EXPECT_EQ(page, ui.shown[1].owner);
    install->Close();
    EXPECT_FALSE(IsWindow(page));

    // In removal mode: full, and nothing cancels.
    ui.shown.clear();
    std::unique_ptr<ProgressPage> removal = wizard->OpenProgress(PageMode::Removal);
    ASSERT_TRUE(removal);
    page = ThreadWindowWith(IDC_PROGRESS);
    EXPECT_EQ(100, SendDlgItemMessageA(page, IDC_PROGRESS, PBM_GETPOS, 0, 0));
    EXPECT_FALSE(IsEnabled(page, IDCANCEL));
    SendMessageA(page, WM_CLOSE, 0, 0);
    SendMessageA(page, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindowVisible(page));
    EXPECT_TRUE(ui.shown.empty());
    removal.reset();
    EXPECT_FALSE(IsWindow(page));
}

TEST_F(Pages, TheReadmeOnlyAfterAnInstall) {
    Script("[Finish]\nReadme=readme.txt\n");
    ctx.installFolder = pkg.base.Path();
    ASSERT_TRUE(WriteBytes(pkg.base / "readme.txt", Ansi("Quillbox について\r\n")));
    struct Seen {
        bool label = false, box = false;
        std::string text;
    };
    Seen install, removal;
    for (Seen *seen : {&install, &removal}) {
        DrivePage([&] {
            wizard->ShowFinish(seen == &install ? PageMode::Install : PageMode::Removal);
            return 0;
        }, [&](HWND page) {
            seen->label = IsShown(page, IDC_README_LABEL);
            seen->box = IsShown(page, IDC_README_TEXT);
            seen->text = ControlText(page, IDC_README_TEXT);
            Click(page, IDC_NEXT);
        });
    }
    EXPECT_TRUE(install.label);
    EXPECT_TRUE(install.box);
    EXPECT_EQ(Ansi("Quillbox について\r\n"), install.text);
    EXPECT_FALSE(removal.label);
    EXPECT_FALSE(removal.box);
    EXPECT_EQ("", removal.text);
}

TEST_F(Pages, TheBannerFromBannerBmp) {
    // A 24-bit bitmap file of 40 x 20 red pixels.
    const int width = 40, height = 20, stride = width * 3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER head = {};
    head.biSize = sizeof head;
    head.biWidth = width;
    head.biHeight = height;
    head.biPlanes = 1;
    head.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof head;
    file.bfSize = file.bfOffBits + stride * height;
    std::string bytes(reinterpret_cast<const char *>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char *>(&head), sizeof head);
    for (int i = 0; i < width * height; ++i)
        bytes += std::string("\x00\x00\xff", 3);
    ASSERT_TRUE(WriteBytes(pkg.folder + "\\banner.bmp", bytes));
    wizard->PrepareBanner();
    std::unique_ptr<ProgressPage> progress = wizard->OpenProgress(PageMode::Removal);
    const HWND page = ThreadWindowWith(IDC_PROGRESS);
    ASSERT_TRUE(page);
    const RECT area = ControlArea(page, IDC_BANNER);
    const POINT middle = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    EXPECT_EQ(RGB(255, 0, 0), PixelOf(page, middle));
    // Outside the small bitmap the page's own background shows.
    EXPECT_NE(RGB(255, 0, 0), PixelOf(page, {middle.x - width, middle.y}));

    progress->Close();

    // A file that is no bitmap counts as missing: the drawn banner, white
    // where the bitmap was red.
    ASSERT_TRUE(WriteBytes(pkg.folder + "\\banner.bmp", "not a bitmap"));
    Banner drawn;
    drawn.Prepare(pkg.folder + "\\banner.bmp", SetupTexts());
    EXPECT_EQ(nullptr, drawn.Bitmap());
    Script("");
    wizard->PrepareBanner();
    progress = wizard->OpenProgress(PageMode::Removal);
    EXPECT_EQ(RGB(255, 255, 255), PixelOf(ThreadWindowWith(IDC_PROGRESS), middle));
}

} // namespace
} // namespace setup::test
