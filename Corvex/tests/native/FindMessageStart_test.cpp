// The walk that finds where messages begin: offsets, header blocks, the
// threshold setting, line ends and NUL bytes.
#include "FirstMessage.h"

#include "Corvex.h"
#include "CoreTest.h"

namespace corvex::test {
namespace {

using Scanner = CoreTest;
CORVEX_CACHE_SIZES(Scanner);
using Offsets = std::vector<int64_t>;

void Expect(const ScanResult &r, int64_t offset, uint64_t headerLength) {
    EXPECT_EQ(r.offset, offset);
    EXPECT_EQ(r.headerLength, headerLength);
}

TEST_P(Scanner, FirstMessageOfAGeneralFileNeedsOneField) {
    Expect(Find("", KindGeneral), -1, 0);
    // The header block takes the empty line that ends the run.
    Expect(Find("From: a\r\n\r\nbody", KindGeneral), 0, 11);
    Expect(Find("From: a\r\n\r\nbody", KindMbox), -1, 0);
    Expect(Find("From: a\r\n\r\nbody", KindNifty), -1, 0);
    Expect(Find("X-Mailer: a\r\n\r\n", KindGeneral), 0, 15);
    Expect(Find("hello\r\nTo: x\r\n\r\n", KindGeneral), 7, 9);
    Expect(Find("To: a\n\nbody\n", KindGeneral), 0, 7);
    // A run cut short by the end of the data reaches to it.
    Expect(Find("To: a\r\nCc: b", KindGeneral), 0, 12);
    // Only the search from the file's first byte is the first message's.
    Expect(Find("xx\r\nTo: a\r\n\r\n", KindGeneral, 4), -1, 0);
}

TEST_P(Scanner, DefaultThresholdAfterTheStart) {
    const std::string pre = "xx\r\n";
    Expect(Find(pre + Fields(7) + "\r\nbody\r\n", KindGeneral, 4), -1, 0);
    Expect(Find(pre + Fields(8) + "\r\nbody\r\n", KindGeneral, 4), 4, Fields(8).size() + 2);
    // Seven fields then a body line: the search goes on after the short run.
    const std::string text = pre + Fields(7) + "\r\nbody\r\n" + Fields(8) + "\r\n";
    EXPECT_EQ(Find(text, KindMbox, 4).offset, int64_t(text.rfind("Return-Path")));
}

TEST_P(Scanner, ThresholdFromTheSetting) {
    const std::string text = "xx\r\n" + Fields(4) + "\r\nbody\r\n" + Fields(12) + "\r\n";
    auto offsetWith = [&](const char *setting) {
        host.settingMissing = setting == nullptr;
        host.setting = setting ? setting : "";
        CallContext fresh(host, GetParam());
        Reader &r = Open(text);
        return FindMessageStart(fresh, r, text.size() + 1, 4, KindMbox).offset;
    };
    const int64_t second = int64_t(text.rfind("Return-Path"));
    EXPECT_EQ(offsetWith("4"), 4);
    EXPECT_EQ(offsetWith(" +4x"), 4);
    EXPECT_EQ(offsetWith("12"), second);
    EXPECT_EQ(offsetWith("3"), second); // out of range: 8
    EXPECT_EQ(offsetWith("13"), second);
    EXPECT_EQ(offsetWith("abc"), second);
    EXPECT_EQ(offsetWith(nullptr), second);
    EXPECT_EQ(offsetWith("\x0c"), second); // a DWORD of 12: its first byte is no digit
    EXPECT_EQ(offsetWith("99999999999"), second);
    EXPECT_EQ(ThresholdFromSetting("-4"), 8);
    EXPECT_EQ(ParseDecimal("99999999999"), 2147483647);
    EXPECT_EQ(ParseDecimal("\t -12z"), -12);
}

TEST_P(Scanner, EachLineEndEndsOneLineSoEveryEmptyLineIsSeen) {
    // LF LF is a line end and an empty line: the run ends there, and the
    // header of the part after it is not joined to the message's.
    for (const std::string eol : {"\n", "\r", "\r\n"}) {
        auto lines = [&](std::string text) {
            for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
                text.replace(at, 2, eol), at += eol.size();
            return text;
        };
        const std::string one = lines(Fields(8) + "\r\nbody\r\n");
        const std::string two = lines(Fields(8) + "\r\nbody\r\n");
        EXPECT_EQ(Starts(one + two, KindGeneral), (Offsets{0, int64_t(one.size())})) << eol.size();
        EXPECT_EQ(Find(one, KindGeneral).headerLength, lines(Fields(8) + "\r\n").size());
    }
    // Mixed line ends: CR then LF LF is three lines, the last two empty.
    EXPECT_EQ(Starts("To: a\r\n\nSubject: x\n\n", KindMbox), Offsets{});
}

TEST_P(Scanner, ANulByteIsData) {
    // No line ends at a NUL, and no run begins at one.
    using namespace std::string_literals;
    Expect(Find("hello\r\n\0To: x\r\n\r\n"s, KindGeneral), -1, 0);
    Expect(Find("hello\r\n\0\r\nTo: x\r\n\r\n"s, KindGeneral), 10, 9);
    // A NUL inside a field's line is part of it; the run goes on to the end.
    Expect(Find("To: x\0\r\n"s, KindGeneral), 0, 8);
    // A line that begins with a NUL is no field and no fold: it ends the run
    // unless a field line follows it (a damaged fold).
    const std::string run = "xx\r\n" + Fields(6) + "\0\r\n"s + Fields(2) + "\r\nbody\r\n";
    Expect(Find(run, KindMbox, 4), 4, Fields(6).size() + 3 + Fields(2).size() + 2);
    const std::string cut = "xx\r\n" + Fields(6) + "\0\r\nbody\r\n"s;
    Expect(Find(cut, KindMbox, 4), -1, 0);
}

TEST_P(Scanner, TheWalkFindsEveryMessageOnce) {
    const std::string one = "From: a\r\nTo: b\r\nSubject: c\r\n\r\nhello\r\n\r\n";
    const std::string two = Fields(8) + "\r\nbody\r\n";
    EXPECT_EQ(Starts(one + two + two, KindGeneral),
              (Offsets{0, int64_t(one.size()), int64_t(one.size() + two.size())}));
    EXPECT_EQ(Starts(one + two, KindNifty), (Offsets{int64_t(one.size())}));
}

TEST_P(Scanner, MboxSeparatorsAreNeverPartOfARun) {
    const std::string text = "From a@b Mon Jan  1 00:00:00 2024\r\n" + Fields(8) + "\r\nbody\r\n";
    EXPECT_EQ(Find(text, KindMbox, 0).offset, int64_t(text.find("Return-Path")));
}

TEST_P(Scanner, TheLineOfEightHyphensEndsTheHeaderBlockAfterAnyField) {
    for (const std::string last : {"Date: d", "X-Mailer: m"}) {
        const std::string text = "From: a\r\n" + last + "\r\n--------\r\nbody\r\n";
        Expect(Find(text, KindGeneral), 0, text.find("body"));
    }
    // Nine hyphens, or eight with LF only, are the body's first line.
    Expect(Find("From: a\r\n---------\r\nbody\r\n", KindGeneral), 0, 9);
    Expect(Find("From: a\n--------\nbody\n", KindGeneral), 0, 8);
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
    EXPECT_EQ(ConsumeTerminator(r, 6), 7u);   // LF, then an empty line
    EXPECT_EQ(ConsumeTerminator(r, 7), 8u);
    EXPECT_EQ(ConsumeTerminator(r, 10), 11u); // CR, then an empty line
    EXPECT_EQ(ConsumeTerminator(r, 15), 16u); // LF, then CR
    EXPECT_EQ(ConsumeTerminator(r, 0), 0u);
    EXPECT_EQ(MeasureLine(r, 17), 0u);
    // Lines read whole, whatever block edges they cross.
    TextLine line;
    uint64_t lengths[9], count = 0;
    for (uint64_t at = 0; count < 9 && ReadTextLine(r, at, 18, line); at = line.next)
        lengths[count++] = line.length;
    ASSERT_EQ(count, 8u); // ab, cd, "", ef, "", gh, "", and the NUL
    EXPECT_EQ(lengths[7], 1u);
    EXPECT_EQ(lengths[0], 2u);
    EXPECT_EQ(lengths[2], 0u);
    EXPECT_EQ(lengths[5], 2u);
    EXPECT_EQ(lengths[6], 0u);
}

} // namespace
} // namespace corvex::test
