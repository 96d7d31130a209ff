// The start-up values, and the caption and texts in the run's language.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "SetupContext.h"

namespace setup {
namespace {

using test::FakePlatform;

TEST(SetupContext, WithoutAScriptEveryKeyTakesItsDefault) {
    FakePlatform p;
    SetupContext ctx;
    ctx.abortFlag = true;
    ctx.errorCode = ErrorVersionRefused;
    ctx.licenceAccepted = true;
    FillSetupContext(ctx, p);
    EXPECT_EQ("C:\\TEMP\\pkg\\setup.exe", ctx.modulePath);
    EXPECT_EQ("C:\\TEMP\\pkg", ctx.setupFolder);
    EXPECT_EQ("C:\\TEMP\\pkg\\setup.ini", ctx.scriptPath);
    EXPECT_FALSE(ctx.licenceAccepted);
    EXPECT_EQ(0x0409u, ctx.language);
    EXPECT_EQ(501u, ctx.os.major * 100 + ctx.os.minor);
    EXPECT_EQ(2u, ctx.os.platformId);
    EXPECT_EQ("6.0.2900.2180", ctx.browserVersion);
    EXPECT_EQ("", ctx.productName);
    EXPECT_EQ("Setup", ctx.caption);
    EXPECT_EQ("C:\\Program Files\\", ctx.installFolder);
    EXPECT_EQ(ErrorFatal, ctx.errorCode);
    EXPECT_FALSE(ctx.abortFlag);
}

TEST(SetupContext, JapaneseSystemsGetJapaneseTexts) {
    FakePlatform p;
    p.locale = 0x0411;
    p.SetScript("[Setup]\nName=Quillbox\n");
    SetupContext ctx;
    FillSetupContext(ctx, p);
    EXPECT_EQ("Quillbox セットアップ", ctx.caption);
    // Any other locale, Chinese included, is English.
    p.locale = 0x0804;
    FillSetupContext(ctx, p);
    EXPECT_EQ("Quillbox Setup", ctx.caption);
}

TEST(SetupContext, InstallFolderFromTheScript) {
    FakePlatform p;
    SetupContext ctx;
    p.SetScript("[Setup]\nName=Quillbox\n");
    FillSetupContext(ctx, p);
    EXPECT_EQ("C:\\Program Files\\Quillbox", ctx.installFolder);
    p.SetScript("[Setup]\nName=Quillbox\n[Root]\nName=%windrive%:\\Tools\\Q\n");
    FillSetupContext(ctx, p);
    EXPECT_EQ("C:\\Tools\\Q", ctx.installFolder);
    // [Root] Name is expanded with an empty root: %root% is nothing.
    p.SetScript("[Root]\nName=%root%\\Q\n");
    FillSetupContext(ctx, p);
    EXPECT_EQ("\\Q", ctx.installFolder);
}

TEST(SetupContext, ProgramInADoubleByteFolder) {
    FakePlatform p;
    // "C:\TEMP\表" with "表" ending in 0x5C; the program's own name too.
    p.modulePath = "C:\\TEMP\\\x95\x5C\\\x95\x5C.exe";
    SetupContext ctx;
    FillSetupContext(ctx, p);
    EXPECT_EQ("C:\\TEMP\\\x95\x5C", ctx.setupFolder);
    EXPECT_EQ("C:\\TEMP\\\x95\x5C\\setup.ini", ctx.scriptPath);
}

} // namespace
} // namespace setup
