// The shared library's four exports, called as a front end calls them.
#include <gtest/gtest.h>

#include "Corvex.h"
#include "CoreTest.h"

namespace corvex::test {
namespace {

int g_reports = 0;
int32_t CORVEX_CALL Count(uint32_t, uint32_t, uint32_t, uint32_t) { return ++g_reports; }

TEST(Exports, AllFourOnOneFile) {
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

} // namespace
} // namespace corvex::test
