#include "FindMessageStart.h"

#include <cstring>

#include "Corvex.h"
#include "CoreTest.h"

namespace corvex::test {
namespace {

using Scanner = CoreTest;
CORVEX_CACHE_SIZES(Scanner);

void Expect(const ScanResult &r, int64_t offset, uint64_t headerLength) {
    EXPECT_EQ(r.offset, offset);
    EXPECT_EQ(r.headerLength, headerLength);
}

TEST_P(Scanner, FirstMessageOfAGeneralFileNeedsOneField) {
    Expect(Find("", KindGeneral), -1, 0);
    Expect(Find("From: a\r\n\r\nbody", KindGeneral), 0, 12);
    Expect(Find("From: a\r\n\r\nbody", KindMbox), -1, 0);
    Expect(Find("From: a\r\n\r\nbody", KindNifty), -1, 0);
    // An unmarked field does not take the empty line after it into the run.
    Expect(Find("X-Mailer: a\r\n\r\n", KindGeneral), 0, 14);
    Expect(Find("hello\r\nTo: x\r\n\r\n", KindGeneral), 7, 10);
    // With LF line ends the empty line is part of the terminator (LF LF).
    Expect(Find("To: a\n\nbody\n", KindGeneral), 0, 8);
}

TEST_P(Scanner, DefaultThresholdAfterTheStart) {
    std::string pre = "xx\r\n";
    Expect(Find(pre + Fields(7) + "\r\nbody\r\n", KindGeneral, 4), -1, 0);
    ScanResult r = Find(pre + Fields(8) + "\r\nbody\r\n", KindGeneral, 4);
    EXPECT_EQ(r.offset, 0);
    // Seven fields then a body line: the search goes on after the short run.
    std::string text = pre + Fields(7) + "\r\nbody\r\n" + Fields(8) + "\r\n";
    r = Find(text, KindMbox, 4);
    EXPECT_EQ(r.offset, int64_t(Fields(7).size() + 2 + 6));
}

TEST_P(Scanner, ThresholdFromTheSetting) {
    std::string text = "xx\r\n" + Fields(4) + "\r\nbody\r\n" + Fields(12) + "\r\n";
    auto offsetWith = [&](const char *setting) {
        host.settingMissing = setting == nullptr;
        host.setting = setting ? setting : "";
        CallContext fresh(host, GetParam());
        Reader &r = Open(text);
        return FindMessageStart(fresh, r, text.size() + 1, 4, KindMbox, true, {}).offset;
    };
    const int64_t second = int64_t(Fields(4).size() + 2 + 6);
    EXPECT_EQ(offsetWith("4"), 0);
    EXPECT_EQ(offsetWith(" +4x"), 0);
    EXPECT_EQ(offsetWith("12"), second);
    EXPECT_EQ(offsetWith("3"), second);   // out of range: 8
    EXPECT_EQ(offsetWith("13"), second);
    EXPECT_EQ(offsetWith("abc"), second);
    EXPECT_EQ(offsetWith(nullptr), second);
    EXPECT_EQ(offsetWith("\x0c"), second); // a DWORD of 12: its first byte is no digit
    EXPECT_EQ(offsetWith("99999999999"), second);
    EXPECT_EQ(ThresholdFromSetting("-4"), 8);
    EXPECT_EQ(ParseDecimal("99999999999"), 2147483647);
    EXPECT_EQ(ParseDecimal("\t -12z"), -12);
}

TEST_P(Scanner, ANulByteEndsTheData) {
    Expect(Find("hello\r\n\0To: x\r\n\r\n", KindGeneral), -1, 0);
    // A run in progress is still evaluated.
    Expect(Find("To: x\0\r\n", KindGeneral), 0, 6);
    // A run cut short by the end of the data reaches to it, plus one.
    std::string eight = "xx\r\n" + Fields(8);
    Expect(Find(eight, KindMbox, 4), 0, Fields(8).size() + 1);
}

TEST_P(Scanner, TheGeneralExampleFileTwoMessages) {
    std::string text = "From: a\r\nTo: b\r\nSubject: c\r\n\r\nhello\r\n\r\n" + Fields(8) + "\r\nbody\r\n";
    Expect(Find(text, KindGeneral, 0), 0, 31);
    ScanResult second = Find(text, KindGeneral, 31);
    EXPECT_EQ(second.offset, 8);
}

TEST_P(Scanner, MultipartBodiesAreSteppedOver) {
    const std::string forwarded = Fields(10) + "\r\nforwarded body\r\n";
    const std::string text = "xx\r\n--b\r\n" + forwarded + "--b\r\n" + forwarded + "--b--\r\n" +
                             "after\r\n" + Fields(8) + "\r\n";
    char boundary[1024] = "--b";
    ScanResult r = Find(text, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, int64_t(text.find("after") + 7 - 4));
    // Without the boundary the forwarded header block is taken for a message.
    char none[1024] = "";
    r = Find(text, KindMbox, 4, none, sizeof none);
    EXPECT_EQ(r.offset, int64_t(text.find(forwarded) - 4));
    // No closing line: the skip runs to the end of the data.
    std::string open = "xx\r\n--b\r\n" + forwarded;
    Expect(Find(open, KindMbox, 4, boundary, sizeof boundary), -1, 0);
    // A line that only begins with the boundary starts no skip.
    std::string spaced = "xx\r\n--b  \r\n" + forwarded;
    r = Find(spaced, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, int64_t(spaced.find(forwarded) - 4));
}

TEST_P(Scanner, ARunGoesOnAcrossASkip) {
    // Four fields, the part delimiter of a known boundary, four more fields:
    // the skip leaves the run as it was and it goes on after the closing line.
    const std::string text = "xx\r\n" + Fields(4) + "--b\r\nskipped\r\n--b--\r\n";
    char boundary[1024] = "--b";
    host.settingMissing = false;
    host.setting = "4";
    ScanResult r = Find(text, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, 0);
}

TEST_P(Scanner, TheBoundaryIsCapturedDuringTheSearchAndKept) {
    const std::string text = "Return-Path: <a>\r\nContent-Type: multipart/mixed; boundary=\"q\"\r\n\r\n";
    char boundary[1024] = "";
    Find(text, KindGeneral, 0, boundary, sizeof boundary);
    EXPECT_STREQ(boundary, "--q");
}

TEST_P(Scanner, MboxSeparatorsAreNeverPartOfARun) {
    const std::string text = "From a@b Mon Jan  1 00:00:00 2024\r\n" + Fields(8) + "\r\nbody\r\n";
    ScanResult r = Find(text, KindMbox, 0);
    EXPECT_EQ(r.offset, int64_t(text.find("Return-Path")));
}

TEST_P(Scanner, AHyphenLineAfterAMarkedFieldEndsTheHeaderBlock) {
    const std::string text = "From: a\r\nDate: d\r\n--------\r\nbody\r\n";
    // The run takes the hyphen line and ends at the body line; the header
    // block is the run plus the body's first byte.
    Expect(Find(text, KindGeneral), 0, text.find("body") + 1);
}

TEST(ScannerLines, TerminatorsAndLineLengths) {
    TempDir dir;
    TestHost host;
    std::string path = dir / "t";
    WriteFile(path, std::string("ab\r\ncd\n\nef\r\rgh\n\r", 17));
    std::unique_ptr<InputFile> in(host.OpenInput(path.c_str()));
    Reader r(*in, 4);
    EXPECT_EQ(MeasureLine(r, 0), 2u);
    EXPECT_EQ(ConsumeTerminator(r, 2), 4u);   // CR LF
    EXPECT_EQ(ConsumeTerminator(r, 6), 8u);   // LF LF is one
    EXPECT_EQ(ConsumeTerminator(r, 10), 11u); // CR, then an empty line
    EXPECT_EQ(ConsumeTerminator(r, 15), 16u); // LF, then CR
    EXPECT_EQ(ConsumeTerminator(r, 0), 0u);
    EXPECT_EQ(MeasureLine(r, 17), 0u);
}

} // namespace
} // namespace corvex::test
