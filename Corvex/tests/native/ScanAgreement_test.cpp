// The scanner steps over the body lines of a block many at a time and tells
// field names apart by their first bytes and their colon. With a cache of one
// byte no line lies in a block, so every line is taken alone by the long way:
// whatever the cache, the split must be the same, in every kind of file.
#include <random>

#include "ConvertTest.h"

namespace corvex::test {
namespace {

// Lines that decide where runs begin and end: names of the table and others,
// names cut short, folded lines, delimiters, empty lines, body text.
const char *const kLines[] = {
    "Received: from a (b [192.0.2.1])", "\tby mx.example.org with ESMTP id 1", " for <c@d>;",
    "Return-Path: <a@b>", "Date: Mon, 1 Jan 2001 00:00:00 +0900", "From: a@b", "To: c@d",
    "Cc: e@f", "Cc", "Cc:", "Con", "Content-Typ", "Content-Type: text/plain",
    "Content-Type: multipart/mixed;", "\tboundary=\"b1\"", "Content-Type: multipart/alternative; boundary=b2",
    "Content-Transfer-Encoding: 7bit", "Content-Description: x", "Content-ID: <1>",
    "Subject: s", "Message-ID: <1@b>", "MIME-Version: 1.0", "X-Mailer: m", "X-", "X-MS-TNEF-Correlator: 1",
    "X-MS-TNEF-Correlator:1", "Xyz: 1", "Thread-Topic: t", "References: <r>", "Reply-To: r",
    "Abc-Def: q", "zz: y", "Lines: 3", "Newsgroups: n", "Organization: o", "Priority: p",
    "--b1", "--b1--", "--b2", "--b2--", "-- ", "", "", "", "From x@y Mon Jan  1 00:00:00 2001",
    ">From x", "the fourth floor works for you. I have asked the vendor",
    "Cc the list please", "Received the papers, thanks", "Content is fine", "To whom it may concern",
    "PrU6vjIeommf9sQWHyH1lEUVodsmx3HMXG5hN3vDaeztYmg154UsQKkKuTkQxG+m1COeHG",
    "\x1b$B$40MMj$N;qNA\x1b(B", "\x82\xa0\x82\xa2", "<p>html</p>", "> quoted", "12345",
    "a-very-long-name-of-letters-and-hyphens-only: v",
    "Received: from a-host-whose-name-makes-this-line-longer-than-one-hundred-and-twenty-eight-bytes"
    ".example.org (another.example.net [192.0.2.200]) by mx.example.org",
};
const char *const kEnds[] = {"\r\n", "\n", "\r", "\n\n", "\r\n"};

// Messages and loose lines in a fixed random order, of about size bytes.
std::string Mixed(unsigned seed, size_t size, bool withNul) {
    std::mt19937 random(seed);
    auto pick = [&](size_t n) { return size_t(random() % n); };
    // Words and a separator before the first message: in an mbox they are
    // split by header runs up to that separator, and no further.
    std::string text = "Words before the first message\r\nand more of them\r\n"
                       "From x@y Mon Jan  1 00:00:00 2001\n";
    while (text.size() < size) {
        const char *end = kEnds[pick(3) ? 0 : pick(5)];
        if (pick(3) == 0)
            text += Fields(int(4 + pick(9)));
        for (size_t i = pick(40); i > 0; --i) {
            text += kLines[pick(sizeof kLines / sizeof *kLines)];
            text += pick(20) ? end : kEnds[pick(5)];
        }
    }
    // A NUL is data like any other: here at the end of a body line, with a
    // message after it.
    if (withNul)
        text.insert(text.find("\r\n", text.size() / 2) + 2,
                    std::string("words of a body\r\nmore words of it\0\r\n", 36) + Fields(8) + "\r\nbody\r\n");
    return text;
}

class Agreement : public Convert {
protected:
    // Splits text as a file of the given kind with a cache of cacheSize
    // bytes: the count, the result code and every output file.
    struct Split {
        int32_t count, rc;
        std::vector<std::string> files;
        bool operator==(const Split &o) const { return count == o.count && rc == o.rc && files == o.files; }
    };
    Split With(size_t cacheSize, int32_t kind) {
        std::filesystem::remove_all(dir / "out");
        Split s;
        CallContext ctx(host, cacheSize);
        s.rc = -1;
        s.count = ExtractFromPath(ctx, (dir / "mail.txt").c_str(), (dir / "out").c_str(), kind,
                                  nullptr, &s.rc, nullptr);
        s.files = Outputs();
        return s;
    }
};
INSTANTIATE_TEST_SUITE_P(CacheSizes, Agreement, ::testing::Values(size_t(7), size_t(64), size_t(1000),
                                                                   kDefaultCacheSize));

TEST_P(Agreement, LinesTakenManyAtATimeSplitAsLinesTakenOneByOne) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        WriteFile(dir / "mail.txt", Mixed(seed, GetParam() == kDefaultCacheSize ? 300000 : 40000, seed == 3));
        for (int32_t kind : {KindGeneral, KindNifty, KindMbox}) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", kind " + std::to_string(kind));
            const Split alone = With(1, kind);
            ASSERT_GT(alone.count, 10);
            EXPECT_TRUE(With(GetParam(), kind) == alone);
        }
    }
}

} // namespace
} // namespace corvex::test
