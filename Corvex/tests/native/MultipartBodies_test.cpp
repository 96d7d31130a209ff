// General text: the parts of each multipart message are stepped over with
// that message's own boundary, so the messages attached inside a body (a
// bounce's returned message, a forward) stay in it.
#include "ConvertTest.h"

namespace corvex::test {
namespace {

using Multipart = Convert;
CORVEX_CACHE_SIZES(Multipart);

// A message whose body holds a whole forwarded message as one of its parts.
std::string WithAttachedMessage(const std::string &type, const std::string &boundary,
                                const std::string &subject) {
    return "Return-Path: <a@b>\r\nReceived: from x\r\nDate: Mon\r\nFrom: a@b\r\nTo: c@d\r\n"
           "Subject: " + subject + "\r\nMessage-Id: <1@b>\r\nMIME-Version: 1.0\r\n"
           "Content-Type: " + type + ";\r\n\tboundary=\"" + boundary + "\"\r\n\r\n"
           "preamble\r\n--" + boundary + "\r\nContent-Type: text/plain\r\n\r\nsee below\r\n"
           "--" + boundary + "\r\nContent-Type: message/rfc822\r\n\r\n" + Fields(12) +
           "\r\nthe returned body\r\n--" + boundary + "--\r\n\r\n";
}

TEST_P(Multipart, ABounceKeepsTheMessageItReturns) {
    const std::string bounce = WithAttachedMessage(
        "multipart/report; report-type=delivery-status", "=_rep", "Undelivered Mail");
    const std::string next = Fields(8) + "\r\nnext\r\n";
    int32_t rc = -1;
    EXPECT_EQ(Split(bounce + next, KindGeneral, rc), 2);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{bounce, next}));
}

TEST_P(Multipart, EachMessageStepsOverItsOwnParts) {
    // The first message's boundary is not in force in the second's body: the
    // second's own boundary is.
    const std::string one = WithAttachedMessage("multipart/mixed", "first", "one");
    const std::string two = WithAttachedMessage("Multipart/Alternative", "second", "two");
    const std::string three = WithAttachedMessage("multipart/signed", "first", "three");
    int32_t rc;
    EXPECT_EQ(Split(one + two + three, KindGeneral, rc), 3);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{one, two, three}));
    // In @nifty text as well.
    EXPECT_EQ(Split(one + two, KindNifty, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{one, two}));
}

TEST_P(Multipart, ABodyThatOpensWithItsDelimiterIsSteppedOverToo) {
    // No preamble and a single part: the search after the header begins one
    // byte into the delimiter line, which still counts whole. With CR LF and
    // LF line ends, after a marked and after an unmarked last field.
    for (const std::string eol : {"\r\n", "\n"})
        for (const std::string last : {"Subject: s", "X-Mailer: m"}) {
            auto lines = [&](std::string text) {
                for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
                    text.replace(at, 2, eol), at += eol.size();
                return text;
            };
            const std::string one = lines(Fields(7) + "Content-Type: multipart/mixed; boundary=\"x\"\r\n" +
                                          last + "\r\n\r\n--x\r\nContent-Type: message/rfc822\r\n\r\n" +
                                          Fields(12) + "\r\nforwarded\r\n--x--\r\n");
            const std::string two = lines(Fields(8) + "\r\nnext\r\n");
            int32_t rc;
            EXPECT_EQ(Split(one + two, KindGeneral, rc), 2) << eol.size() << last;
            EXPECT_EQ(Outputs(), (std::vector<std::string>{one, two})) << eol.size() << last;
        }
}

TEST_P(Multipart, AMessageCutShortDoesNotSwallowTheOnesAfterIt) {
    // Its parts never close: nothing is stepped over to a closing line, and
    // the messages after it are found. The part header after its delimiter
    // is read all the same, so the message its last part encloses stays in it.
    std::string cut = WithAttachedMessage("multipart/mixed", "cut", "cut");
    cut.resize(cut.find("\r\nthe returned body") + 2);
    const std::string next = Fields(8) + "\r\nnext\r\n";
    const std::string last = WithAttachedMessage("multipart/mixed", "b", "last");
    int32_t rc;
    EXPECT_EQ(Split(cut + next + last, KindGeneral, rc), 3);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{cut, next, last}));
}

TEST_P(Multipart, AFoldedLineAfterAnUnmarkedFieldDoesNotCutTheHeader) {
    // "X-Mailer:" allows no continuation by its mark, but its folded line is
    // still header: the message is neither cut in two nor started late.
    const std::string one = "From: a\r\nTo: b\r\n\r\nfirst\r\n";
    const std::string two = "Return-Path: <a>\r\nX-Mailer: Mail\r\n  version 2\r\nReceived: x\r\n"
                            "Date: d\r\nFrom: a\r\nTo: b\r\nSubject: s\r\nMessage-Id: <m>\r\n\r\nbody\r\n";
    int32_t rc;
    EXPECT_EQ(Split(one + two, KindGeneral, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{one, two}));
}

} // namespace
} // namespace corvex::test
