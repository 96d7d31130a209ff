// The pages as a user of either language sees them on this system (the
// tests run on a Japanese and on an English one): the licence and readme of
// the page's language as the script names them, read right whatever code
// page they are written in, the banner over the whole banner area, and a
// picture of every page in both languages.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "Banner.h"
#include "PageDriver.h"
#include "PageIds.h"
#include "Screenshot.h"
#include "SetupTestSupport.h"
#include "WizardPages.h"

namespace setup::test {
namespace {

constexpr unsigned long kEnglishLocale = 0x0409;

std::wstring Wide(const std::string &utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(
        CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0],
        static_cast<int>(text.size()))));
    return text;
}

// Bytes of a UTF-8 text in a code page (1200: UTF-16 little-endian).
std::string Encoded(const std::string &utf8, unsigned codePage) {
    const std::wstring text = Wide(utf8);
    if (codePage == 1200)
        return std::string(reinterpret_cast<const char *>(text.data()), text.size() * 2);
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(codePage, 0, text.data(),
                                                         static_cast<int>(text.size()),
                                                         &bytes[0], static_cast<int>(bytes.size()),
                                                         nullptr, nullptr)));
    return bytes;
}

// What a text box holds, read as Unicode.
std::wstring BoxText(HWND page, int id) {
    const HWND box = GetDlgItem(page, id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::wstring FirstLine(const std::wstring &text) { return text.substr(0, text.find_first_of(L"\r\n")); }

const char *kJapaneseLicence = u8"Quillbox 使用許諾契約書\n\n第 1 条 (使用の許諾)\n";
const char *kEnglishLicence = "Quillbox License Agreement\n\nArticle 1 (License)\n";
const char *kJapaneseReadme = u8"Quillbox 1.0 について\n";
const char *kEnglishReadme = "About Quillbox 1.0\n";

struct PageLanguages : ::testing::Test, PageRun {
    void SetUp() override { Script(""); }
    // A fresh run whose install folder holds the readme.
    void Script(const std::string &more) {
        PageRun::Script(more);
        ctx.installFolder = pkg.base.Path();
    }
    bool JapaneseSystem() const { return GetACP() == 932; }

    std::wstring LicenceShown() {
        std::wstring text = L"unread";
        DrivePage([&] { return wizard->ShowLicence(); },
                  [&](HWND page) { text = BoxText(page, IDC_LICENCE_TEXT); });
        return text;
    }
    std::wstring ReadmeShown() {
        std::wstring text = L"unread";
        DrivePage([&] {
            wizard->ShowFinish(PageMode::Install);
            return 0;
        }, [&](HWND page) { text = BoxText(page, IDC_README_TEXT); });
        return text;
    }
};

TEST_F(PageLanguages, ATextInAnyEncodingReadsRight) {
    struct Form {
        const char *what;
        unsigned codePage;
        std::string mark;
        const char *text;
    };
    const Form forms[] = {
        {"Shift-JIS", 932, "", kJapaneseLicence},
        {"UTF-8 with its mark", 65001, "\xEF\xBB\xBF", kJapaneseLicence},
        {"UTF-8 without a mark", 65001, "", kJapaneseLicence},
        {"UTF-16 with its mark", 1200, "\xFF\xFE", kJapaneseLicence},
        {"code page 1252", 1252, "", u8"Licence café “Quillbox”\n"},
        {"ASCII", 1252, "", kEnglishLicence},
    };
    for (const Form &form : forms) {
        SCOPED_TRACE(form.what);
        ASSERT_TRUE(WriteBytes(pkg.folder + "\\eula.txt", form.mark + Encoded(form.text, form.codePage)));
        std::wstring expected = Wide(form.text);
        // Line feeds alone become line breaks the box shows.
        for (size_t at = expected.find(L'\n'); at != std::wstring::npos;
             at = expected.find(L'\n', at + 2))
            expected.insert(at, 1, L'\r');
        EXPECT_EQ(expected, LicenceShown());
    }
}

TEST_F(PageLanguages, EachLanguageShowsItsOwnFiles) {
    ASSERT_TRUE(WriteBytes(pkg.folder + "\\eula.txt", Encoded(kJapaneseLicence, 932)));
    ASSERT_TRUE(WriteBytes(pkg.folder + "\\eula-en.txt", kEnglishLicence));
    ASSERT_TRUE(WriteBytes(pkg.base / "readme.txt", Encoded(kJapaneseReadme, 932)));
    ASSERT_TRUE(WriteBytes(pkg.base / "readme-en.txt", kEnglishReadme));
    const std::string keys = "[License]\nEula=eula.txt\nEula_English=eula-en.txt\n"
                             "[Finish]\nReadme=readme.txt\nReadme_English=readme-en.txt\n";
    struct Run {
        const char *what;
        std::string script;
        unsigned long language;
        const char *licence, *readme;
    };
    const Run runs[] = {
        {"Japanese pages", keys, kJapaneseLocale, kJapaneseLicence, kJapaneseReadme},
        {"English pages", keys, kEnglishLocale, kEnglishLicence, kEnglishReadme},
        // A script from before there were English texts: its Japanese
        // files on every page, the licence by its fixed name.
        {"an old script, English pages", "[Finish]\nReadme=readme.txt\n", kEnglishLocale,
         kJapaneseLicence, kJapaneseReadme},
        {"an old script, Japanese pages", "[Finish]\nReadme=readme.txt\n", kJapaneseLocale,
         kJapaneseLicence, kJapaneseReadme},
        // An English file that is not there: the Japanese one.
        {"English files missing",
         "[License]\nEula_English=gone.txt\n[Finish]\nReadme=readme.txt\nReadme_English=gone.txt\n",
         kEnglishLocale, kJapaneseLicence, kJapaneseReadme},
    };
    for (const Run &run : runs) {
        SCOPED_TRACE(run.what);
        Script(run.script);
        ctx.language = run.language;
        EXPECT_EQ(FirstLine(Wide(run.licence)), FirstLine(LicenceShown()));
        EXPECT_EQ(FirstLine(Wide(run.readme)), FirstLine(ReadmeShown()));
    }
    // An English readme alone shows on the English pages only.
    Script("[Finish]\nReadme_English=readme-en.txt\n");
    ctx.language = kEnglishLocale;
    EXPECT_EQ(FirstLine(Wide(kEnglishReadme)), FirstLine(ReadmeShown()));
    ctx.language = kJapaneseLocale;
    bool shown = true;
    DrivePage([&] {
        wizard->ShowFinish(PageMode::Install);
        return 0;
    }, [&](HWND page) { shown = IsShown(page, IDC_README_TEXT); });
    EXPECT_FALSE(shown);
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST_F(PageLanguages, TheDrawnBannerSpansThePage) {
    wizard->PrepareBanner();
    ASSERT_FALSE(ScreenDpi() != 96 && ScreenDpi() != 144) << "an untested screen";
    const int dpi = ScreenDpi();
    for (const unsigned long language : {kJapaneseLocale, kEnglishLocale}) {
        SCOPED_TRACE(language == kJapaneseLocale ? "Japanese" : "English");
        ctx.language = language;
        std::unique_ptr<ProgressPage> progress = wizard->OpenProgress(PageMode::Removal);
        const HWND page = ThreadWindowWith(IDC_PROGRESS);
        ASSERT_TRUE(page);
        RECT client;
        GetClientRect(page, &client);
        const RECT area = ControlArea(page, IDC_BANNER);
        // The area is the page's whole width; the frame runs along its
        // edges and white fills it, with no line inside but the frame.
        EXPECT_EQ(0, area.left);
        EXPECT_EQ(client.right, area.right);
        const int middle = (area.top + area.bottom) / 2;
        EXPECT_EQ(RGB(0, 0, 0), PixelOf(page, {0, middle}));
        EXPECT_EQ(RGB(0, 0, 0), PixelOf(page, {area.right - 1, middle}));
        EXPECT_EQ(RGB(0, 0, 0), PixelOf(page, {area.right / 2, area.top}));
        EXPECT_EQ(RGB(0, 0, 0), PixelOf(page, {area.right / 2, area.bottom - 1}));
        const int below = area.bottom - 4;
        for (int x = 1; x < area.right - 1; x += 7)
            ASSERT_EQ(RGB(255, 255, 255), PixelOf(page, {x, below})) << "at x " << x;
        // The icon as far from the right end and the top as on a page whose
        // area is the drawn banner's size, scaled with the screen.
        const int size = MulDiv(Banner::kIconSize, dpi, 96);
        const POINT icon = {area.right - MulDiv(Banner::kWidth - Banner::kIconX, dpi, 96),
                            area.top + MulDiv(Banner::kIconY, dpi, 96)};
        EXPECT_NE(RGB(255, 255, 255), PixelOf(page, {icon.x + size / 2, icon.y + size / 2}));
        EXPECT_EQ(RGB(255, 255, 255), PixelOf(page, {icon.x - 2, icon.y + size / 2}));
        EXPECT_EQ(RGB(255, 255, 255), PixelOf(page, {icon.x + size / 2, icon.y + size + 2}));
        progress->Close();
    }
}

// Where the pictures go: QUILLBOX_SCREENSHOTS, as the programs' tests do;
// "" when it is not set.
std::string PictureName(const std::string &name) {
    const char *folder = std::getenv("QUILLBOX_SCREENSHOTS");
    if (!folder)
        return std::string();
    const int dpi = ScreenDpi();
    return std::string(folder) + "\\setup-pages-" + (GetACP() == 932 ? "ja-" : "en-") + name +
           (dpi == 96 ? "" : "-" + std::to_string(dpi) + "dpi") + ".bmp";
}

// The pages a user of this system sees (the language follows the system's
// locale, and the locale fixes the code page: Japanese pages on code page
// 932, English ones on any other), each pictured, with the package's own
// licence and readme; on a Western system also with only the Japanese ones,
// as a script from before there were English texts shows them.
TEST_F(PageLanguages, EveryPagePictured) {
    const char *payload = std::getenv("QUILLBOX_PAYLOAD");
    ASSERT_TRUE(payload) << "QUILLBOX_PAYLOAD names the package's staged files";
    for (const char *name : {"eula.txt", "eula-en.txt"})
        ASSERT_TRUE(CopyFileA((std::string(payload) + "\\" + name).c_str(),
                              (pkg.folder + "\\" + name).c_str(), FALSE));
    for (const char *name : {"readme.txt", "readme-en.txt"})
        ASSERT_TRUE(CopyFileA((std::string(payload) + "\\" + name).c_str(),
                              (pkg.base / name).c_str(), FALSE));
    const bool japanese = JapaneseSystem();
    ASSERT_EQ(japanese, ctx.language == kJapaneseLocale);
    const auto picture = [](const std::string &name) {
        return [name](HWND page) {
            const std::string path = PictureName(name);
            // The page as it stands once everything on it has painted, and
            // the painting has reached the screen: Wine hands a window's
            // drawing to the display when its thread next looks for
            // messages, which a look that does not wait is.
            RedrawWindow(page, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
            GdiFlush();
            MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (!path.empty()) {
                EXPECT_TRUE(SaveWindowPicture(page, path));
            }
        };
    };
    struct Texts {
        std::string script, tag, licence, readme, readmeLater;
    };
    std::vector<Texts> runs = {
        {"[License]\nEula=eula.txt\nEula_English=eula-en.txt\n"
         "[Finish]\nReadme=readme.txt\nReadme_English=readme-en.txt\n",
         "", japanese ? u8"Quillbox 使用許諾契約書" : "Quillbox License Agreement", "Quillbox 1.0",
         japanese ? u8"ありがとうございます" : "Thank you for using Quillbox"}};
    if (!japanese)
        runs.push_back({"[Finish]\nReadme=readme.txt\n", "-japanese-texts", u8"Quillbox 使用許諾契約書",
                        "Quillbox 1.0", u8"ありがとうございます"});
    for (const Texts &run : runs) {
        SCOPED_TRACE(run.script);
        Script(run.script);
        wizard->PrepareBanner();
        std::wstring licence, readme;
        DrivePage([&] { return wizard->ShowLicence(); }, [&](HWND page) {
            licence = BoxText(page, IDC_LICENCE_TEXT);
            picture("licence" + run.tag)(page);
        });
        DrivePage([&] {
            wizard->ShowFinish(PageMode::Install);
            return 0;
        }, [&](HWND page) {
            readme = BoxText(page, IDC_README_TEXT);
            picture("finish" + run.tag)(page);
        });
        EXPECT_EQ(Wide(run.licence), FirstLine(licence));
        EXPECT_EQ(Wide(run.readme), FirstLine(readme));
        // The readme's own language shows past its first line.
        EXPECT_NE(std::wstring::npos, readme.find(Wide(run.readmeLater)));
    }
    DrivePage([&] { return wizard->ShowFolder(); }, picture("folder"));
    {
        std::unique_ptr<ProgressPage> progress = wizard->OpenProgress(PageMode::Install);
        ASSERT_TRUE(progress);
        progress->SetPosition(40);
        picture("progress")(ThreadWindowWith(IDC_PROGRESS));
        progress->Close();
    }
    DrivePage([&] {
        wizard->ShowInterrupted();
        return 0;
    }, picture("interrupted"));
}

} // namespace
} // namespace setup::test
