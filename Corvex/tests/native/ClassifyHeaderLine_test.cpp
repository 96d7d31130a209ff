// Field lines judged by their whole name, and what a header block's fields
// say: its boundary, an enclosed message, the pairs of a strong start.
#include "ClassifyHeaderLine.h"

#include <cstring>
#include <string>
#include <vector>

#include "CoreTest.h"
#include "HeaderBlock.h"
#include "HeaderNameTable.h"
#include "TextLine.h"

namespace corvex::test {
namespace {

class Classify : public CoreTest {
protected:
    // The first line of text, classified.
    FieldLine Of(const std::string &text) {
        Reader &r = Open(text);
        TextLine line;
        if (!ReadTextLine(r, 0, text.size() + 1, line))
            return FieldLine();
        return ClassifyHeaderLine(r, line);
    }
    // The lines of text (CR LF ended) read into a header block as a run
    // reads them.
    HeaderBlock &Block(const std::string &text) {
        Reader &r = Open(text);
        block.Clear();
        TextLine line;
        for (uint64_t at = 0; ReadTextLine(r, at, text.size() + 1, line); at = line.next) {
            const FieldLine field = ClassifyHeaderLine(r, line);
            if (field.field)
                block.AddField(r, line, field);
            else if (IsFoldedLine(line))
                block.AddFold(r, line);
        }
        return block;
    }
    std::string BoundaryOf(const std::string &text) {
        std::string delimiter;
        return Block(text).Body(Ctx(), delimiter) == BodyKind::Multipart ? delimiter : "";
    }
    HeaderBlock block;
};
CORVEX_CACHE_SIZES(Classify);

TEST(HeaderNameTable, IndexBoundsEveryLetterAndNamesStartWithTheirLetter) {
    EXPECT_EQ(HeaderLetterIndex[0], 0);
    EXPECT_EQ(HeaderLetterIndex[26], kHeaderNameCount);
    for (int l = 0; l < 26; ++l)
        for (int e = HeaderLetterIndex[l]; e < HeaderLetterIndex[l + 1]; ++e) {
            const HeaderName &h = HeaderNameTable[e];
            EXPECT_EQ(std::strlen(h.name), h.length) << h.name;
            // One name is filed under X though it begins with D.
            if (std::strcmp(h.name, "D-UVOraz-Udavuv:") != 0) {
                EXPECT_EQ(h.name[0], 'A' + l) << h.name;
            }
        }
    EXPECT_STREQ(HeaderNameTable[29].name, "Content-Type:");
    EXPECT_STREQ(HeaderNameTable[129].name, "X-MS-TNEF-Correlator: ");
}

TEST_P(Classify, EveryNameOfTheTableWholeWithoutRegardToCase) {
    for (int e = 0; e < kHeaderNameCount; ++e) {
        std::string name = HeaderNameTable[e].name;
        const size_t colon = name.find(':');
        if (colon == std::string::npos)
            continue; // "X-"
        name.resize(colon);
        for (const std::string &form : {name + ": v\r\n", name + " \t: v\r\n", name + ":v\r\n"}) {
            const FieldLine f = Of(form);
            EXPECT_TRUE(f.field && f.known && f.opensRun) << form;
            EXPECT_EQ(f.weight, HeaderNameTable[e].weight) << form;
        }
        std::string lower = name;
        for (char &c : lower)
            c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        EXPECT_TRUE(Of(lower + ": v\r\n").known) << lower;
        // Cut short or made longer, it is another name.
        if (name.size() > 2 && name.compare(0, 2, "X-") != 0) {
            EXPECT_FALSE(Of(name.substr(0, name.size() - 1) + ": v\r\n").known) << name;
            EXPECT_FALSE(Of(name + "s: v\r\n").known) << name;
        }
    }
    // The one weighty name is known by its own first letter.
    EXPECT_EQ(Of("D-UVOraz-Udavuv: x\r\n").weight, 8);
}

TEST_P(Classify, ANameIsComparedOverItsWholeLength) {
    // Once "Re" began "References:" and "Subject" without its colon matched.
    EXPECT_FALSE(Of("Re\r\n").field);
    EXPECT_FALSE(Of("Subject\r\n").field);
    EXPECT_FALSE(Of("Re: your mail\r\n").known);
    EXPECT_TRUE(Of("Re: your mail\r\n").field);
    EXPECT_FALSE(Of("From what I saw: nothing\r\n").field); // a blank inside the name
    EXPECT_FALSE(Of("Fromage: x\r\n").known);
}

TEST_P(Classify, UnknownNamesWeighOneAndOpenARunOnlyBeforeABlank) {
    FieldLine f = Of("DKIM-Signature: v=1\r\n");
    EXPECT_TRUE(f.field);
    EXPECT_FALSE(f.known);
    EXPECT_TRUE(f.opensRun);
    EXPECT_EQ(f.weight, 1);
    EXPECT_TRUE(Of("Foo2:\r\n").opensRun);   // the line ends at the colon
    EXPECT_TRUE(Of("Foo2:\tx\r\n").opensRun);
    f = Of("Note:nothing\r\n");
    EXPECT_TRUE(f.field);
    EXPECT_FALSE(f.opensRun);                // "Note:x" may be prose
    EXPECT_TRUE(Of("X-Anything:x\r\n").opensRun); // every X- name is known
    EXPECT_EQ(Of("X-Anything: x\r\n").weight, 1);
    EXPECT_TRUE(Of(std::string(300, 'k') + ": long\r\n").field);
}

TEST_P(Classify, LinesThatAreNoFieldLine) {
    for (const std::string &text : std::vector<std::string>{"", "\r\n", " Subject: x\r\n", "\tx\r\n", ":colon\r\n",
                                   "1x: y\r\n", "-x: y\r\n", "\x82\xa0: kana\r\n",
                                   std::string("\0From: a\r\n", 10), "Subject x\r\n"})
        EXPECT_FALSE(Of(text).field) << text;
}

TEST_P(Classify, TheFactsOfNamesThatTheRulesAskFor) {
    EXPECT_EQ(Of("Content-Type: text/plain\r\n").facts, kFactContent | kFactContentType);
    EXPECT_EQ(Of("Content-Foo: x\r\n").facts, kFactContent);
    EXPECT_EQ(Of("MIME-Version: 1.0\r\n").facts, kFactMimeVersion);
    EXPECT_EQ(Of("from: a\r\n").facts, kFactSender | kFactFrom);
    EXPECT_EQ(Of("DATE: d\r\n").facts, kFactSender | kFactDate);
    for (const char *sender : {"Sender", "Reply-To", "To", "Cc", "Bcc", "Message-ID", "In-Reply-To",
                               "References", "Subject"})
        EXPECT_EQ(Of(std::string(sender) + ": x\r\n").facts, kFactSender) << sender;
    EXPECT_EQ(Of("Received: x\r\n").facts, 0);
}

TEST_P(Classify, TheBoundaryOfTheFirstContentTypeQuotedUnquotedOrFolded) {
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed; boundary=\"=_abc\"\r\n"), "--=_abc");
    EXPECT_EQ(BoundaryOf("Content-type: Multipart/Mixed; BOUNDARY=x; a=b\r\n"), "--x");
    EXPECT_EQ(BoundaryOf("Content-Type:multipart/mixed; boundary = \"a b\"\r\n"), "--a b");
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/report; a=b; boundary=\"q==\"\r\n"), "--q==");
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed;\r\n\tcharset=x;\r\n\tboundary=\"b2\"\r\n"),
              "--b2");
    // The first Content-Type only; a field in between closes it.
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed; boundary=one\r\n"
                         "Content-Type: multipart/mixed; boundary=two\r\n"), "--one");
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed;\r\nX-Foo: y\r\n\tboundary=b3\r\n"), "");
    // Not multipart, no boundary, an empty one, one whose quote never closes.
    EXPECT_EQ(BoundaryOf("Content-Type: text/plain; boundary=\"h\"\r\n"), "");
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed\r\n"), "");
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed; boundary=\"\"\r\n"), "");
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed; boundary=\"open\r\n"), "");
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed; boundary=\"a" + std::string(1, '\0') + "b\"\r\n"), "");
    // A boundary far longer than the standards allow is still followed.
    const std::string longest(9000, 'b');
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed; boundary=\"" + longest + "\"\r\n"),
              "--" + longest);
}

TEST_P(Classify, ABoundaryNameInsideADoubleByteCharacterIsNone) {
    host.codePage932 = true; // as on the product's systems
    // "\x82" "b" is one character: no "boundary" begins at its second byte.
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed; \x82" "boundary=\"q\"\r\n"), "");
    EXPECT_EQ(BoundaryOf("Content-Type: multipart/mixed; \x82\xa0 boundary=\"q\"\r\n"), "--q");
}

TEST_P(Classify, TheEnclosingTypes) {
    std::string unused;
    for (const char *type : {"message/rfc822", "Message/RFC822; x=y", "message/global",
                             "message/news", "text/rfc822-headers", "message/partial; id=1"})
        EXPECT_EQ(Block(std::string("Content-Type: ") + type + "\r\n").Body(Ctx(), unused),
                  BodyKind::Enclosing) << type;
    for (const char *type : {"message/rfc822x", "text/plain", "message/delivery-status"})
        EXPECT_EQ(Block(std::string("Content-Type: ") + type + "\r\n").Body(Ctx(), unused),
                  BodyKind::Plain) << type;
}

TEST_P(Classify, StrongPairsAndPartFields) {
    EXPECT_TRUE(Block("MIME-Version: 1.0\r\nSubject: s\r\n").StrongFields());
    EXPECT_FALSE(Block("MIME-Version: 1.0\r\nReceived: r\r\n").StrongFields());
    EXPECT_TRUE(Block("From: a\r\nDate: Mon, 7 Jan 2003 19:02:05 +0900\r\n").StrongFields());
    // The obsolete forms, a folded value, comments, a year before 1970.
    EXPECT_TRUE(Block("From: a\r\nDate: 21 Nov 97 09:55 GMT\r\n").StrongFields());
    EXPECT_TRUE(Block("From: a\r\nDate: Thu,\r\n  13 Feb 1969 23:32\r\n -0330 (Newfoundland)\r\n")
                    .StrongFields());
    EXPECT_FALSE(Block("From: a\r\nDate: yesterday\r\n").StrongFields());
    EXPECT_FALSE(Block("From: a\r\nDate: 31 Feb 2003 10:00 +0000\r\n").StrongFields());
    EXPECT_FALSE(Block("Date: 21 Nov 97 09:55 GMT\r\nSubject: s\r\n").StrongFields());

    EXPECT_TRUE(Block("Content-Type: text/plain\r\nMIME-Version: 1.0\r\nContent-X: y\r\n")
                    .OnlyPartFields());
    EXPECT_FALSE(Block("Content-Type: text/plain\r\nFoo: y\r\n").OnlyPartFields());
    EXPECT_FALSE(Block("").OnlyPartFields());
}

} // namespace
} // namespace corvex::test
