// NUL bytes are data in every kind: they end no line, no run, no search and
// no message, and no message begins at one. Files left behind by a program
// that crashed, or padded by a disk tool, hold them.
#include "ConvertTest.h"

#include "Corvex.h"

namespace corvex::test {
namespace {


const std::string kNul(1, '\0');

std::string Joined(const std::vector<std::string> &files) {
    std::string all;
    for (const std::string &f : files)
        all += f;
    return all;
}

// Every message that a header run found begins with its first field line.
void ExpectNoneBeginsAtANul(const std::vector<std::string> &files) {
    for (const std::string &f : files)
        EXPECT_TRUE(!f.empty() && f[0] != '\0') << f.substr(0, 20);
}

TEST_P(Convert, AHeaderGoesOnPastANulAtEveryThreshold) {
    // Six fields, a line that is a NUL (it continues "Subject:"), a field
    // with a NUL in it, five more fields: one run of twelve.
    const std::string header = Fields(6) + kNul + "\r\nSubject: a" + kNul + "b\r\n" + Fields(5);
    const std::string message = header + "\r\nbody\r\n";
    const std::string separated = "From a@b Mon Jan  1 00:00:00 2001\r\n" + Fields(2) + "\r\nnext\r\n";
    for (const char *setting : {"4", "8", "12"}) {
        SCOPED_TRACE(setting);
        host.settingMissing = false;
        host.setting = setting;
        int32_t rc = -1;
        for (int32_t kind : {KindGeneral, KindNifty, KindMbox}) {
            SCOPED_TRACE(kind);
            EXPECT_EQ(Split("words\r\n" + message, kind, rc), 1);
            EXPECT_EQ(rc, 0);
            EXPECT_EQ(Outputs(), std::vector<std::string>{message});
        }
        // Before an mbox's first separator as after it.
        EXPECT_EQ(Split("words\r\n" + message + separated, KindMbox, rc), 2);
        EXPECT_EQ(Outputs(), (std::vector<std::string>{message, Fields(2) + "\r\nnext\r\n"}));
    }
}

TEST_P(Convert, ANulInTheFirstBodyHidesNoMessageAfterIt) {
    std::string text = Fields(8) + "\r\nbroken" + kNul + " body\r\n\r\n";
    for (int i = 0; i < 100; ++i)
        text += Fields(8) + "\r\nbody " + std::to_string(i) + "\r\n\r\n";
    int32_t rc = -1;
    for (int32_t kind : {KindGeneral, KindNifty, KindMbox}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(Split(text, kind, rc), 101);
        EXPECT_EQ(rc, 0);
        const std::vector<std::string> files = Outputs();
        EXPECT_TRUE(Joined(files) == text);
        ExpectNoneBeginsAtANul(files);
    }
}

TEST_P(Convert, RunsOfNulBetweenMessagesAndInsideAHeader) {
    const std::string padding(5000, '\0');
    const std::string first = Fields(8) + "\r\nbody one\r\n";
    const std::string second = "Return-Path: <a@b>\r\nSubject: " + std::string(300, '\0') + "\r\n" +
                               Fields(8) + "\r\nbody two\r\n";
    const std::string third = Fields(8) + "\r\nbody three\r\n";
    const std::string text = first + padding + "\r\n" + second + padding + "\r\n" + third;
    int32_t rc = -1;
    for (int32_t kind : {KindGeneral, KindNifty, KindMbox}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(Split(text, kind, rc), 3);
        // The padding after a body belongs to that message.
        EXPECT_EQ(Outputs(), (std::vector<std::string>{first + padding + "\r\n",
                                                       second + padding + "\r\n", third}));
    }
}

TEST_P(Convert, NulBytesInAnMboxBeforeAndAfterItsFirstSeparator) {
    // Before the separator a header run is found after the NUL line, never
    // at it; after it, the NUL bytes are part of the message they are in.
    const std::string before = "junk\r\n" + kNul + kNul + "\r\n" + Fields(8) + "\r\nbody" + kNul + "\r\n";
    const std::string message = Fields(3) + "\r\nbody" + kNul + kNul + "\r\n" + kNul + "\r\n";
    const std::string text = before + "From a@b Mon Jan  1 00:00:00 2001\r\n" + message;
    int32_t rc = -1;
    EXPECT_EQ(Split(text, KindMbox, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{before.substr(10), message}));
}

} // namespace
} // namespace corvex::test
