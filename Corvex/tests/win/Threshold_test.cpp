// The threshold setting in the registry, observed through message counts:
// the test file holds runs of plain fields of different lengths, so each
// threshold accepts a different number of them.
#include <gtest/gtest.h>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"
#include "ThresholdSetting.h"

namespace {

// A one-field first message (general text accepts it whatever the setting
// says), then runs of 3, 4, 5, 7, 8, 9, 11, 12 and 13 fields. A threshold T
// gives 1 + the number of runs of at least T fields.
const int kRuns[] = {3, 4, 5, 7, 8, 9, 11, 12, 13};

int ExpectedCount(int threshold) {
    int count = 1;
    for (int run : kRuns)
        count += run >= threshold ? 1 : 0;
    return count;
}

std::string RunsFile() {
    std::string bytes = "From: a\r\n\r\nhello world\r\n";
    for (int run : kRuns)
        bytes += PlainFields(run) + "\r\nhello world\r\n";
    return bytes;
}

class Threshold : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteBytes(input, RunsFile())); }
    int Count() {
        int32_t rc = -1;
        int count = Dll().countInFile(input.c_str(), &rc);
        EXPECT_EQ(0, rc);
        return count;
    }
    ThresholdScope setting;
    TempFolder tmp;
    std::string input = tmp / "runs.txt";
};

TEST_F(Threshold, MissingSettingMeansEight) {
    EXPECT_EQ(6, ExpectedCount(8));
    EXPECT_EQ(ExpectedCount(8), Count());
}

TEST_F(Threshold, DecimalStringsFrom4To12AreTaken) {
    struct Case {
        const char *text;
        int threshold;
    } const cases[] = {
        {"4", 4}, {"12", 12}, {"7", 7}, {" +5", 5}, {"9 fields", 9}, {"000000004", 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(SetThresholdString(c.text));
        EXPECT_EQ(ExpectedCount(c.threshold), Count());
    }
}

TEST_F(Threshold, OtherValuesMeanEight) {
    for (const char *text : {"3", "13", "abc", "-4", "", "4         "}) {
        // "4" and nine spaces does not fit the 10-byte buffer: read as missing.
        SCOPED_TRACE(text);
        ASSERT_TRUE(SetThresholdString(text));
        EXPECT_EQ(ExpectedCount(8), Count());
    }
    // A 32-bit number 12 is read as text, and its first byte is no digit.
    const DWORD twelve = 12;
    ASSERT_TRUE(SetThresholdValue(REG_DWORD, &twelve, sizeof twelve));
    EXPECT_EQ(ExpectedCount(8), Count());
}

TEST_F(Threshold, TheValueTypeIsIgnored) {
    ASSERT_TRUE(SetThresholdValue(REG_BINARY, "5", 2));
    EXPECT_EQ(ExpectedCount(5), Count());
    ASSERT_TRUE(SetThresholdValue(REG_EXPAND_SZ, "11", 3));
    EXPECT_EQ(ExpectedCount(11), Count());
}

TEST_F(Threshold, EveryCallReadsTheSettingAnew) {
    ASSERT_TRUE(SetThresholdString("4"));
    EXPECT_EQ(ExpectedCount(4), Count());
    ASSERT_TRUE(SetThresholdString("12"));
    EXPECT_EQ(ExpectedCount(12), Count());
    ASSERT_TRUE(ClearThreshold());
    EXPECT_EQ(ExpectedCount(8), Count());
}

TEST_F(Threshold, MboxAndNiftyFilesNeedTheThresholdFromTheFirstRun) {
    ASSERT_TRUE(SetThresholdString("4"));
    for (int32_t kind : {KindMbox, KindNifty}) {
        int32_t rc = -1;
        EXPECT_EQ(ExpectedCount(4) - 1,
                  Dll().kelpoEx(input.c_str(), nullptr, kind, nullptr, &rc, nullptr))
            << kind;
        EXPECT_EQ(0, rc);
    }
}

int32_t CORVEX_CALL LowerTheSetting(uint32_t, uint32_t, uint32_t offsetLow, uint32_t) {
    if (offsetLow == 0) {
        SetThresholdString("4");
        // The library's cached setting expires after 100 ms.
        WaitForTheClockToPass(100);
    }
    return 0;
}

TEST_F(Threshold, AChangeDuringALongCallAppliesToLaterSearches) {
    ASSERT_TRUE(SetThresholdString("12"));
    int32_t rc = -1;
    EXPECT_EQ(ExpectedCount(4), Dll().countInFileEx(input.c_str(), nullptr, &rc, LowerTheSetting));
    EXPECT_EQ(0, rc);
}

} // namespace
