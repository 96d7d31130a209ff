// The shared library's five exports, called as a front end calls them.
#include <gtest/gtest.h>

#include "Corvex.h"
#include "CoreTest.h"

namespace corvex::test {
namespace {

int g_reports = 0;
int32_t CORVEX_CALL Count(uint32_t, uint32_t, uint32_t, uint32_t) { return ++g_reports; }

TEST(Exports, TheFirstFourOnOneFile) {
    TempDir dir;
    const std::string mail = Fields(8) + "\r\nbody\r\n";
    WriteFile(dir / "m", "From: a\r\n\r\nfirst\r\n" + mail + mail);
    const std::string in = dir / "m", out = dir / "out";
    int32_t rc = -1;
    EXPECT_EQ(InetMailMessageCountInFile(in.c_str(), &rc), 3);
    EXPECT_EQ(rc, 0);

    CorvexByteTotal total{7, 7};
    g_reports = 0;
    EXPECT_EQ(InetMailMessageCountInFileEx(in.c_str(), &total, &rc, Count), 3);
    EXPECT_EQ(total.low, uint32_t(18 + 2 * mail.size()));
    EXPECT_EQ(total.high, 0u);
    EXPECT_EQ(g_reports, 3);

    // Read as mbox, the one-field first run is no message.
    EXPECT_EQ(Kelpo(in.c_str(), out.c_str(), KindMbox, &rc), 2);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(List(out), (std::vector<std::string>{"00001.eml", "00002.eml"}));
    EXPECT_EQ(ReadFile(out + "/00002.eml"), mail);

    g_reports = 0;
    EXPECT_EQ(KelpoEx(in.c_str(), out.c_str(), KindGeneral, &total, &rc, Count), 3);
    EXPECT_EQ(g_reports, 3);
    EXPECT_EQ(List(out).size(), 5u);
    EXPECT_EQ(ReadFile(out + "/00003.eml"), "From: a\r\n\r\nfirst\r\n");

    EXPECT_EQ(KelpoEx("relative", nullptr, KindGeneral, nullptr, &rc, nullptr), 0);
    EXPECT_EQ(rc, ResultInputFileNotFound);
    EXPECT_EQ(Kelpo(in.c_str(), "out", KindGeneral, &rc), 0);
    EXPECT_EQ(rc, ResultOutputFolderNotCreated);
    EXPECT_EQ(InetMailMessageCountInFile((dir / "none").c_str(), &rc), 0);
    EXPECT_EQ(rc, ResultInputPathNotFound);
    EXPECT_EQ(InetMailMessageCountInFile(nullptr, nullptr), 0);
}

TEST(Exports, TheCountOfAKindIsWhatItsExtractionWrites) {
    TempDir dir;
    std::string mbox;
    for (int i = 1; i <= 6; ++i)
        mbox += "From a@b Sat Jan  1 00:00:00 2000\nSubject: " + std::to_string(i) + "\n\nbody\n\n";
    WriteFile(dir / "box", mbox);
    const std::string in = dir / "box";
    int32_t rc = -1;
    CorvexByteTotal total{7, 7};
    for (int32_t kind : {int32_t(KindGeneral), int32_t(KindNifty), int32_t(KindMbox), 7}) {
        SCOPED_TRACE(kind);
        const std::string out = dir / ("out" + std::to_string(kind));
        g_reports = 0;
        const int32_t counted = InetMailMessageCountInFileOfKind(in.c_str(), kind, 0, &total, &rc, Count);
        EXPECT_EQ(rc, 0);
        EXPECT_EQ(total.low, uint32_t(mbox.size()));
        EXPECT_EQ(g_reports, counted);
        EXPECT_EQ(KelpoEx(in.c_str(), out.c_str(), kind, nullptr, &rc, nullptr), counted);
        EXPECT_EQ(List(out).size(), size_t(counted));
    }
    EXPECT_EQ(InetMailMessageCountInFileOfKind(in.c_str(), KindMbox, 0, nullptr, &rc, nullptr), 6);
    // The general count of the same file stays what the first count export says.
    EXPECT_EQ(InetMailMessageCountInFileOfKind(in.c_str(), KindGeneral, 0, nullptr, &rc, nullptr),
              InetMailMessageCountInFile(in.c_str(), &rc));

    // A bit that names no option refuses the call, in both exports that take flags.
    for (uint32_t flags : {2u, 3u, 0x80000000u}) {
        total = {7, 7};
        rc = -1;
        EXPECT_EQ(InetMailMessageCountInFileOfKind(in.c_str(), KindMbox, flags, &total, &rc, Count), 0);
        EXPECT_EQ(rc, ResultUnknownError);
        EXPECT_EQ(total.low, 0u);
        EXPECT_EQ(total.high, 0u);
        rc = -1;
        EXPECT_EQ(KelpoExWithFlags(in.c_str(), (dir / "refused").c_str(), KindMbox, flags, &total, &rc, Count), 0);
        EXPECT_EQ(rc, ResultUnknownError);
        EXPECT_FALSE(Exists(dir / "refused"));
    }
    EXPECT_EQ(InetMailMessageCountInFileOfKind("relative", KindMbox, 0, nullptr, &rc, nullptr), 0);
    EXPECT_EQ(rc, ResultInputFileNotFound);
    EXPECT_EQ(InetMailMessageCountInFileOfKind((dir / "none").c_str(), KindNifty, 0, nullptr, &rc, nullptr), 0);
    EXPECT_EQ(rc, ResultInputPathNotFound);
    EXPECT_EQ(InetMailMessageCountInFileOfKind(in.c_str(), KindMbox, 0, nullptr, nullptr, nullptr), 6);
    EXPECT_EQ(InetMailMessageCountInFileOfKind(in.c_str(), KindMbox, 4, nullptr, nullptr, nullptr), 0);
}

TEST(Exports, TheTreeFlagReadsTheWholeTree) {
    TempDir dir;
    const std::string box = "From a@b Sat Jan  1 00:00:00 2000\nSubject: 1\n\nbody\n\n";
    MakeDirs(dir / "in/Box.sbd");
    WriteFile(dir / "in/Box", box + box);
    WriteFile(dir / "in/Box.sbd/Sub", box);
    const std::string in = dir / "in";
    int32_t rc = -1;
    CorvexByteTotal total{};
    EXPECT_EQ(InetMailMessageCountInFileOfKind(in.c_str(), KindMbox, CorvexFlagTree, &total, &rc, nullptr), 3);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(total.low, 3 * box.size());
    EXPECT_EQ(KelpoExWithFlags(in.c_str(), (dir / "out").c_str(), KindMbox, CorvexFlagTree, &total, &rc, nullptr), 3);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(List(dir / "out/Box"), (std::vector<std::string>{"00001.eml", "00002.eml", "Sub"}));
    EXPECT_EQ(List(dir / "out/Box/Sub"), (std::vector<std::string>{"00001.eml"}));
    // Without it, the folder's own files only.
    EXPECT_EQ(KelpoExWithFlags(in.c_str(), (dir / "flat").c_str(), KindMbox, 0, &total, &rc, nullptr), 2);
    EXPECT_EQ(List(dir / "flat"), (std::vector<std::string>{"00001.eml", "00002.eml"}));
}

} // namespace
} // namespace corvex::test
