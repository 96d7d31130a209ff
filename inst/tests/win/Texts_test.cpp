// The string table of the real setup.exe, and the language it is read in.
#include <gtest/gtest.h>

#include <cstdlib>

#include "SetupTestSupport.h"

namespace setup::test {
namespace {

struct TableEntry {
    unsigned id;
    const char *utf8;
};
const TableEntry kTable[] = {
#define SETUP_TEXT(id, text) {id, text},
#include "SetupTexts.inc"
#undef SETUP_TEXT
};

// Every pair of the table, converted from the resource's UTF-16 into code
// page 932, as the Japanese system hands it out.
TEST(Texts, EveryPairInCodePage932) {
    ASSERT_EQ(932u, GetACP()) << "run under the Japanese locale";
    const Win32Platform platform(SetupTexts());
    EXPECT_EQ(32u, sizeof kTable / sizeof kTable[0]);
    for (const TableEntry &entry : kTable)
        EXPECT_EQ(Ansi(entry.utf8), platform.LoadText(entry.id)) << entry.id;
    EXPECT_EQ("", platform.LoadText(100));
    EXPECT_EQ("", platform.LoadText(133));
    // Spot checks of the bytes: "セットアップ" and the quotes and line breaks of 123.
    EXPECT_EQ("\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76", platform.LoadText(106));
    EXPECT_EQ("Error occurred while executing the following command. (errcode = %d)\n\n\"%s\"",
              platform.LoadText(123));
}

// Run once under each locale: the CTest entry names the locale it expects.
TEST(Locale, CaptionAndTextsFollowTheSystemLocale) {
    const char *expected = std::getenv("SETUP_EXPECTED_LCID");
    ASSERT_NE(nullptr, expected);
    Package pkg;
    pkg.WriteScript("[Setup]\nName=Quillbox\n");
    SetupContext ctx = pkg.Context();
    EXPECT_EQ(std::strtoul(expected, nullptr, 0), ctx.language);
    RecordingUi ui;
    setup::Setup s(ctx, pkg.platform, ui);
    if (ctx.language == 0x0411) {
        EXPECT_EQ("Quillbox \x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76", ctx.caption);
        EXPECT_EQ(pkg.platform.LoadText(126), s.Text(TextNotFromTemp));
    } else {
        EXPECT_EQ("Quillbox Setup", ctx.caption);
        EXPECT_EQ("This installer program cannot be run directly. Please open control panel to "
                  "call the installer.",
                  s.Text(TextNotFromTemp));
    }
}

} // namespace
} // namespace setup::test
