#include "ClassifyHeaderLine.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "CoreTest.h"
#include "HeaderNameTable.h"

namespace corvex::test {
namespace {

class Classify : public CoreTest {
protected:
    // Classifies the first line of text (which may go on past the line).
    LineClass Of(const std::string &text, int64_t runWeight = 0) {
        Reader &r = Open(text);
        uint64_t length = MeasureLine(r, 0);
        return ClassifyHeaderLine(Ctx(), r, 0, length, runWeight, state, {boundary, size}, weight);
    }
    struct Capture {
        const char *line, *stored;
    };
    // Each line on its own, with a fresh state and an empty buffer, stores
    // what the case says.
    void ExpectCaptures(std::initializer_list<Capture> cases) {
        for (const Capture &c : cases) {
            boundary[0] = 0;
            state = RunState();
            Of(c.line);
            EXPECT_STREQ(boundary, c.stored) << c.line;
        }
    }
    RunState state;
    int32_t weight = -1;
    char boundary[64] = {};
    uint32_t size = sizeof boundary;
};
CORVEX_CACHE_SIZES(Classify);

TEST(HeaderNameTable, IndexBoundsEveryLetterAndNamesStartWithTheirLetter) {
    EXPECT_EQ(HeaderLetterIndex[0], 0);
    EXPECT_EQ(HeaderLetterIndex[26], kHeaderNameCount);
    int marked = 0;
    for (int l = 0; l < 26; ++l)
        for (int e = HeaderLetterIndex[l]; e < HeaderLetterIndex[l + 1]; ++e) {
            const HeaderName &h = HeaderNameTable[e];
            EXPECT_EQ(std::strlen(h.name), h.length) << h.name;
            // The one name filed under X that begins with D is reached by no line.
            if (std::strcmp(h.name, "D-UVOraz-Udavuv:") != 0) {
                EXPECT_EQ(h.name[0], 'A' + l) << h.name;
            }
            marked += h.continuationOk;
        }
    EXPECT_EQ(marked, 21);
    EXPECT_STREQ(HeaderNameTable[29].name, "Content-Type:");
    EXPECT_TRUE(HeaderNameTable[29].continuationOk);
    EXPECT_STREQ(HeaderNameTable[129].name, "X-MS-TNEF-Correlator: ");
}

TEST_P(Classify, KnownNamesWithoutRegardToCaseAndTheirMarks) {
    EXPECT_EQ(Of("subject: x\r\n"), LineClass::KnownField);
    EXPECT_EQ(weight, 1);
    EXPECT_TRUE(state.continuationAllowed);
    EXPECT_EQ(Of("SUBJECT: x\r\n"), LineClass::KnownField);
    EXPECT_EQ(Of("X-Mailer: m\r\n"), LineClass::KnownField);
    EXPECT_FALSE(state.continuationAllowed);
    // Its ninth byte is a hyphen, so it is not "Received:" (marked) but
    // "Received-SPF:" (marked too); "X-Foo:" falls to "X-", unmarked.
    EXPECT_EQ(Of("Received-SPF: pass\r\n"), LineClass::KnownField);
    EXPECT_TRUE(state.continuationAllowed);
    EXPECT_EQ(Of("X-Foo: bar\r\n"), LineClass::KnownField);
    EXPECT_EQ(weight, 1);
    EXPECT_FALSE(state.continuationAllowed);
}

// The first entry of the line's letter, in table order, whose name the line
// begins with (as far as the line goes), letters without regard to case;
// -1: none. One name after another, byte by byte.
int32_t FirstEntryByHand(const std::string &line) {
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
    const size_t end = line.find_first_of("\r\n");
    const int l = upper(line[0]) - 'A';
    for (int32_t e = HeaderLetterIndex[l]; e < HeaderLetterIndex[l + 1]; ++e) {
        const HeaderName &h = HeaderNameTable[e];
        const size_t n = std::min<size_t>(end, h.length);
        bool same = n > 0;
        for (size_t i = 0; i < n && same; ++i)
            same = upper(line[i]) == upper(h.name[i]);
        if (same)
            return e;
    }
    return -1;
}

TEST_P(Classify, EveryNameWholeCutShortOrWithItsColonElsewhereAsTheTableSays) {
    std::vector<std::string> lines;
    for (int32_t e = 0; e < kHeaderNameCount; ++e) {
        const std::string name = HeaderNameTable[e].name;
        lines.push_back(name + " value\r\n");
        std::string lower = name;
        for (char &c : lower)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        lines.push_back(lower + "v\r\n");
        for (size_t k = 1; k < name.size(); ++k)
            lines.push_back(name.substr(0, k) + "\r\n");
        const size_t colon = name.find(':');
        if (colon != std::string::npos && colon > 1) {
            lines.push_back(name.substr(0, colon - 1) + ":" + name.substr(colon - 1) + "\r\n");
            lines.push_back(name.substr(0, colon) + "x: v\r\n");
        }
    }
    for (const std::string &line : lines) {
        if (line[0] < 'A' || std::toupper(static_cast<unsigned char>(line[0])) > 'Z')
            continue;
        const int32_t e = FirstEntryByHand(line);
        const int l = std::toupper(static_cast<unsigned char>(line[0])) - 'A';
        state = RunState();
        EXPECT_EQ(Of(line), e >= 0 ? LineClass::KnownField : LineClass::Break) << line;
        if (HeaderLetterIndex[l] < HeaderLetterIndex[l + 1]) {
            const int32_t marked = e >= 0 ? e : HeaderLetterIndex[l + 1] - 1;
            EXPECT_EQ(state.continuationAllowed, HeaderNameTable[marked].continuationOk) << line;
        }
    }
}

TEST_P(Classify, ShortLinesMatchTheBeginningOfAName) {
    EXPECT_EQ(Of("A\r\n"), LineClass::KnownField); // "Acknowledge-To:"
    EXPECT_EQ(Of("Re\r\n"), LineClass::KnownField);
    EXPECT_EQ(Of("From\r\n"), LineClass::KnownField);
    // H has no entries and nothing follows it: never a field.
    EXPECT_EQ(Of("H\r\n", 5), LineClass::Break);
    EXPECT_EQ(Of("Hello\r\n", 0), LineClass::Break);
}

TEST_P(Classify, GenericFieldsOnlyInsideARun) {
    EXPECT_EQ(Of("DKIM-Signature: v=1\r\n", 0), LineClass::Break);
    EXPECT_EQ(Of("DKIM-Signature: v=1\r\n", 1), LineClass::GenericField);
    EXPECT_EQ(weight, 1);
    EXPECT_TRUE(state.continuationAllowed); // the last D entry is marked
    EXPECT_EQ(Of("Authentication-Results: x\r\n", 1), LineClass::GenericField);
    EXPECT_FALSE(state.continuationAllowed); // the last A entry is not
    EXPECT_EQ(Of("Foo2: x\r\n", 1), LineClass::Break);
    EXPECT_EQ(Of("Foo Bar: x\r\n", 1), LineClass::Break);
    EXPECT_EQ(Of(std::string(35, 'k') + ": x\r\n", 1), LineClass::GenericField);
    EXPECT_EQ(Of(std::string(36, 'k') + ": x\r\n", 1), LineClass::Break);
}

TEST_P(Classify, ContinuationsFollowMarkedFieldsAndFoldedLinesAnyFieldInAHeader) {
    state.continuationAllowed = true; // as after "Subject: a"
    EXPECT_EQ(Of("  x\r\n"), LineClass::Continuation);
    EXPECT_EQ(weight, 0);
    EXPECT_EQ(Of("\r\n"), LineClass::Continuation);
    EXPECT_EQ(Of(":colon\r\n"), LineClass::Continuation);
    EXPECT_EQ(Of("\x82\xa0 kana\r\n"), LineClass::Continuation);
    state.continuationAllowed = false; // as after "X-Mailer: a"
    // Between runs only a marked field is continued.
    EXPECT_EQ(Of("  x\r\n"), LineClass::Break);
    EXPECT_EQ(Of(""), LineClass::Break);
    // Inside a header a line folded with a space or a TAB continues any field;
    // other lines that do not begin with a letter still need the mark.
    EXPECT_EQ(Of("  x\r\n", 1), LineClass::Continuation);
    EXPECT_EQ(Of("\tx\r\n", 3), LineClass::Continuation);
    EXPECT_EQ(Of("\r\n", 1), LineClass::Break);
    EXPECT_EQ(Of("1 x\r\n", 1), LineClass::Break);
    EXPECT_EQ(Of("-x\r\n", 1), LineClass::Break);
    EXPECT_EQ(Of("\x82\xa0\r\n", 1), LineClass::Break);
    EXPECT_FALSE(state.continuationAllowed);
}

TEST_P(Classify, MultipartBoundaryQuotedUnquotedOrWithParameters) {
    EXPECT_EQ(Of("Content-Type: multipart/mixed; boundary=\"=_abc\"\r\n"), LineClass::KnownField);
    EXPECT_STREQ(boundary, "--=_abc");
    EXPECT_FALSE(state.multipartSeen); // nothing more is awaited

    ExpectCaptures({
        // Neither the media type nor "boundary=" depends on case.
        {"Content-type: Multipart/Mixed; boundary=\"x\"\r\n", "--x"},
        {"Content-Type: multipart/mixed; Boundary=\"x\"\r\n", "--x"},
        {"Content-Type: multipart/mixed; BOUNDARY=x\r\n", "--x"},
        {"Content-Type: multipart/mixed; boundary=abc\r\n", "--abc"},
        {"Content-Type: multipart/mixed; boundary=\"abc\"; charset=x\r\n", "--abc"},
        {"Content-Type: multipart/mixed; boundary=abc; x=y\r\n", "--abc"},
        {"Content-Type: multipart/mixed; boundary=abc\tx=y\r\n", "--abc"},
        {"Content-Type: multipart/mixed; boundary=\"open\r\n", "--open"},
        // Another "=" before it, and a base64-like tail, change nothing.
        {"Content-Type: multipart/mixed; a=b; boundary=\"q==\"\r\n", "--q=="},
    });
}

TEST_P(Classify, EveryMultipartSubtypeAfterAnySpaces) {
    ExpectCaptures({
        {"Content-Type:multipart/mixed; boundary=\"a\"\r\n", "--a"},
        {"Content-Type:  multipart/mixed; boundary=\"b\"\r\n", "--b"},
        {"Content-Type:\t multipart/related; boundary=\"c\"\r\n", "--c"},
        {"Content-Type: multipart/alternative; boundary=\"d\"\r\n", "--d"},
        {"Content-Type: multipart/report; report-type=delivery-status; boundary=\"e\"\r\n", "--e"},
        {"Content-Type: MULTIPART/SIGNED; boundary=f\r\n", "--f"},
        {"Content-Type: multipart/x-anything; boundary=g\r\n", "--g"},
        // Not multipart: no capture, whatever parameters it has.
        {"Content-Type: text/plain; boundary=\"h\"\r\n", ""},
        {"Content-Type: multipartial/mixed; boundary=\"i\"\r\n", ""},
        {"Content-Type: multipart\r\n", ""},
        {"Content-Type-X: multipart/mixed; boundary=\"j\"\r\n", ""},
    });
}

TEST_P(Classify, BoundaryOnAnyContinuationLineOfItsField) {
    Of("Content-Type: multipart/mixed;\r\n");
    EXPECT_TRUE(state.multipartSeen);
    EXPECT_EQ(Of("\tboundary=\"b1\"\r\n"), LineClass::Continuation);
    EXPECT_STREQ(boundary, "--b1");

    // Not on the first continuation line but on the second.
    boundary[0] = 0;
    Of("Content-Type: multipart/mixed;\r\n");
    Of("\tcharset=x\r\n");
    EXPECT_TRUE(state.multipartSeen);
    Of("\tBoundary=\"b2\"\r\n");
    EXPECT_STREQ(boundary, "--b2");

    // A field of its own in between closes the Content-Type: a later
    // "boundary=" belongs to that field, not to the media type.
    boundary[0] = 0;
    Of("Content-Type: multipart/mixed;\r\n");
    Of("X-Foo: y\r\n", 1);
    EXPECT_FALSE(state.multipartSeen);
    Of("\tboundary=\"b3\"\r\n", 2);
    EXPECT_STREQ(boundary, "");
}

TEST_P(Classify, TheFirstBoundaryOfAHeaderIsKept) {
    std::strcpy(boundary, "--first");
    Of("Content-Type: multipart/mixed; boundary=\"second\"\r\n");
    EXPECT_STREQ(boundary, "--first");
}

TEST_P(Classify, BoundaryIsCutToTheBufferWithoutSplittingACharacter) {
    host.codePage932 = true; // as on the product's systems
    size = 8; // room for "--" and five value bytes
    Of("Content-Type: multipart/mixed; boundary=\"abcd\x82\xa0xyz\"\r\n");
    EXPECT_STREQ(boundary, "--abcd");
    boundary[0] = 0;
    Of("Content-Type: multipart/mixed; boundary=\"abc\x82\xa0xyz\"\r\n");
    EXPECT_STREQ(boundary, "--abc\x82\xa0");
    // A "b" that is the second byte of a double-byte character starts no match.
    boundary[0] = 0;
    size = sizeof boundary;
    Of("Content-Type: multipart/mixed; \x82" "boundary=\"q\"\r\n");
    EXPECT_STREQ(boundary, "");
}

} // namespace
} // namespace corvex::test
