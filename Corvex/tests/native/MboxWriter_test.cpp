// What an mbox writer adds to each message is taken away again: the ">" it
// put before lines that begin with ">"s and "From ", and the empty line it
// put after the message. Everything else stays as it was stored.
#include "MboxSeparator.h"

#include "ConvertTest.h"

namespace corvex::test {
namespace {

using MboxWriter = Convert;
CORVEX_CACHE_SIZES(MboxWriter);

const std::string kSep = "From a@b Mon Jan  1 00:00:00 2024\n";

TEST_P(MboxWriter, OneQuoteIsTakenFromEveryQuotedFromLine) {
    const std::string header = "From: a@b\nSubject: q\n\n";
    const std::string quoted = header +
                               ">From the first body line\n"
                               "plain\n"
                               ">>From a line quoted twice\n"
                               ">>>From three\n"
                               ">From\n"                  // no space: no quoting of the writer
                               ">Fromage\n"
                               "> From with a space\n"
                               "text >From inside a line\n"
                               ">\n"
                               ">>\n"
                               "ends\r>From after a lone CR\r\n>From after CR LF\r\n"
                               ">From the last line";
    const std::string stored = header +
                               "From the first body line\n"
                               "plain\n"
                               ">From a line quoted twice\n"
                               ">>From three\n"
                               ">From\n"
                               ">Fromage\n"
                               "> From with a space\n"
                               "text >From inside a line\n"
                               ">\n"
                               ">>\n"
                               "ends\rFrom after a lone CR\r\nFrom after CR LF\r\n"
                               "From the last line";
    int32_t rc = -1;
    EXPECT_EQ(Split(kSep + quoted, KindMbox, rc), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Out("00001.eml"), stored);
    // A quoted line that ends a message before the next separator, and one
    // cut short by the end of the file.
    const std::string two = "Subject: 2\n\nbody\n>From me\n";
    EXPECT_EQ(Split(kSep + quoted + "\n" + kSep + two + kSep + "Subject: 3\n\n>Fro", KindMbox, rc), 3);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{stored + "\n", "Subject: 2\n\nbody\nFrom me\n",
                                                   "Subject: 3\n\n>Fro"}));
}

TEST_P(MboxWriter, QuotingIsUndoneOnlyInMboxInput) {
    // Messages found by their header runs before the first separator are
    // unquoted too; general text keeps every byte.
    const std::string pre = Fields(8) + "\r\n>From before the separators\r\n";
    const std::string one = "Subject: 1\r\n\r\n>From after\r\n";
    int32_t rc;
    EXPECT_EQ(Split(pre + "From x\r\n" + one, KindMbox, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{Fields(8) + "\r\nFrom before the separators\r\n",
                                                   "Subject: 1\r\n\r\nFrom after\r\n"}));
    const std::string general = Fields(8) + "\r\n>From stays\r\n";
    EXPECT_EQ(Split(general, KindGeneral, rc), 1);
    EXPECT_EQ(Out("00001.eml"), general);
}

TEST_P(MboxWriter, TheEmptyLineBeforeEachSeparatorIsTheWriters) {
    int32_t rc;
    // One empty line is taken before each separator and at the end of the
    // file, whatever its line end; a second one stays with the message.
    const std::string text = kSep + "Subject: 1\n\nbody\n\n" +
                             "From b\r\nSubject: 2\r\n\r\nbody\r\n\r\n\r\n" +
                             "From c\rSubject: 3\r\rbody\r\r" +
                             "From d\nSubject: 4\n\nbody\r\n\n";
    EXPECT_EQ(Split(text, KindMbox, rc), 4);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"Subject: 1\n\nbody\n",
                                                   "Subject: 2\r\n\r\nbody\r\n\r\n",
                                                   "Subject: 3\r\rbody\r", "Subject: 4\n\nbody\r\n"}));
    // Without an empty line before a separator nothing is taken; a message
    // whose last line has no line end keeps it all.
    const std::string bare = kSep + "Subject: 1\n\nbody\n" + kSep + "Subject: 2\n\nno end";
    EXPECT_EQ(Split(bare, KindMbox, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"Subject: 1\n\nbody\n", "Subject: 2\n\nno end"}));
    // A message that is a header without a body keeps its own empty line
    // when the writer's follows it.
    EXPECT_EQ(Split(kSep + "Subject: 1\n\n\n" + kSep + "Subject: 2\n\n", KindMbox, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"Subject: 1\n\n", "Subject: 2\n"}));
}

TEST_P(MboxWriter, AWriterThatAddsNoEmptyLineLeavesTheMessagesWhole) {
    // "From ???@???" is written by a mail program that puts no empty line
    // after a message: an empty line before its separators, or at the end of
    // its file, is the message's own.
    const std::string eudora = "From ???@??? Mon Jan 01 00:00:00 2024\r\n";
    const std::string one = "Subject: 1\r\n\r\nbody\r\n\r\n", two = "Subject: 2\r\n\r\nbody\r\n";
    const std::string three = "Subject: 3\r\n\r\nends empty\r\n\r\n";
    int32_t rc;
    EXPECT_EQ(Split(eudora + one + eudora + two + eudora + three, KindMbox, rc), 3);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{one, two, three}));
    // Messages found by their header runs end as in general text.
    const std::string pre = Fields(8) + "\r\nbody\r\n\r\n";
    EXPECT_EQ(Split(pre + "From x\r\n" + two, KindMbox, rc), 2);
    EXPECT_EQ(Out("00001.eml"), pre);
}

TEST(MboxWriterLines, TheEmptyLineAtTheEndOfASpan) {
    TempDir dir;
    TestHost host;
    const struct {
        const char *text;
        uint64_t length;
    } cases[] = {{"a\n\n", 1},   {"a\r\n\r\n", 2}, {"a\r\r", 1}, {"a\n\r\n", 2}, {"a\r\r\n", 2},
                 {"a\r\n\n", 1}, {"a\n\r", 1},     {"a\r\n", 0}, {"a\n", 0},     {"a", 0},
                 {"\n", 0},      {"\r\n", 0},      {"", 0}};
    for (const auto &c : cases) {
        const std::string text = c.text;
        WriteFile(dir / "t", text);
        std::unique_ptr<InputFile> in(host.OpenInput((dir / "t").c_str()));
        Reader r(*in, 2);
        EXPECT_EQ(EmptyLineAtEnd(r, 0, text.size()), c.length) << testing::PrintToString(text);
    }
}

} // namespace
} // namespace corvex::test
