// Paths, folders and totals, with Windows-style paths mapped onto a test
// folder so that drive and network rules run here as they do on Windows.
#include "ExtractFromPath.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <clocale>

#include "CoreTest.h"
#include "OutputFolder.h"
#include "PathText.h"

namespace corvex::test {
namespace {

const std::string kMail = Fields(8) + "\r\nbody\r\n";

class Paths : public ::testing::Test {
protected:
    Paths() : host(dir.path()) {
        MakeDirs(dir / "C");
        MakeDirs(dir / "UNC/srv/share");
    }
    int32_t Run(const char *in, const char *out, int32_t kind = KindMbox,
                CorvexByteTotal *total = nullptr, ProgressCallback progress = nullptr) {
        CallContext ctx(host);
        rc = -1;
        return ExtractFromPath(ctx, in, out, kind, total, &rc, progress);
    }
    std::string At(const std::string &windowsPath) { return host.Map(windowsPath.c_str()); }

    TempDir dir;
    TestHost host;
    int32_t rc = -1;
};

TEST_F(Paths, OnlyAbsoluteDriveAndNetworkPathsAreAccepted) {
    WriteFile(At("C:\\m"), kMail);
    for (const char *bad : {"m", "", "C:", "C:m", "\\m", "\x82\xa0:\\m"}) {
        EXPECT_EQ(Run(bad, nullptr), 0) << bad;
        EXPECT_EQ(rc, ResultInputFileNotFound) << bad;
    }
    EXPECT_EQ(Run(nullptr, nullptr), 0);
    EXPECT_EQ(rc, ResultInputFileNotFound);
    // The output folder is checked before the input is looked up.
    EXPECT_EQ(Run("C:\\missing", "out"), 0);
    EXPECT_EQ(rc, ResultOutputFolderNotCreated);
    EXPECT_EQ(Run("C:\\missing", nullptr), 0);
    EXPECT_EQ(rc, ResultInputPathNotFound);
    EXPECT_EQ(Run("C:\\m", nullptr), 1);
    EXPECT_EQ(rc, 0);
}

TEST_F(Paths, AFolderMayBeWrittenWithSeparatorsAfterItsName) {
    MakeDirs(At("C:\\box"));
    WriteFile(At("C:\\box\\m"), kMail);
    for (const char *path : {"C:\\box\\", "C:\\box\\\\", "C:\\box/", "C:\\box\\/"}) {
        SCOPED_TRACE(path);
        CorvexByteTotal total{9, 9};
        EXPECT_EQ(Run(path, nullptr, KindGeneral, &total), 1);
        EXPECT_EQ(rc, 0);
        EXPECT_EQ(total.low, kMail.size());
    }
    // A file written so is refused as before; a root stays a root.
    EXPECT_EQ(Run("C:\\box\\m\\", nullptr), 0);
    EXPECT_EQ(rc, ResultInputPathNotFound);
    EXPECT_EQ(Run("C:\\", nullptr), 0);
    EXPECT_EQ(rc, ResultInputPathNotFound);
    EXPECT_EQ(Run("C:\\\\", nullptr), 0);
    EXPECT_EQ(rc, ResultInputPathNotFound);
    EXPECT_EQ(Run("C:\\box", nullptr), 1);
    // A folder whose name ends in a double-byte character with the second
    // byte of a backslash: that byte is no separator, the one after it is.
    MakeDirs(At("C:\\\x95\x5c"));
    WriteFile(At("C:\\\x95\x5c\\m"), kMail);
    EXPECT_EQ(Run("C:\\\x95\x5c\\", nullptr), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Run("C:\\\x95\x5c", nullptr), 1);
}

TEST_F(Paths, DriveOutputPathsAreCreatedLevelByLevel) {
    WriteFile(At("C:\\m"), kMail);
    EXPECT_EQ(Run("C:\\m", "C:\\a\\b\\c"), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(host.foldersCreated, (std::vector<std::string>{"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}));
    EXPECT_EQ(ReadFile(At("C:\\a\\b\\c\\00001.eml")), kMail);
}

TEST_F(Paths, NetworkOutputPathsCreateOnlyTheLastFolder) {
    WriteFile(At("C:\\m"), kMail);
    EXPECT_EQ(Run("C:\\m", "\\\\srv\\share\\out"), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ReadFile(At("\\\\srv\\share\\out\\00001.eml")), kMail);
    EXPECT_EQ(Run("C:\\m", "\\\\srv\\share\\up\\out"), 1);
    EXPECT_EQ(rc, ResultOutputNameTaken);
    EXPECT_FALSE(Exists(At("\\\\srv\\share\\up")));
    // Network input paths are read like any other.
    WriteFile(At("\\\\srv\\share\\m"), kMail);
    EXPECT_EQ(Run("\\\\srv\\share\\m", nullptr), 1);
}

TEST_F(Paths, ABackslashInsideADoubleByteCharacterIsNoSeparator) {
    // 0x95 0x5C is one character ending in the byte of a backslash.
    const std::string folder = "C:\\\x95\x5c";
    WriteFile(At("C:\\m"), kMail);
    EXPECT_EQ(Run("C:\\m", folder.c_str()), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(host.foldersCreated, std::vector<std::string>{folder});
    EXPECT_EQ(ReadFile(At(folder + "\\00001.eml")), kMail);
}

TEST_F(Paths, PathsThatDoNotFitAreRefusedBeforeAnythingHappens) {
    WriteFile(At("C:\\m"), kMail);
    std::string longOut = "C:\\" + std::string(246, 'o'); // 249 bytes: just fits
    EXPECT_EQ(Run("C:\\m", longOut.c_str()), 0 + 1);
    EXPECT_EQ(rc, 0);
    longOut += "o";
    EXPECT_EQ(Run("C:\\m", longOut.c_str()), 0);
    EXPECT_EQ(rc, ResultOutputFolderNotCreated);
    EXPECT_EQ(host.createNewOutputs, 1);
    std::string longIn = "C:\\" + std::string(257, 'i');
    EXPECT_EQ(Run(longIn.c_str(), nullptr), 0);
    EXPECT_EQ(rc, ResultInputFileNotFound);

    // A folder entry whose path would not fit stops the walk with 1001.
    std::string folder = "C:\\" + std::string(200, 'f');
    MakeDirs(At(folder));
    WriteFile(At(folder + "\\" + std::string(60, 'n')), kMail);
    CorvexByteTotal total{9, 9};
    EXPECT_EQ(Run(folder.c_str(), nullptr, KindMbox, &total), 0);
    EXPECT_EQ(rc, ResultInputFileNotFound);
    EXPECT_EQ(total.low, 0u);
}

std::vector<std::array<uint32_t, 4>> g_calls;
int32_t CORVEX_CALL Note(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    g_calls.push_back({a, b, c, d});
    return 0;
}

TEST_F(Paths, AFolderIsReadOneLevelDeepWithTotalsAndProgressPerFile) {
    MakeDirs(At("C:\\box\\sub"));
    WriteFile(At("C:\\box\\a"), kMail + kMail);
    WriteFile(At("C:\\box\\b"), "no mail here\r\n");
    WriteFile(At("C:\\box\\c"), kMail);
    WriteFile(At("C:\\box\\sub\\deep"), kMail + kMail + kMail);
    CorvexByteTotal total{1, 1};
    g_calls.clear();
    EXPECT_EQ(Run("C:\\box", nullptr, KindGeneral, &total, Note), 3);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(total.low, uint32_t(3 * kMail.size() + 14));
    EXPECT_EQ(total.high, 0u);
    ASSERT_EQ(g_calls.size(), 3u);
    int firsts = 0;
    for (auto &c : g_calls) {
        EXPECT_TRUE(c[0] == 2 * kMail.size() || c[0] == kMail.size());
        EXPECT_EQ(c[1], 0u);
        firsts += c[2] == 0;
    }
    EXPECT_EQ(firsts, 2); // each file's first message is found from offset 0

    MakeDirs(At("C:\\empty\\only"));
    EXPECT_EQ(Run("C:\\empty", nullptr, KindGeneral, &total), 0);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(total.low, 0u);
}

TEST_F(Paths, ALockedFileEndsTheWalkAndEarlierOutputStays) {
    MakeDirs(At("C:\\box"));
    for (const char *name : {"a", "b", "c"})
        WriteFile(At(std::string("C:\\box\\") + name), kMail);
    // Which file comes second is the file system's business; lock that one.
    std::vector<std::string> order;
    {
        CallContext ctx(host);
        std::unique_ptr<FolderEnumeration> e(host.EnumerateFolder("C:\\box\\*.*"));
        FolderEntry fe;
        while (e->Next(fe))
            if (!fe.folder)
                order.push_back(fe.name);
    }
    ASSERT_EQ(order.size(), 3u);
    int fd = ::open(At("C:\\box\\" + order[1]).c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    CorvexByteTotal total;
    EXPECT_EQ(Run("C:\\box", "C:\\out", KindMbox, &total), 1);
    EXPECT_EQ(rc, ResultInputFileNotFound);
    EXPECT_EQ(total.low, uint32_t(2 * kMail.size()));
    EXPECT_EQ(List(At("C:\\out")), std::vector<std::string>{"00001.eml"});
    ::close(fd);
}

TEST_F(Paths, OutputsWrittenIntoTheInputFolderAreNotReadAgain) {
    MakeDirs(At("C:\\box"));
    for (int i = 0; i < 20; ++i)
        WriteFile(At("C:\\box\\m" + std::to_string(i)), kMail);
    WriteFile(At("C:\\box\\00050.eml"), kMail); // was there before: it is input
    EXPECT_EQ(Run("C:\\box", "C:\\box\\", KindMbox), 21);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(List(At("C:\\box")).size(), 21u + 21u);
}

TEST_F(Paths, FilesOf4GiBOrMoreAreReadWithTheirWholeSize) {
    MakeDirs(At("C:\\big"));
    int fd = ::open(At("C:\\big\\huge").c_str(), O_WRONLY | O_CREAT, 0666);
    ASSERT_GE(fd, 0);
    if (::ftruncate(fd, off_t(1) << 32) != 0) {
        ::close(fd);
        GTEST_SKIP() << "no sparse files here";
    }
    ::close(fd);
    // Sparse zeros: read to the end (a NUL is data) without a message in
    // them, and the size kept in both words of the total.
    CorvexByteTotal total{5, 5};
    EXPECT_EQ(Run("C:\\big\\huge", "C:\\o", KindGeneral, &total), 0);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(total.low, 0u);
    EXPECT_EQ(total.high, 1u);
    WriteFile(At("C:\\big\\small"), "From: a\r\n\r\nhello\r\n");
    EXPECT_EQ(Run("C:\\big", "C:\\o", KindGeneral, &total), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(total.low, 18u);
    EXPECT_EQ(total.high, 1u);
}

TEST(PathText, TrailBytesAndSeparators) {
    TempDir dir;
    TestHost windows(dir.path());
    CallContext ctx(windows);
    EXPECT_FALSE(IsTrailByteAt(ctx, "a\x95\x5c", 1));
    EXPECT_TRUE(IsTrailByteAt(ctx, "a\x95\x5c", 2));
    char buf[8] = "C:\\\x95\x5c";
    EXPECT_TRUE(EnsureTrailingSeparator(ctx, buf, sizeof buf));
    EXPECT_STREQ(buf, "C:\\\x95\x5c\\");
    EXPECT_TRUE(EnsureTrailingSeparator(ctx, buf, sizeof buf));
    EXPECT_STREQ(buf, "C:\\\x95\x5c\\");
    char full[5] = "C:\\a";
    EXPECT_FALSE(EnsureTrailingSeparator(ctx, full, sizeof full));
    TestHost posix;
    CallContext p(posix);
    EXPECT_TRUE(IsAcceptablePath(p, "/x"));
    EXPECT_FALSE(IsAcceptablePath(p, "C:\\x"));
    EXPECT_FALSE(IsAcceptablePath(p, "x/y"));
}

// New output folders named in the locale's encoding, on the real host: in
// UTF-8 no byte of a character is taken for a lead byte that hides the "/"
// after it; under a Shift-JIS locale the lead bytes are Shift-JIS ones.
TEST(Locale, NewFoldersAreMadeInTheLocalesEncoding) {
    struct Restore {
        std::string was = setlocale(LC_CTYPE, nullptr);
        ~Restore() { setlocale(LC_CTYPE, was.c_str()); }
    } restore;
    TempDir dir;
    WriteFile(dir / "m", kMail);
    TestHost posix;
    auto make = [&](const std::string &folder) {
        CallContext ctx(posix);
        int32_t rc = -1;
        const int32_t n = ExtractFromPath(ctx, (dir / "m").c_str(), (dir / folder).c_str(), KindMbox,
                                          nullptr, &rc, nullptr);
        EXPECT_EQ(rc, 0) << folder;
        EXPECT_EQ(n, 1) << folder;
        EXPECT_EQ(ReadFile(dir / folder + "/00001.eml"), kMail) << folder;
    };
    ASSERT_NE(setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    EXPECT_FALSE(PlatformHost().IsLeadByte(0xE3));
    for (const char *folder : {"出力", "あ/保存", "表", "能", "予/sub/out"})
        make(folder);
    if (!setlocale(LC_CTYPE, "ja_JP.SJIS"))
        GTEST_SKIP() << "no Shift-JIS locale here (locale-gen ja_JP.SJIS)";
    EXPECT_TRUE(PlatformHost().IsLeadByte(0x95));
    EXPECT_FALSE(PlatformHost().IsLeadByte('/'));
    for (const char *folder : {"\x8f\x6f\x97\xcd", "\x95\x5c/\x94\x5c"}) // 出力, 表/能
        make(folder);
}

} // namespace
} // namespace corvex::test
