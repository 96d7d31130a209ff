// The main window as it opens: its frame, every control's place, size,
// font, text and hint, the list's columns and pictures, and Tab's order.
#include "FormTest.h"

#include <commctrl.h>

#include <map>

#include "Layout.h"
#include "WindowWalk.h"

namespace {

RECT ClientRectOf(HWND parent, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string HintOf(HWND toolTip, HWND owner, HWND control) {
    char text[256] = "";
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageA(toolTip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

HWND ToolTipOf(HWND owner) {
    HWND found = nullptr;
    ForEachThreadWindow(GetCurrentThreadId(), [&](HWND window) {
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && GetWindow(window, GW_OWNER) == owner) {
            found = window;
            return false;
        }
        return true;
    });
    return found;
}

} // namespace

class MainWindowTest : public FormTest {};

TEST_F(MainWindowTest, FrameIsAFixedDialogStyleWindowCentredOnTheScreen) {
    MakeForm();
    EXPECT_EQ(WindowText(Window()), "Quillbox");
    RECT client;
    GetClientRect(Window(), &client);
    EXPECT_EQ(client.right, Scale(423));
    EXPECT_EQ(client.bottom, Scale(385));
    LONG style = GetWindowLongA(Window(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    RECT frame;
    GetWindowRect(Window(), &frame);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((frame.left + frame.right) - screenWidth), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - screenHeight), 1);
    HDC dc = GetDC(Window());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, Scale(200), Scale(50))); // the face colour
    ReleaseDC(Window(), dc);
    SaveScreenshot(Window(), "quillrun-main-" + std::to_string(SystemDpi()) + "dpi");
}

TEST_F(MainWindowTest, ControlsSitAtTheirPlacesWithTheirKindsAndTexts) {
    MakeForm();
    struct Expected {
        ControlId id;
        int left, top, width, height; // width -1: sized to its text
        const char *className;
        const char *text;
    };
    const Expected controls[] = {
        {IdAboutBtn, 16, 8, 48, 48, "QuillboxFlatButton", ""},
        {IdLabel1, 80, 16, 325, 25, "Static",
         "テキストファイルなどから電子メールメッセージを抜き出し .eml 形式に保存します。"},
        {IdImage2, 16, 66, 16, 16, "Static", ""},
        {IdLabel2, 36, 68, -1, -1, "Static", "調査するテキストファイル/フォルダ:"},
        {IdNewFileBtn, 336, 56, 25, 25, "QuillboxFlatButton", ""},
        {IdNewFolderBtn, 360, 56, 25, 25, "QuillboxFlatButton", ""},
        {IdDeleteBtn, 384, 56, 25, 25, "QuillboxFlatButton", ""},
        {IdFromCtrl, 16, 84, 393, 173, "SysListView32", ""},
        {IdProgBar, 16, 264, 393, 21, "msctls_progress32", ""},
        {IdStartBtn, 172, 260, 89, 53, "Button", "抽出開始(&X)"},
        {IdProgText, 112, 288, 265, 12, "Static", ""},
        {IdHelpBtn, 384, 288, 25, 25, "QuillboxFlatButton", ""},
        {IdImage1, 16, 298, 17, 15, "Static", ""},
        {IdLabel3, 36, 300, -1, -1, "Static", "保存先のフォルダ:"},
        {IdToCtrl, 16, 316, 325, 20, "ComboBox", ""},
        {IdBrowseBtn, 344, 316, 67, 21, "Button", "参照(&B)..."},
        {IdImage3, 16, 342, 16, 16, "Static", ""},
        {IdLabel4, 36, 344, -1, -1, "Static", "変換オプション:"},
        {IdOptConvert, 16, 360, 185, 20, "ComboBox", "一般の形式"},
        {IdKeepTree, 209, 360, 200, 20, "Button", "フォルダ構成を保って保存(&K)"},
    };
    for (const Expected &expected : controls) {
        SCOPED_TRACE(expected.id);
        HWND control = Control(expected.id);
        ASSERT_NE(control, nullptr);
        RECT rect = ClientRectOf(Window(), control);
        EXPECT_EQ(rect.left, Scale(expected.left));
        EXPECT_EQ(rect.top, Scale(expected.top));
        if (expected.width >= 0) {
            EXPECT_EQ(rect.right - rect.left, Scale(expected.width));
            EXPECT_EQ(rect.bottom - rect.top, Scale(expected.height));
        } else {
            SIZE text = TextSize(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)),
                                 expected.text);
            EXPECT_EQ(rect.right - rect.left, text.cx);
            EXPECT_EQ(rect.bottom - rect.top, text.cy);
        }
        EXPECT_EQ(ClassOf(control), expected.className);
        EXPECT_EQ(WindowText(control), expected.text);
    }
    EXPECT_FALSE(IsWindowVisible(Control(IdProgBar)));
    EXPECT_TRUE(GetWindowLongA(Control(IdProgText), GWL_STYLE) & SS_RIGHT);
    EXPECT_TRUE(GetWindowLongA(Control(IdToCtrl), GWL_STYLE) & CBS_SIMPLE);
    EXPECT_EQ(GetWindowLongA(Control(IdOptConvert), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
}

TEST_F(MainWindowTest, EveryTextControlUsesMsUiGothicAtTwelvePixels) {
    MakeForm();
    for (ControlId id : {IdLabel1, IdLabel2, IdLabel3, IdLabel4, IdProgText, IdFromCtrl, IdToCtrl,
                         IdBrowseBtn, IdStartBtn, IdOptConvert, IdKeepTree}) {
        SCOPED_TRACE(id);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTA lf = {};
        ASSERT_NE(GetObjectA(font, sizeof lf, &lf), 0);
        EXPECT_STREQ(lf.lfFaceName, "MS UI Gothic");
        EXPECT_EQ(lf.lfHeight, -Scale(12));
        EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
    }
}

TEST_F(MainWindowTest, ListHasThreeFixedColumnsAndTwoPictures) {
    MakeForm();
    HWND list = Control(IdFromCtrl);
    LONG style = GetWindowLongA(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    EXPECT_FALSE(style & LVS_EDITLABELS);
    struct Column {
        const char *header;
        int width, format;
    } columns[] = {{"項目", 120, LVCFMT_LEFT}, {"メッセージ数", 80, LVCFMT_RIGHT},
                   {"パス", 170, LVCFMT_LEFT}};
    for (int i = 0; i < 3; ++i) {
        char header[64] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = header;
        column.cchTextMax = sizeof header;
        ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(header, columns[i].header);
        EXPECT_EQ(column.cx, Scale(columns[i].width));
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, columns[i].format);
    }
    LVCOLUMNA fourth = {};
    fourth.mask = LVCF_WIDTH;
    EXPECT_FALSE(SendMessageA(list, LVM_GETCOLUMNA, 3, reinterpret_cast<LPARAM>(&fourth)));
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 2);
}

TEST_F(MainWindowTest, KindListOffersTheThreeKindsWithTheFirstChosen) {
    MakeForm();
    HWND kinds = Control(IdOptConvert);
    ASSERT_EQ(SendMessageA(kinds, CB_GETCOUNT, 0, 0), 3);
    const char *items[] = {"一般の形式", "@nifty web メール一括保存形式", "UNIX mbox 形式"};
    for (int i = 0; i < 3; ++i) {
        char text[128] = "";
        SendMessageA(kinds, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, items[i]);
    }
    EXPECT_EQ(SendMessageA(kinds, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageA(Control(IdToCtrl), CB_GETCOUNT, 0, 0), 0);
}

TEST_F(MainWindowTest, HintsNameEachButtonsKey) {
    MakeForm();
    HWND toolTip = ToolTipOf(Window());
    ASSERT_NE(toolTip, nullptr);
    std::map<ControlId, std::string> hints = {
        {IdAboutBtn, "バージョン情報の表示 (Alt+A)"},
        {IdNewFileBtn, "ファイルをリストに追加 (Alt+M)"},
        {IdNewFolderBtn, "フォルダをリストに追加 (Alt+N)"},
        {IdDeleteBtn, "選択した項目をリストから削除 (Del)"},
        {IdHelpBtn, "ヘルプの表示 (F1)"},
        {IdFromCtrl, "ここにファイルをドロップすることもできます"},
        {IdToCtrl, "ここにフォルダをドロップすることもできます"},
    };
    for (const auto &hint : hints)
        EXPECT_EQ(HintOf(toolTip, Window(), Control(hint.first)), hint.second) << hint.first;
    HWND edit = FindWindowExA(Control(IdToCtrl), nullptr, "Edit", nullptr);
    EXPECT_EQ(HintOf(toolTip, Window(), edit), "ここにフォルダをドロップすることもできます");
    EXPECT_EQ(HintOf(toolTip, Window(), Control(IdStartBtn)), "");
}

TEST_F(MainWindowTest, TabWalksListDestinationBrowseKindTreeAndStartInOrder) {
    MakeForm();
    HWND edit = FindWindowExA(Control(IdToCtrl), nullptr, "Edit", nullptr);
    EXPECT_EQ(GetFocus(), Control(IdFromCtrl));
    const HWND order[] = {edit, Control(IdBrowseBtn), Control(IdOptConvert), Control(IdKeepTree),
                          Control(IdStartBtn), Control(IdFromCtrl)};
    for (HWND expected : order) {
        PressKeys({}, VK_TAB);
        EXPECT_EQ(GetFocus(), expected);
    }
    PressKeys({VK_SHIFT}, VK_TAB);
    EXPECT_EQ(GetFocus(), Control(IdStartBtn));
}

TEST_F(MainWindowTest, PlatformsOlderThanWindows95AndNt4AreRefusedAtStart) {
    struct Platform {
        DWORD id, major;
        bool refused;
    } platforms[] = {{VER_PLATFORM_WIN32s, 3, true},
                     {VER_PLATFORM_WIN32_NT, 3, true},
                     {VER_PLATFORM_WIN32_WINDOWS, 4, false},
                     {VER_PLATFORM_WIN32_WINDOWS, 3, false},
                     {VER_PLATFORM_WIN32_NT, 4, false}};
    for (const Platform &platform : platforms) {
        SCOPED_TRACE(platform.id * 100 + platform.major);
        outside.events.clear();
        outside.version = [&](OSVERSIONINFOA &version) {
            version.dwPlatformId = platform.id;
            version.dwMajorVersion = platform.major;
            return true;
        };
        TMainForm candidate(outside, RecordingLibrary::Bind());
        bool created = candidate.Create();
        EXPECT_EQ(created, !platform.refused);
        if (platform.refused) {
            EXPECT_EQ(outside.Lines(),
                      (std::vector<std::string>{
                          "beep", "box エラー|実行にはWindows 95以降またはWindows NT 4.0以降が必要です。",
                          "end "}));
            EXPECT_EQ(outside.events[2].flags, 0u); // exit code 0
        } else {
            EXPECT_TRUE(outside.events.empty());
        }
    }
}
