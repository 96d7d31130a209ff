// Each .eml file is dated as its message: the first Date field of its header
// block, else the date of the mbox separator line it follows, else the time
// the system gave it. Read back from the real files.
#include <sys/stat.h>

#include <ctime>

#include "ConvertTest.h"

namespace corvex::test {
namespace {

// 2003-01-06 00:15:00 UTC.
constexpr int64_t kMonday = 1041812100;

int64_t ModifiedTime(const std::string &path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return -1;
    return int64_t(st.st_mtime);
}

class Dated : public Convert {
protected:
    // The modification time of each output file, in name order.
    std::vector<int64_t> Times() {
        std::vector<int64_t> times;
        for (const std::string &name : List(dir / "out"))
            times.push_back(ModifiedTime(dir / "out" + "/" + name));
        return times;
    }
};
CORVEX_CACHE_SIZES(Dated);

TEST_P(Dated, TheFirstDateFieldOfTheHeaderBlock) {
    const int64_t now = int64_t(std::time(nullptr));
    const std::string text =
        "From a@b Sat Jan  1 00:00:00 2000\n"
        "Subject: 1\nDate: Mon, 06 Jan 2003 09:15:00 +0900\n\nbody\n\n"       // the field, in UTC
        "From a@b Sat Jan  1 00:00:00 2000\n"
        "Subject: 2\ndate :\n Mon, 06 Jan 2003\n\t00:15:00 (folded) GMT\nX: y\n\nbody\n\n"
        "From a@b Sat Jan  1 00:00:00 2000\n"
        "Subject: 3\nDate: Mon, 31 Feb 2003 00:15:00 +0000\nDate: Mon, 06 Jan 2003 00:15:00 +0000\n\n"
        "body\n\n" // the first Date cannot be read: the separator's date, not the second
        "From a@b Sat Jan  1 00:00:00 2000\n"
        "Subject: 4\n\nDate: Mon, 06 Jan 2003 00:15:00 +0000\n\n"              // in the body
        "From - Mon Jan  6 09:15:00 2003 +0900\nSubject: 5\n\n\n"               // zone after the year
        "From 1234567890@xxx Mon Jan 06 00:15:00 +0000 2003\nSubject: 6\n\n\n"  // zone before it
        "From ???@??? Mon Jan 06 00:15:00 2003\nSubject: 7\n\n"
        "From nobody\nSubject: 8\nDate: soon\n\n";                               // nothing to read
    int32_t rc = -1;
    ASSERT_EQ(Split(text, KindMbox, rc), 8);
    EXPECT_EQ(rc, 0);
    const std::vector<int64_t> times = Times();
    ASSERT_EQ(times.size(), 8u);
    EXPECT_EQ(times[0], kMonday);
    EXPECT_EQ(times[1], kMonday);
    EXPECT_EQ(times[2], 946684800);
    EXPECT_EQ(times[3], 946684800);
    EXPECT_EQ(times[4], kMonday);
    EXPECT_EQ(times[5], kMonday);
    EXPECT_EQ(times[6], kMonday);
    EXPECT_GE(times[7], now - 5); // as the system set it
}

TEST_P(Dated, MessagesFoundByTheirHeaderRuns) {
    // General text has no separators: the Date field or the system's time.
    const int64_t now = int64_t(std::time(nullptr));
    const std::string fields = "Return-Path: <a@b>\r\nFrom: a@b\r\nTo: c@d\r\nSubject: s\r\n"
                               "Message-Id: <1@b>\r\nMIME-Version: 1.0\r\n";
    const std::string one = fields + "Date: Mon, 6 Jan 03 00:15 UT\r\n\r\nbody\r\n";
    const std::string two = fields + "\r\nbody\r\n";
    int32_t rc;
    ASSERT_EQ(Split(one + two, KindGeneral, rc), 2);
    const std::vector<int64_t> times = Times();
    ASSERT_EQ(times.size(), 2u);
    EXPECT_EQ(times[0], kMonday);
    EXPECT_GE(times[1], now - 5);
}

TEST_P(Dated, ATimeThatCannotBeSetIsNoFailure) {
    host.failSetTime = true;
    int32_t rc = -1;
    EXPECT_EQ(Split("From a@b Sat Jan  1 00:00:00 2000\nSubject: 1\n\nbody\n", KindMbox, rc), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(host.timesSet, 1);
    EXPECT_EQ(Out("00001.eml"), "Subject: 1\n\nbody\n");
}

} // namespace
} // namespace corvex::test
