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

TEST_P(Scanner, ANulByteIsData) {
    // No line ends at a NUL, and no run begins at one.
    using namespace std::string_literals;
    Expect(Find("hello\r\n\0To: x\r\n\r\n"s, KindGeneral), -1, 0);
    Expect(Find("hello\r\n\0\r\nTo: x\r\n\r\n"s, KindGeneral), 10, 10);
    // A NUL inside a field's line is part of it; the run goes on to the end.
    Expect(Find("To: x\0\r\n"s, KindGeneral), 0, 9);
    // After a marked field a line that begins with a NUL continues it.
    std::string run = "xx\r\n" + Fields(6) + std::string("\0\r\n", 3) + Fields(2) + "\r\nbody\r\n";
    Expect(Find(run, KindMbox, 4), 0, Fields(6).size() + 3 + Fields(2).size() + 2 + 1);
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
    // A line that only begins with the boundary starts no skip.
    std::string spaced = "xx\r\n--b  \r\n" + forwarded;
    std::strcpy(boundary, "--b");
    r = Find(spaced, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, int64_t(spaced.find(forwarded) - 4));
}

TEST_P(Scanner, NoClosingLineNoSkip) {
    // A body cut short: its delimiter has no closing line, so nothing is
    // stepped over and the message after it is found.
    const std::string next = Fields(8) + "\r\nnext body\r\n";
    const std::string open = "xx\r\n--b\r\nContent-Type: text/plain\r\n\r\npart\r\n" + next;
    char boundary[1024] = "--b";
    ScanResult r = Find(open, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, int64_t(open.find(next) - 4));
    // A closing line that comes only after the boundary is declared again
    // belongs to that later message, not to this body.
    const std::string again = "Return-Path: <a>\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n" +
                              Fields(8) + "\r\n--b\r\nx\r\n--b--\r\n";
    const std::string text = "xx\r\n--b\r\npart\r\n" + again;
    std::strcpy(boundary, "--b");
    r = Find(text, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, int64_t(text.find(again) - 4));
    // The end of the file before the closing line: no skip either.
    const std::string cut = "xx\r\n--b\r\n" + next + "--b-";
    std::strcpy(boundary, "--b");
    r = Find(cut, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, int64_t(cut.find(next) - 4));
    // A NUL is no end: the closing line after one closes the body.
    const std::string nul = "xx\r\n--b\r\n" + next + std::string(1, '\0') + "\r\n--b--\r\n" + next;
    std::strcpy(boundary, "--b");
    r = Find(nul, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, int64_t(nul.rfind(next) - 4));
}

TEST_P(Scanner, ADelimiterLineInsideARunStartsNoSkip) {
    // Four fields, a delimiter line of the known boundary, more fields: the
    // run goes on through the delimiter line (a continuation of "From:") and
    // is not stepped over to the closing line.
    const std::string text = "xx\r\n" + Fields(4) + "--b\r\n" + "To: c\r\n\r\n--b--\r\n";
    char boundary[1024] = "--b";
    host.settingMissing = false;
    host.setting = "5";
    ScanResult r = Find(text, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, 0);
    EXPECT_EQ(r.headerLength, Fields(4).size() + 5 + 9 + 1);
}

TEST_P(Scanner, TheBoundaryGoesOutWithTheAcceptedRunOnly) {
    // The run that is accepted declares its boundary; a short run before it
    // (a part header inside a body) drops what it declared.
    const std::string part = "Content-Type: multipart/alternative; boundary=\"inner\"\r\n\r\ntext\r\n";
    const std::string text = "xx\r\n" + part + "Return-Path: <a>\r\n" +
                             "Content-Type: multipart/mixed;\r\n\tboundary=\"outer\"\r\n" +
                             Fields(8) + "\r\nbody\r\n";
    char boundary[1024] = "--old";
    ScanResult r = Find(text, KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, int64_t(text.find("Return-Path") - 4));
    EXPECT_STREQ(boundary, "--outer");
    // An accepted run that declares none empties the buffer.
    std::strcpy(boundary, "--old");
    r = Find("xx\r\n" + Fields(8) + "\r\nbody\r\n", KindMbox, 4, boundary, sizeof boundary);
    EXPECT_EQ(r.offset, 0);
    EXPECT_STREQ(boundary, "");
}

TEST_P(Scanner, TheBoundaryIsCapturedDuringTheSearch) {
    const std::string text = "Return-Path: <a>\r\nContent-Type: multipart/mixed; boundary=\"q\"\r\n\r\n";
    char boundary[1024] = "";
    Find(text, KindGeneral, 0, boundary, sizeof boundary);
    EXPECT_STREQ(boundary, "--q");
}

TEST_P(Scanner, AFoldedLineAfterAnUnmarkedFieldStaysInTheHeader) {
    // "X-Mailer:" carries no mark, yet its folded second line is part of the
    // header: the run goes on to the empty line.
    const std::string text = "xx\r\nReturn-Path: <a>\r\nX-Mailer: a\r\n  b\r\n" + Fields(7) + "\r\nbody\r\n";
    ScanResult r = Find(text, KindMbox, 4);
    EXPECT_EQ(r.offset, 0);
    EXPECT_EQ(r.headerLength, text.find("body") - 4 + 1);
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
