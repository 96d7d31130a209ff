// The exact bytes of the .eml files: general text, mbox and @nifty files,
// the dash-line replacement, zero bytes, multipart bodies, large messages.
// (The real-mail corpus goes through Kelpo.exe in its own test.)
#include <gtest/gtest.h>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"

namespace {

// Shift-JIS (code page 932) texts, spelled as bytes.
#define SUBJECT_LABEL "\x91\xe8\x96\xbc\x81\x46" /* 題名： */
#define HELLO_JA "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd" /* こんにちは */
#define BODY_JA "\x96\x7b\x95\xb6\x82\xc5\x82\xb7\x81\x42" /* 本文です。 */
#define BODY2_JA "\x96\x7b\x95\xb6\x82\x51" /* 本文２ */
#define LAST_JA "\x8d\xc5\x8c\xe3\x81\x42" /* 最後。 */
#define FIRST_MAIL_JA "\x8d\xc5\x8f\x89\x82\xcc\x83\x81\x81\x5b\x83\x8b" /* 最初のメール */
#define SECOND_JA "\x93\xf1\x94\xd4\x96\xda" /* 二番目 */
#define THIRD_JA "\x8e\x4f\x94\xd4\x96\xda" /* 三番目 */

struct FileTimes {
    int64_t created = -1, written = -1; // seconds since 1970 UTC
};

// The times of a file, as GetFileTime gives them through an open handle.
FileTimes TimesOf(const std::string &path) {
    FileTimes times;
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return times;
    FILETIME created, written;
    if (::GetFileTime(h, &created, nullptr, &written)) {
        auto seconds = [](const FILETIME &t) {
            const uint64_t ticks = uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime;
            return int64_t(ticks / 10000000ull) - 11644473600ll;
        };
        times.created = seconds(created);
        times.written = seconds(written);
    }
    ::CloseHandle(h);
    return times;
}

class OutputBytes : public ::testing::Test {
protected:
    TempFolder tmp;
    std::string out = tmp / "out";

    // Extracts `bytes` as `kind` and expects exactly `messages` as the
    // .eml files 00001.eml, 00002.eml, ...
    void Expect(const std::string &bytes, int32_t kind,
                const std::vector<std::string> &messages) {
        const std::string input = tmp / "input.txt";
        ASSERT_TRUE(WriteBytes(input, bytes));
        RemoveTree(out);
        int32_t rc = -1;
        EXPECT_EQ(int32_t(messages.size()), Dll().kelpo(input.c_str(), out.c_str(), kind, &rc));
        EXPECT_EQ(0, rc);
        std::vector<std::string> names;
        for (size_t i = 0; i < messages.size(); ++i)
            names.push_back(EmlName(int(i) + 1));
        EXPECT_EQ(names, SortedEntries(out));
        for (size_t i = 0; i < messages.size() && i < names.size(); ++i) {
            bool ok = false;
            const std::string got = ReadBytes(out + "\\" + names[i], &ok);
            EXPECT_TRUE(ok);
            EXPECT_EQ(messages[i], got) << names[i];
        }
    }
};

TEST_F(OutputBytes, GeneralTextIsCutAtEachMessageStart) {
    MailFile mail;
    mail.Line("text before the first message goes nowhere")
        .Message(3, HELLO_JA)
        .Line("")
        .Line(">From a quoted line")
        .Message(8, "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x96\x7b\x95\xb6") /* 日本語の本文 */
        .Message(9, "9 fields above")
        .Raw("the last line has no line end");
    ASSERT_EQ(3u, mail.Starts().size());
    Expect(mail.Bytes(), KindGeneral,
           {mail.MessageBytes(0), mail.MessageBytes(1), mail.MessageBytes(2)});
}

TEST_F(OutputBytes, ALineOfEightHyphensEndingTheHeaderBecomesAField) {
    // The hyphen line continues the marked Date field; the body line ends
    // the run, so the header block ends with the hyphens, CR LF and one byte.
    Expect("Date: Mon, 1 Jan 2001\r\n--------\r\nbody text\r\n", KindGeneral,
           {"Date: Mon, 1 Jan 2001\r\nX-Ds:8\r\n\r\nbody text\r\n"});
    // The same for a later message of the file.
    const std::string first = "From: a\r\n\r\nhello\r\n";
    const std::string second = PlainFields(7) + "Date: x\r\n--------\r\nbody two\r\n";
    Expect(first + second, KindGeneral,
           {first, PlainFields(7) + "Date: x\r\nX-Ds:8\r\n\r\nbody two\r\n"});
}

TEST_F(OutputBytes, OnlyAWholeLineOfEightHyphensIsReplaced) {
    for (const char *bytes : {
             "Date: x\r\n---------\r\nbody\r\n",   // nine hyphens
             "Date: x\r\n x--------\r\nbody\r\n",  // hyphens that end a longer line
             "Date: x\n---------\nbody\n",         // LF line ends
             "Date: x\n--------\n\nbody\n",         // LF LF after the hyphens
         }) {
        SCOPED_TRACE(bytes);
        Expect(bytes, KindGeneral, {bytes});
    }
}

TEST_F(OutputBytes, ZeroBytesInTheInput) {
    // A zero byte is data like any other: a line that begins with one goes
    // on with the field before it, so the header block goes on too.
    const std::string second = PlainFields(8) + "\r\nbody\r\n";
    const std::string joined = std::string("From: a\r\n\0", 10) + second;
    Expect(joined, KindGeneral, {joined});
    // A zero byte in a body stays in its message, and the search goes on
    // after it: the next message is found.
    const std::string first = std::string("From: a\r\n\r\nbody\0more\r\n\0\r\n", 25);
    Expect(first + second, KindGeneral, {first, second});
    Expect(std::string(4096, '\0') + "\r\n" + first + second, KindGeneral, {first, second});
}

TEST_F(OutputBytes, MboxMessagesComeOutAsTheyWereStored) {
    // The writer quoted a body line that began "From " and put an empty line
    // after each message: both are taken away again.
    const std::string one = "Return-Path: <alice@example.jp>\n"
                            "Received: from mx.example.jp\n"
                            "Date: Mon, 1 Jan 2001 09:00:00 +0900\n"
                            "From: alice@example.jp\n"
                            "To: bob@example.jp\n"
                            "Subject: first\n"
                            "Message-Id: <1@example.jp>\n"
                            "MIME-Version: 1.0\n"
                            "\n"
                            "Hello Bob.\n"
                            "From the archives, a quoted line.\n";
    const std::string two = "Return-Path: <bob@example.jp>\n"
                            "Received: from mx.example.jp\n"
                            "Date: Mon, 1 Jan 2001 10:00:00 +0900\n"
                            "From: bob@example.jp\n"
                            "To: alice@example.jp\n"
                            "Subject: Re: first\n"
                            "In-Reply-To: <1@example.jp>\n"
                            "Message-Id: <2@example.jp>\n"
                            "\n"
                            "Reply.\n";
    const std::string three = "Return-Path: <carol@example.jp>\n"
                              "Received: from mx.example.jp\n"
                              "Date: Mon, 1 Jan 2001 11:00:00 +0900\n"
                              "From: carol@example.jp\n"
                              "To: alice@example.jp\n"
                              "Subject: " HELLO_JA "\n"
                              "Message-Id: <3@example.jp>\n"
                              "MIME-Version: 1.0\n"
                              "\n"
                              "Last one.\n";
    std::string quoted = one;
    quoted.insert(quoted.find("From the archives"), ">");
    const std::string box = "From alice@example.jp Mon Jan  1 09:00:00 2001\n" + quoted + "\n" +
                            "From bob@example.jp Mon Jan  1 10:00:00 2001\n" + two + "\n" +
                            "From carol@example.jp Mon Jan  1 11:00:00 2001\n" + three;
    Expect(box, KindMbox, {one, two, three});
    // Each file is dated as its Date field says, in UTC (2001-01-01 00:00,
    // 01:00, 02:00), its creation time too.
    for (int i = 0; i < 3; ++i) {
        const FileTimes t = TimesOf(out + "\\" + EmlName(i + 1));
        EXPECT_EQ(978307200 + i * 3600, t.written) << i;
        EXPECT_EQ(t.written, t.created) << i;
    }
    // Counting finds the same three messages.
    const std::string input = tmp / "input.txt";
    int32_t rc = -1;
    EXPECT_EQ(3, Dll().countInFile(input.c_str(), &rc));
}

TEST_F(OutputBytes, FilesWithoutADateFieldTakeTheSeparatorsDateOrKeepTheirOwn) {
    const std::string one = "Subject: no date\r\n\r\nbody\r\n";
    const std::string two = "Subject: a date\r\nDate: Sat, 01 Jan 2000 09:00:00 JST\r\n\r\nbody\r\n";
    Expect("From a@b Sat Jan  1 00:00:00 2000\r\n" + one + "\r\n" +
               "From - Tue Feb  1 00:00:00 2000 +0100\r\n" + two,
           KindMbox, {one, two});
    EXPECT_EQ(946684800, TimesOf(out + "\\00001.eml").written); // the separator's, as UTC
    EXPECT_EQ(946684800, TimesOf(out + "\\00002.eml").written); // the field's, not the separator's
    // In general text a message without a Date keeps the time it was written at.
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const int64_t nowSeconds =
        int64_t((uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime) / 10000000ull) - 11644473600ll;
    const std::string general = PlainFields(9) + "\r\nbody\r\n";
    Expect(general, KindGeneral, {general});
    EXPECT_GE(TimesOf(out + "\\00001.eml").written, nowSeconds - 5);
}

TEST_F(OutputBytes, NiftyMessagesEndBeforeTheirSubjectLines) {
    const std::string separator = std::string(40, '-') + "\r\n";
    // Each message's own header block, as the bulk save writes it after the
    // separator and the subject line.
    const std::string header = "Received: from mx.example.jp\r\n"
                               "Date: Mon, 1 Jan 2001 09:00:00 +0900\r\n"
                               "From: sender@example.jp\r\n"
                               "To: rcpt@example.jp\r\n"
                               "Subject: " HELLO_JA "\r\n"
                               "Message-Id: <1@example.jp>\r\n"
                               "MIME-Version: 1.0\r\n"
                               "Content-Type: text/plain; charset=Shift_JIS\r\n"
                               "\r\n";
    const std::string file = separator + SUBJECT_LABEL FIRST_MAIL_JA "\r\n" + header +
                             BODY_JA "\r\n" + "\r\n" + separator +
                             SUBJECT_LABEL SECOND_JA "\r\n" + header + BODY2_JA "\r\n" +
                             separator + SUBJECT_LABEL THIRD_JA "\r\n" + header + LAST_JA "\r\n";
    // The cut takes the subject line, the line above it and the line end
    // before that; text after the last message stays with it.
    Expect(file, KindNifty,
           {header + BODY_JA "\r\n", header + BODY2_JA, header + LAST_JA "\r\n"});
}

TEST_F(OutputBytes, AttachedMessagesInAMultipartBodyStayInTheirMessage) {
    for (const char *parameter : {"boundary=abc; x=y", "boundary=\"abc\"; x=y",
                                  "boundary=abc\tx=y", "boundary=\"abc\""}) {
        SCOPED_TRACE(parameter);
        const std::string first = PlainFields(7) + "Content-Type: multipart/mixed; " +
                                  parameter + "\r\n" +
                                  "Subject: with an attachment\r\n"
                                  "\r\n"
                                  "--abc\r\n"
                                  "Content-Type: text/plain\r\n"
                                  "\r\n"
                                  "see the attached message\r\n"
                                  "--abc\r\n"
                                  "Content-Type: message/rfc822\r\n"
                                  "\r\n" +
                                  PlainFields(9) +
                                  "Subject: forwarded\r\n"
                                  "\r\n"
                                  "forwarded body\r\n"
                                  "--abc--\r\n"
                                  "\r\n";
        const std::string second = PlainFields(8) + "\r\nafter the attachment\r\n";
        Expect(first + second, KindGeneral, {first, second});
    }
}

TEST_F(OutputBytes, MboxMessagesRunFromSeparatorToSeparatorWhateverTheyHold) {
    // A forwarded header block in the body, a body line that begins "From "
    // and no empty line before the next separator: none of them splits the
    // message, and the separators belong to none.
    const std::string one = "Subject: fw\r\n\r\nFrom here on, the forwarded mail:\r\n\r\n" +
                            PlainFields(12) + "Subject: inner\r\n\r\ninner body\r\n";
    const std::string two = "Subject: " HELLO_JA "\r\n\r\nlast\r\n";
    Expect("From a@b Mon Jan  1 09:00:00 2001\r\n" + one + "From c@d Mon Jan  1 10:00:00 2001\r\n" +
               two,
           KindMbox, {one, two});
}

TEST_F(OutputBytes, EachMultipartMessageStepsOverItsOwnParts) {
    // A bounce with the returned message as a part, then a message with a
    // boundary of its own and a forwarded message inside.
    auto multipart = [](const std::string &type, const std::string &boundary) {
        return PlainFields(7) + "Content-Type: " + type + ";\r\n boundary=\"" + boundary +
               "\"\r\nSubject: s\r\n\r\n--" + boundary + "\r\nContent-Type: message/rfc822\r\n\r\n" +
               PlainFields(10) + "\r\nreturned\r\n--" + boundary + "--\r\n\r\n";
    };
    const std::string bounce = multipart("multipart/report; report-type=delivery-status", "r1");
    const std::string forward = multipart("multipart/mixed", "m2");
    Expect(bounce + forward, KindGeneral, {bounce, forward});
}

TEST_F(OutputBytes, LargeMessagesAreWrittenWhole) {
    std::string body;
    body.reserve(6 << 20);
    for (int i = 0; body.size() < (6u << 20); ++i)
        body += std::to_string(1000000 + i) + " the quick brown fox jumps over the lazy dog\r\n";
    MailFile mail;
    mail.Message(3, body + "end of the big one").Message(8, "small");
    Expect(mail.Bytes(), KindGeneral, {mail.MessageBytes(0), mail.MessageBytes(1)});
}

} // namespace
