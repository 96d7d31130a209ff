// An mbox split at its separator lines: each message from the line after its
// "From " line up to the next one, whatever its body holds.
#include "MboxSeparator.h"

#include "ConvertTest.h"

namespace corvex::test {
namespace {

using Mbox = Convert;
CORVEX_CACHE_SIZES(Mbox);

const std::string kSep = "From a@b Mon Jan  1 00:00:00 2024\n";

// A message with LF line ends: a few fields, an empty line, the body.
std::string Message(const std::string &subject, const std::string &body) {
    return "Return-Path: <a@b>\nFrom: a@b\nSubject: " + subject + "\n\n" + body;
}

TEST_P(Mbox, ForwardedMessagesStayInsideTheirMessage) {
    // A forwarded message/rfc822 part of many fields and no multipart
    // boundary around it: no header-run search is made after a separator.
    const std::string forwarded = Fields(12) + "\r\nforwarded body\r\n";
    const std::string one = Message("fw", "see below\n\n" + forwarded + "\n");
    const std::string two = Message("two", "hello\n");
    int32_t rc = -1;
    EXPECT_EQ(Split(kSep + one + kSep + two, KindMbox, rc), 2);
    EXPECT_EQ(rc, 0);
    // The writer's empty line before the next separator is no part of it.
    EXPECT_EQ(Outputs(), (std::vector<std::string>{one.substr(0, one.size() - 1), two}));
}

TEST_P(Mbox, FromLinesThatIntroduceNoHeaderStayInTheBody) {
    // An unquoted "From " body line followed by prose, by an empty line, by a
    // quoted line or by the end of the file is no separator.
    const std::string one = Message("a", "From here on it is body.\nyes\nFrom me\n\nFrom x\n>From y\n\n");
    const std::string two = Message("b", "last\nFrom the end");
    int32_t rc;
    EXPECT_EQ(Split(kSep + one + kSep + two, KindMbox, rc), 2);
    // The quoted line loses its quote, the message its writer's empty line.
    const std::string stored = Message("a", "From here on it is body.\nyes\nFrom me\n\nFrom x\nFrom y\n");
    EXPECT_EQ(Outputs(), (std::vector<std::string>{stored, two}));
    // Case as written: "from " starts nothing; "Subject :" (the obsolete form)
    // is a field line.
    const std::string three = Message("c", "body\n") + "from x@y\nSubject: z\n";
    const std::string four = "Subject : obsolete\n\nbody\n";
    EXPECT_EQ(Split(kSep + three + kSep + four, KindMbox, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{three, four}));
}

TEST_P(Mbox, SeparatorsWithoutAnEmptyLineBeforeThemAndEveryLineEnd) {
    // Some writers leave no empty line; CR LF and lone CR end lines too.
    const std::string one = "Subject: 1\r\n\r\nbody\r\n";
    const std::string two = "Subject: 2\rX: y\r\rbody\r";
    const std::string three = "Subject: 3\n\nbody";
    const std::string text = "From a\r\n" + one + "From b\r" + two + "From c\n" + three;
    int32_t rc;
    EXPECT_EQ(Split(text, KindMbox, rc), 3);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{one, two, three}));
}

TEST_P(Mbox, TheObsoleteFromFieldIsNoSeparator) {
    // "From :" is a From field written the old way, not an envelope line: the
    // header it stands in is not cut in two.
    const std::string one = "Received: x\nFrom  :<a@b>\nX-Mailer: m\nTo: c\n\nbody\n";
    int32_t rc;
    EXPECT_EQ(Split(kSep + one, KindMbox, rc), 1);
    EXPECT_EQ(Out("00001.eml"), one);
}

TEST_P(Mbox, ANulByteIsOrdinaryData) {
    const std::string one = Message("a", std::string("before\0after\n", 13));
    const std::string two = Message("b", std::string("\0\n", 2));
    const std::string three = Message("c", "end\n");
    int32_t rc;
    EXPECT_EQ(Split(kSep + one + kSep + two + kSep + three, KindMbox, rc), 3);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{one, two, three}));
}

TEST_P(Mbox, NoDashLineReplacementAfterASeparator) {
    // The header is not looked at, so eight hyphens stay as they are.
    const std::string one = "From: a\r\nDate: d\r\n--------\r\nbody\r\n";
    int32_t rc;
    EXPECT_EQ(Split(kSep + one, KindMbox, rc), 1);
    EXPECT_EQ(Out("00001.eml"), one);
}

TEST_P(Mbox, TextBeforeTheFirstSeparatorIsSplitByHeaderRuns) {
    // Two messages found by their header runs before the first separator
    // (the dash line replaced in the first); the second ends right where the
    // separator begins, which is no part of it.
    const std::string pre1 = Fields(8) + "Date: d\r\n--------\r\npre one\r\n";
    const std::string pre2 = Fields(9) + "\r\npre two\r\n";
    const std::string sep = "From x@y Tue Feb  2 00:00:00 2021\r\n";
    const std::string one = Message("after", "body\n");
    int32_t rc;
    EXPECT_EQ(Split("junk\r\n" + pre1 + pre2 + sep + one, KindMbox, rc), 3);
    std::string patched = pre1;
    patched.replace(pre1.find("--------"), 8, "X-Ds:8\r\n");
    EXPECT_EQ(Outputs(), (std::vector<std::string>{patched, pre2, one}));
    // A header run that reaches the separator line still ends before it.
    EXPECT_EQ(Split(Fields(8) + sep + one, KindMbox, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{Fields(8), one}));
}

TEST_P(Mbox, ProgressReportsTheSeparatorOfEachMessage) {
    const std::string one = Message("a", "x\n"), two = Message("b", "y\n");
    const std::string text = "junk\n" + kSep + one + kSep + two;
    WriteFile(dir / "m", text);
    g_progress.clear();
    int32_t rc;
    EXPECT_EQ(Run(dir / "m", dir / "out", KindMbox, &rc, nullptr, Record), 2);
    ASSERT_EQ(g_progress.size(), 2u);
    const uint32_t size = uint32_t(text.size());
    // The file's first message reports 0, whatever stands before it.
    EXPECT_EQ(g_progress[0], (std::array<uint32_t, 4>{size, 0, 0, 0}));
    EXPECT_EQ(g_progress[1], (std::array<uint32_t, 4>{size, 0, uint32_t(text.rfind(kSep)), 0}));
    // After messages found by header runs, the first separator reports itself.
    const std::string mixed = Fields(8) + "\r\nbody\r\n" + kSep + one;
    WriteFile(dir / "m", mixed);
    g_progress.clear();
    EXPECT_EQ(Run(dir / "m", "", KindMbox, &rc, nullptr, Record), 2);
    ASSERT_EQ(g_progress.size(), 2u);
    EXPECT_EQ(g_progress[1][2], uint32_t(mixed.find(kSep)));
}

TEST_P(Mbox, AForwardedHeaderIsAMessageOfItsOwnOnlyInGeneralText) {
    // The same file read as general text, as the count exports read every
    // file, takes the forwarded header block for a message.
    const std::string text = kSep + Fields(8) + "\nfw:\n" + Fields(12) + "\n" + kSep + Fields(8) + "\ny\n";
    WriteFile(dir / "m", text);
    int32_t rc;
    EXPECT_EQ(Run(dir / "m", "", KindMbox, &rc), 2);
    EXPECT_EQ(Run(dir / "m", "", KindGeneral, &rc), 3);
}

TEST(MboxSeparatorLines, TheLineAfterAFromLineMustBeginWithAFieldName) {
    TempDir dir;
    TestHost host;
    const std::string text = "From a\nX-Y-9: 1\nFrom b\n\nFrom c\nSubject\t :x\nFrom d\nno colon\n"
                             "From e\n:x\nFrom f\nA_B: x\nFrom g";
    WriteFile(dir / "t", text);
    std::unique_ptr<InputFile> in(host.OpenInput((dir / "t").c_str()));
    Reader r(*in, 3);
    CallContext ctx(host, 3);
    const uint64_t size = text.size();
    EXPECT_TRUE(IsMboxSeparator(r, 0, size));
    EXPECT_FALSE(IsMboxSeparator(r, text.find("From b"), size));
    EXPECT_TRUE(IsMboxSeparator(r, text.find("From c"), size));
    EXPECT_FALSE(IsMboxSeparator(r, text.find("From d"), size));
    EXPECT_FALSE(IsMboxSeparator(r, text.find("From e"), size));
    EXPECT_FALSE(IsMboxSeparator(r, text.find("From f"), size));
    EXPECT_FALSE(IsMboxSeparator(r, text.find("From g"), size));
    EXPECT_EQ(FindMboxSeparator(ctx, r, text.find("X-Y-9"), size), text.find("From c"));
    EXPECT_EQ(FindMboxSeparator(ctx, r, text.find("Subject"), size), size);
    EXPECT_EQ(NextMboxLine(r, 0, size), 7u);
    EXPECT_EQ(NextMboxLine(r, text.find("From g"), size), size);
}

} // namespace
} // namespace corvex::test
