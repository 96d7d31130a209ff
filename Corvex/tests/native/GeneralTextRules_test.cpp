// Text without separators, rule by rule: each case shows where a rule finds
// or keeps a message, and where it stops. Every case comes after a first
// message, so that the setting's threshold (8) applies to it.
#include "ConvertTest.h"

namespace corvex::test {
namespace {

using Messages = std::vector<std::string>;

const std::string kFirst = "From: a@b\r\nTo: c@d\r\n\r\nfirst\r\n\r\n";

// With LF for CR LF.
std::string Lf(std::string text) {
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.replace(at, 2, "\n"), ++at;
    return text;
}

class RulesCase : public Convert {
protected:
    // The messages, run together after the first one as one input, must come
    // out as they are: each whole, in its own file.
    void ExpectSplit(const Messages &messages, int32_t kind = KindGeneral) {
        std::string text = kFirst;
        for (const std::string &m : messages)
            text += m;
        int32_t rc = -1;
        Messages want{kFirst};
        want.insert(want.end(), messages.begin(), messages.end());
        EXPECT_EQ(Split(text, kind, rc), int32_t(want.size()));
        EXPECT_EQ(rc, 0);
        EXPECT_EQ(Outputs(), want);
    }
};
CORVEX_CACHE_SIZES(RulesCase);

// A whole message of eight fields (no Date, so no strong start of its own).
const std::string kEight = "Return-Path: <a@b>\r\nReceived: from x\r\nFrom: a@b\r\nTo: c@d\r\n"
                           "Subject: s\r\nMessage-Id: <1@b>\r\nX-Mailer: m\r\nCc: e@f\r\n\r\nbody\r\n";

TEST_P(RulesCase, LfLfEndsTheHeaderAndTheNextMessageIsItsOwn) {
    // Two messages with LF line ends, the second right after the first's
    // header: the empty line between ends the first header (LF LF was once
    // one line end, and both headers made one run).
    const std::string one = Lf("Return-Path: <a@b>\r\nReceived: from x\r\nFrom: a@b\r\nTo: c@d\r\n"
                               "Subject: s\r\nMessage-Id: <1@b>\r\nX-Mailer: m\r\nCc: e@f\r\n\r\n");
    ExpectSplit({one, Lf(kEight)});
    // A lone CR ends a line as well.
    std::string cr = kEight;
    for (size_t at = 0; (at = cr.find("\r\n", at)) != std::string::npos;)
        cr.erase(at + 1, 1), ++at;
    ExpectSplit({cr, cr});
}

TEST_P(RulesCase, ANameIsComparedOverItsWholeLength) {
    // "Re" and "Subject" without colons are prose, not fields: the short
    // lines after the body do not make the body's last lines a header.
    const std::string one = "From: a\r\nSubject: s\r\nTo: t\r\nDate: d\r\nCc: c\r\nX-A: 1\r\n"
                            "X-B: 2\r\nX-C: 3\r\n\r\nbody\r\nRe\r\nSubject\r\nCc\r\n\r\n";
    ExpectSplit({one, kEight});
}

TEST_P(RulesCase, AnUnknownFirstFieldMovesTheStartUpAndAddsNothing) {
    const std::string signed_ = "DKIM-Signature: v=1; a=rsa-sha256;\r\n\tb=xyz\r\n" + kEight;
    ExpectSplit({signed_, kEight});
    // Unknown fields alone weigh nothing, and one without a blank after its
    // colon starts nothing: both stay in the message before.
    const std::string notes = kEight + "Note: one\r\nNote: two\r\n\r\nAuthor:me\r\nFrom: x\r\n\r\n";
    ExpectSplit({notes, kEight});
    // Seven known fields after two unknown ones are still seven.
    const std::string seven = "A-B: 1\r\nC-D: 2\r\nReturn-Path: <a@b>\r\nReceived: from x\r\n"
                              "From: a@b\r\nTo: c@d\r\nSubject: s\r\nMessage-Id: <1@b>\r\nCc: e@f\r\n\r\nbody\r\n";
    ExpectSplit({kEight + seven});
}

TEST_P(RulesCase, ADamagedFoldContinuesTheRunWithNoWeight) {
    // A folded line that lost its leading blank, followed by more fields.
    const std::string damaged = "Return-Path: <a@b>\r\nReceived: from x by y\r\n(envelope-from a@b)\r\n"
                                "From: a@b\r\nTo: c@d\r\nSubject: s\r\nMessage-Id: <1@b>\r\nX-Mailer: m\r\n"
                                "Cc: e@f\r\n\r\nbody\r\n";
    ExpectSplit({damaged, kEight});
    // Two such lines in a row end the run: four fields, then three more,
    // neither run reaching eight.
    const std::string two = "Return-Path: <a@b>\r\nReceived: from x\r\nFrom: a@b\r\nTo: c@d\r\n"
                            "(broken one)\r\n(broken two)\r\nSubject: s\r\nMessage-Id: <1@b>\r\n"
                            "X-Mailer: m\r\nCc: e@f\r\n\r\nbody\r\n";
    ExpectSplit({kEight + two});
}

TEST_P(RulesCase, AShortHeaderAfterAClosingDelimiter) {
    // A multipart message ends with its closing line; a header of two
    // fields after it is a new message, right after it or after an epilogue.
    const std::string multipart = "Return-Path: <a@b>\r\nFrom: a@b\r\nTo: c@d\r\nSubject: s\r\n"
                                  "Message-Id: <1@b>\r\nMIME-Version: 1.0\r\nX-Mailer: m\r\n"
                                  "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n--b\r\n"
                                  "Content-Type: text/plain\r\n\r\npart\r\n--b--\r\n";
    const std::string shortOne = "From: x@y\r\nSubject: hi\r\n\r\nshort\r\n";
    ExpectSplit({multipart, shortOne});
    ExpectSplit({multipart + "epilogue\r\nmore of it\r\n\r\n", shortOne});
    // The closing form of a boundary that the search does not know.
    ExpectSplit({kEight + "--some.boundary.1234--\r\n\r\n", shortOne});
    // A run of hyphens alone is no closing line, and prose is no epilogue of a
    // multipart: the short header stays in the message before.
    ExpectSplit({kEight + "----\r\n" + shortOne});
    ExpectSplit({kEight + "prose\r\n" + shortOne});
}

TEST_P(RulesCase, AnEncapsulatedCopyIsSteppedOver) {
    // RFC 934: the copied header after "------- Forwarded Message" belongs to
    // the message that forwards it, however heavy it is.
    const std::string forwarding = kEight + "\r\n------- Forwarded Message\r\n\r\n" + kEight +
                                   "\r\n------- End of Forwarded Message\r\n\r\n";
    ExpectSplit({forwarding, kEight});
    ExpectSplit({kEight + "--- Below this line is a copy of the message.\r\n" + kEight, kEight});
    // An armor line has dashes and two words, but introduces no copy.
    ExpectSplit({kEight + "-----BEGIN PGP SIGNATURE-----\r\nxyz\r\n", kEight});
    ExpectSplit({kEight + "-----END PGP SIGNATURE-----\r\n", kEight});
}

TEST_P(RulesCase, APartHeaderAloneIsNoMessage) {
    // Content-* fields and MIME-Version only: the header of a part, however
    // many of them (here the threshold's eight).
    const std::string part = "MIME-Version: 1.0\r\nContent-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n"
                             "Content-Disposition: inline\r\nContent-Description: d\r\nContent-ID: <i>\r\n"
                             "Content-Language: en\r\nContent-Base: b\r\n\r\npart\r\n";
    ExpectSplit({kEight + part, kEight});
    // One other field makes it a message's.
    ExpectSplit({kEight, "Subject: s\r\n" + part});
}

TEST_P(RulesCase, AStrongStartWithFromAndAReadableDate) {
    const std::string strong = "From: a@b\r\nDate: Tue, 7 Jan 2003 19:02:05 +0900\r\nSubject: s\r\n"
                               "To: c@d\r\n\r\nbody\r\n";
    ExpectSplit({strong, strong});
    // MIME-Version with a message's field is a strong pair too.
    ExpectSplit({kEight, "MIME-Version: 1.0\r\nTo: c@d\r\nSubject: s\r\nX-A: 1\r\n\r\nbody\r\n"});
    // An unreadable Date, a header not ended by an empty line, or fewer than
    // half the threshold's weight: no start.
    const std::string badDate = "From: a@b\r\nDate: someday\r\nSubject: s\r\nTo: c@d\r\n\r\nbody\r\n";
    ExpectSplit({kEight + badDate});
    ExpectSplit({kEight + "From: a@b\r\nDate: 7 Jan 2003 19:02 +0900\r\nSubject: s\r\nTo: c@d\r\nbody\r\n"});
    ExpectSplit({kEight + "From: a@b\r\nDate: 7 Jan 2003 19:02 +0900\r\nSubject: s\r\n\r\nbody\r\n"});
}

// A message that forwards another as a message/rfc822 attachment, the
// forwarded one a multipart of its own.
std::string Forwarding(const std::string &closing) {
    return "Return-Path: <a@b>\r\nFrom: a@b\r\nTo: c@d\r\nSubject: fwd\r\nMessage-Id: <1@b>\r\n"
           "MIME-Version: 1.0\r\nX-Mailer: m\r\nContent-Type: multipart/mixed; boundary=\"outer\"\r\n\r\n"
           "--outer\r\nContent-Type: text/plain\r\n\r\nsee the attachment\r\n"
           "--outer\r\nContent-Type: message/rfc822\r\n\r\n" + kEight.substr(0, kEight.find("\r\n\r\n") + 2) +
           "MIME-Version: 1.0\r\nContent-Type: multipart/alternative; boundary=\"inner\"\r\n\r\n"
           "--inner\r\nContent-Type: text/plain\r\n\r\nplain\r\n--inner\r\nContent-Type: text/html\r\n\r\n"
           "<p>html</p>\r\n--inner--\r\n" + closing;
}

TEST_P(RulesCase, AForwardedAttachmentWithAMultipartOfItsOwn) {
    ExpectSplit({Forwarding("--outer--\r\n"), kEight});
    // Cut short: the outer parts never close, yet the enclosed header is
    // read as the attachment's, and its own parts are followed.
    ExpectSplit({Forwarding(""), kEight});
}

TEST_P(RulesCase, ThreeNestedMultipartsAndABounceThatNeverCloses) {
    // A part of a part of a part: no closing lines at all, so each part
    // header is read and its boundary followed; the copy of a message inside
    // the innermost one stays in the message.
    const std::string nested = "Return-Path: <a@b>\r\nFrom: a@b\r\nTo: c@d\r\nSubject: s\r\n"
                               "Message-Id: <1@b>\r\nMIME-Version: 1.0\r\nX-Mailer: m\r\n"
                               "Content-Type: multipart/mixed; boundary=\"l1\"\r\n\r\n--l1\r\n"
                               "Content-Type: multipart/related; boundary=\"l2\"\r\n\r\n--l2\r\n"
                               "Content-Type: multipart/report; boundary=\"l3\"\r\n\r\n--l3\r\n"
                               "Content-Type: text/rfc822-headers\r\n\r\n" + kEight;
    ExpectSplit({nested, kEight});
    // A bounce whose returned message has no closing line.
    const std::string bounce = "Return-Path: <>\r\nFrom: MAILER-DAEMON\r\nTo: c@d\r\nSubject: failure\r\n"
                               "Message-Id: <2@b>\r\nMIME-Version: 1.0\r\nX-Mailer: m\r\n"
                               "Content-Type: multipart/report; boundary=\"r\"\r\n\r\n--r\r\n"
                               "Content-Type: text/plain\r\n\r\nundeliverable\r\n--r\r\n"
                               "Content-Type: message/rfc822\r\n\r\n" + kEight;
    ExpectSplit({bounce, kEight});
}

TEST_P(RulesCase, ANestingDeeperThanTheLimitStopsTrackingNotTheWalk) {
    // 70 levels, each opened and never closed: the deepest are not followed,
    // and the message after them is still found.
    std::string deep = "Return-Path: <a@b>\r\nFrom: a@b\r\nTo: c@d\r\nSubject: s\r\nMessage-Id: <1@b>\r\n"
                       "MIME-Version: 1.0\r\nX-Mailer: m\r\nContent-Type: multipart/mixed; boundary=\"b0\"\r\n\r\n";
    for (int level = 0; level < 70; ++level)
        deep += "--b" + std::to_string(level) + "\r\nContent-Type: multipart/mixed; boundary=\"b" +
                std::to_string(level + 1) + "\"\r\n\r\n";
    deep += "--b70\r\nContent-Type: text/plain\r\n\r\ndeep\r\n";
    ExpectSplit({deep, kEight});
}

TEST_P(RulesCase, AtNiftyInputAndTheTextBeforeAnMboxSeparatorFollowTheSameRules) {
    const std::string forwarding = kEight + "------- Forwarded Message\r\n" + kEight;
    int32_t rc;
    EXPECT_EQ(Split(kEight + forwarding + kEight, KindNifty, rc), 3);
    const std::string mbox = kEight + forwarding + "From a@b Mon Jan  1 00:00:00 2024\r\n" + kEight;
    EXPECT_EQ(Split(mbox, KindMbox, rc), 3);
    EXPECT_EQ(Outputs()[1], forwarding);
}

} // namespace
} // namespace corvex::test
