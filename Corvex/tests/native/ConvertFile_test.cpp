// One input file into .eml files: message ends, trimming, the dash line,
// names, folders and failures, through ExtractFromPath on real files.
#include "ConvertFile.h"

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "ConvertTest.h"

namespace corvex::test {

std::vector<std::array<uint32_t, 4>> g_progress;
int32_t CORVEX_CALL Record(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    g_progress.push_back({a, b, c, d});
    return 7;
}

namespace {

CORVEX_CACHE_SIZES(Convert);

const std::string kSecond = Fields(8) + "\r\nsecond body\r\n";

TEST_P(Convert, TwoGeneralMessagesIntoAMissingFolder) {
    const std::string first = "From: a\r\nTo: b\r\nSubject: c\r\n\r\nhello\r\n\r\n";
    int32_t rc = -1;
    EXPECT_EQ(Split(first + kSecond, KindGeneral, rc), 2);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(List(dir / "out"), (std::vector<std::string>{"00001.eml", "00002.eml"}));
    EXPECT_EQ(Out("00001.eml"), first); // 39 bytes: up to the second message's first byte
    EXPECT_EQ(Out("00002.eml"), kSecond); // to the end of the file, nothing added
}

TEST_P(Convert, TextBeforeTheFirstMessageGoesNowhere) {
    int32_t rc;
    EXPECT_EQ(Split("preamble\r\n" + kSecond, KindMbox, rc), 1);
    EXPECT_EQ(Out("00001.eml"), kSecond);
}

TEST_P(Convert, MboxSeparatorsAreCutOffTheMessageBefore) {
    const std::string one = Fields(8) + "\r\nbody one\r\n>From quoted\r\n\r\n";
    const std::string sep = "From a@b Mon Jan  1 00:00:00 2024\r\n";
    const std::string two = Fields(9) + "\r\nbody two\r\n";
    int32_t rc;
    EXPECT_EQ(Split(sep + one + sep + two, KindMbox, rc), 2);
    EXPECT_EQ(Out("00001.eml"), Fields(8) + "\r\nbody one\r\nFrom quoted\r\n");
    EXPECT_EQ(Out("00002.eml"), two);
    // Two lines above the next header block a "From " line stays.
    const std::string high = Fields(8) + "\r\nFrom me\r\nyes\r\n";
    EXPECT_EQ(Split(high + two, KindMbox, rc), 2);
    EXPECT_EQ(Out("00001.eml"), high);
}

TEST_P(Convert, NiftyLeadInLinesAreCutAndTheLastLineKeepsItsBytes) {
    const std::string title = "\x91\xe8\x96\xbc\x81\x46";
    const std::string one = Fields(8) + "\r\nbody \x82\xa0\r\n";
    const std::string lead = "\r\n----------\r\n" + title + "next\r\n";
    const std::string two = Fields(8) + "\r\nbody two\r\n";
    int32_t rc;
    EXPECT_EQ(Split(one + lead + two, KindNifty, rc), 2);
    // The cut stops right after the last byte of the line two above the
    // subject line: here the message's own last line, with its line end.
    EXPECT_EQ(Out("00001.eml"), one);
    // Without the empty line, the message ends with its last character.
    EXPECT_EQ(Split(one + "----------\r\n" + title + "x\r\n" + two, KindNifty, rc), 2);
    EXPECT_EQ(Out("00001.eml"), one.substr(0, one.size() - 2));
}

TEST_P(Convert, TheDashLineBecomesAFieldOnlyForExactlyEightHyphensAndCrLf) {
    const std::string head = "From: a\r\nDate: d\r\n";
    int32_t rc;
    Split(head + "--------\r\nbody\r\n", KindGeneral, rc);
    EXPECT_EQ(Out("00001.eml"), head + "X-Ds:8\r\n\r\nbody\r\n");
    Split(head + "---------\r\nbody\r\n", KindGeneral, rc);
    EXPECT_EQ(Out("00001.eml"), head + "---------\r\nbody\r\n");
    Split("From: a\nDate: d\n---------\nbody\n", KindGeneral, rc);
    EXPECT_EQ(Out("00001.eml"), "From: a\nDate: d\n---------\nbody\n");
    Split("From: a\nDate: d\n--------\nbody\n", KindGeneral, rc);
    EXPECT_EQ(Out("00001.eml"), "From: a\nDate: d\n--------\nbody\n");
}

TEST_P(Convert, ARealNulAtTheEndOfAMessageIsKept) {
    const std::string one = Fields(8) + "\r\nbody\r\n" + std::string(1, '\0') + "\r\n";
    int32_t rc;
    // The NUL is data: the message after it is found all the same.
    EXPECT_EQ(Split(one + kSecond, KindMbox, rc), 2);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{one, kSecond}));
    EXPECT_EQ(Split("xx\r\n" + one, KindMbox, rc), 1);
    EXPECT_EQ(Out("00001.eml"), one);
}

TEST_P(Convert, FreeNamesFillGapsAndNumberOnAcrossFiles) {
    MakeDirs(dir / "out");
    WriteFile(dir / "out/00001.eml", "x");
    WriteFile(dir / "out/00003.eml", "y");
    WriteFile(dir / "mail.txt", kSecond + kSecond + kSecond);
    int32_t rc;
    EXPECT_EQ(Run(dir / "mail.txt", dir / "out", KindMbox, &rc), 3);
    EXPECT_EQ(List(dir / "out"), (std::vector<std::string>{"00001.eml", "00002.eml", "00003.eml",
                                                          "00004.eml", "00005.eml"}));
    EXPECT_EQ(Out("00001.eml"), "x");

    MakeDirs(dir / "in");
    WriteFile(dir / "in/a", kSecond);
    WriteFile(dir / "in/b", kSecond + kSecond);
    int before = host.createNewOutputs;
    EXPECT_EQ(Run(dir / "in", dir / "out", KindMbox, &rc), 3);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(List(dir / "out").size(), 8u);
    // The first file tries 1 to 6; the second starts again at 1 but asks only
    // about the names the call has not seen yet: 7 and 8.
    EXPECT_EQ(host.createNewOutputs - before, 6 + 2);
}

TEST_P(Convert, NoFreeNameLeftGives1009AndStillCountsEverything) {
    if (GetParam() != kDefaultCacheSize)
        GTEST_SKIP() << "ten million names are asked for once, with one cache size";
    // Every name is taken but the last of all: the names go on past 99999.eml
    // by the same pattern, up to 9999999.eml.
    host.attributesTaken = [](const std::string &p) {
        return p.size() > 4 && p.compare(p.size() - 4, 4, ".eml") == 0 &&
               p.compare(p.size() - 12, 12, "/9999999.eml") != 0;
    };
    int32_t rc;
    EXPECT_EQ(Split(kSecond + kSecond + kSecond, KindMbox, rc), 3);
    EXPECT_EQ(rc, ResultTooManyFiles);
    EXPECT_EQ(List(dir / "out"), std::vector<std::string>{"9999999.eml"});
    EXPECT_EQ(Out("9999999.eml"), kSecond);
}

TEST_P(Convert, LongerNamesThatDoNotFitBesideTheFolderGive1009) {
    // A folder path that leaves room for five-digit names only: the 100000th
    // name would pass 259 bytes, and is refused, never cut.
    std::string folder = dir.path();
    while (folder.size() < 249)
        folder += "/" + std::string(std::min<size_t>(40, 248 - folder.size()), 'f');
    folder.resize(249);
    ASSERT_EQ(folder.size() + 1 + 9 + 1, 260u);
    host.attributesTaken = [&](const std::string &p) {
        return p.size() > 4 && p.compare(p.size() - 4, 4, ".eml") == 0 &&
               p.compare(p.size() - 10, 10, "/99999.eml") != 0;
    };
    WriteFile(dir / "m", kSecond + kSecond);
    int32_t rc;
    EXPECT_EQ(Run(dir / "m", folder, KindMbox, &rc), 2);
    EXPECT_EQ(rc, ResultTooManyFiles);
    EXPECT_EQ(List(folder), std::vector<std::string>{"99999.eml"});
}

TEST_P(Convert, ANameThatCanBeNeitherMadeNorLookedUpStopsAtOnce) {
    // Not "it exists": no later name would fare better (a folder without
    // permission, a device), so the work stops with 1007 instead of trying
    // every name up to 9999999.eml.
    host.attributesError = [](const std::string &p) { return p.find(".eml") != std::string::npos; };
    int32_t rc;
    EXPECT_EQ(Split(kSecond + kSecond, KindMbox, rc), 2); // the count goes on to the end
    EXPECT_EQ(rc, ResultFileCreateError);
    EXPECT_EQ(host.createNewOutputs, 1);
    EXPECT_TRUE(List(dir / "out").empty());
    // A name that is taken moves on to the next.
    host.attributesError = nullptr;
    host.attributesTaken = [](const std::string &p) { return p.find("00001.eml") != std::string::npos; };
    EXPECT_EQ(Split(kSecond, KindMbox, rc), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(List(dir / "out"), std::vector<std::string>{"00002.eml"});
}

TEST_P(Convert, AFolderRemovedDuringTheCallIsMadeAgain) {
    // Removed from inside the progress callback, before the second message.
    WriteFile(dir / "mail.txt", kSecond + kSecond);
    static std::string folder;
    folder = dir / "out";
    struct Remover {
        static int32_t CORVEX_CALL Call(uint32_t, uint32_t, uint32_t offset, uint32_t) {
            if (offset)
                std::filesystem::remove_all(folder);
            return 0;
        }
    };
    int32_t rc;
    EXPECT_EQ(Run(dir / "mail.txt", folder, KindMbox, &rc, nullptr, Remover::Call), 2);
    EXPECT_EQ(rc, 0);
    // Within a file the numbers only rise, so the new folder starts at 2.
    EXPECT_EQ(List(folder), std::vector<std::string>{"00002.eml"});
    EXPECT_EQ(Out("00002.eml"), kSecond);
}

TEST_P(Convert, OutputFolderThatIsAFileGives1008AndNoFile) {
    WriteFile(dir / "out", "file");
    WriteFile(dir / "mail.txt", kSecond + kSecond);
    int32_t rc;
    EXPECT_EQ(Run(dir / "mail.txt", dir / "out", KindMbox, &rc), 2);
    EXPECT_EQ(rc, ResultOutputNameTaken);
    EXPECT_EQ(ReadFile(dir / "out"), "file");
}

TEST_P(Convert, CreateAndWriteFailuresGive1007AndStopWriting) {
    host.createFails = [](const std::string &p) { return p.find("00002.eml") != std::string::npos; };
    int32_t rc;
    EXPECT_EQ(Split(kSecond + kSecond + kSecond, KindMbox, rc), 3);
    EXPECT_EQ(rc, ResultFileCreateError);
    EXPECT_EQ(List(dir / "out"), std::vector<std::string>{"00001.eml"});
    // The folder was looked at again before giving up on the name.
    EXPECT_EQ(host.createOutputs, 1);

    host.createFails = nullptr;
    host.failWriteAt = host.writes; // the next write fails half-way (a full disk)
    TempDir other;
    WriteFile(other / "m", kSecond + kSecond);
    EXPECT_EQ(Run(other / "m", other / "out", KindMbox, &rc), 2);
    EXPECT_EQ(rc, ResultFileCreateError);
    // The cut file is removed: every .eml file left is a whole message, and a
    // second run after freeing space starts at 00001.eml again.
    EXPECT_TRUE(List(other / "out").empty());
    EXPECT_EQ(host.removed, std::vector<std::string>{other / "out/00001.eml"});
    EXPECT_EQ(Run(other / "m", other / "out", KindMbox, &rc), 2);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(List(other / "out"), (std::vector<std::string>{"00001.eml", "00002.eml"}));

    // When the cut file cannot be removed either, the code is still 1007.
    host.failWriteAt = host.writes;
    host.removeFails = [](const std::string &) { return true; };
    TempDir third;
    WriteFile(third / "m", kSecond);
    EXPECT_EQ(Run(third / "m", third / "out", KindMbox, &rc), 1);
    EXPECT_EQ(rc, ResultFileCreateError);
    EXPECT_EQ(ReadFile(third / "out/00001.eml"), kSecond.substr(0, kSecond.size() / 2));
}

TEST_P(Convert, AFailedReadWhileCopyingIsAnInputFailureNotSilentZeros) {
    // Every read fails once the first output file exists: what the copy must
    // read anew cannot be had. That is the input's failure (1001), and the
    // message that could not be read whole is not left behind.
    host.failReadsAfterCreate = true;
    int32_t rc;
    EXPECT_EQ(Split(kSecond, KindMbox, rc), 1);
    if (GetParam() > kSecond.size()) {
        EXPECT_EQ(rc, 0); // the one block read during the scan holds it all
        EXPECT_EQ(Out("00001.eml"), kSecond);
    } else {
        EXPECT_EQ(rc, ResultInputFileNotFound);
        EXPECT_TRUE(List(dir / "out").empty());
    }
}

TEST_P(Convert, AnInputCutDuringTheRunIsAFailureAndLeavesNoCutMessage) {
    // Another program cuts the file to half while it is read: messages that
    // were read whole stay, the rest is not reported as written.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "From a@b Sat Jan  1 00:00:00 2000\r\n" + Fields(8) + "\r\nbody " + std::to_string(i) +
                " of a message that takes a few lines\r\nand goes on\r\n\r\n";
    for (int32_t kind : {KindGeneral, KindNifty, KindMbox}) {
        int32_t rc = -1;
        ASSERT_EQ(Split(text, kind, rc), 40);
        const std::vector<std::string> whole = Outputs();
        for (bool extract : {true, false}) {
            SCOPED_TRACE(std::to_string(kind) + (extract ? " extract" : " count"));
            std::filesystem::remove_all(dir / "out");
            WriteFile(dir / "mail.txt", text);
            host.reads = 0;
            host.cutAtRead = GetParam() == kDefaultCacheSize ? 0 : 200;
            host.cutTo = text.size() / 2;
            const int32_t count = Run(dir / "mail.txt", extract ? dir / "out" : "", kind, &rc);
            host.cutAtRead = -1;
            EXPECT_EQ(rc, ResultInputFileNotFound);
            EXPECT_LT(count, 40);
            // The files left are the first messages, each whole.
            if (extract) {
                const std::vector<std::string> left = Outputs();
                EXPECT_LT(left.size(), whole.size());
                EXPECT_TRUE(std::equal(left.begin(), left.end(), whole.begin()));
            }
        }
    }
}

std::string g_growing;
int32_t CORVEX_CALL GrowTheFile(uint32_t, uint32_t, uint32_t, uint32_t) {
    std::ofstream(g_growing, std::ios::app) << Fields(8) << "\r\nmore\r\n";
    return 0;
}

TEST_P(Convert, AFileThatGrowsIsReadToTheSizeItHadWhenOpened) {
    // A message is appended at every report, as a mail program delivering
    // new mail would.
    g_growing = dir / "mail.txt";
    WriteFile(g_growing, kSecond + kSecond);
    int32_t rc;
    EXPECT_EQ(Run(g_growing, dir / "out", KindMbox, &rc, nullptr, GrowTheFile), 2);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Outputs(), (std::vector<std::string>{kSecond, kSecond}));
}

TEST_P(Convert, LargeMessagesAreWrittenThroughABoundedBuffer) {
    if (GetParam() < 7)
        GTEST_SKIP() << "a 3 MiB file one byte at a time is slow and adds nothing here";
    std::string body;
    for (int i = 0; body.size() < 3u << 20; ++i)
        body += "line " + std::to_string(i) + " of a long body\r\n";
    const std::string one = Fields(8) + "\r\n" + body;
    int32_t rc;
    EXPECT_EQ(Split(one + "From x\r\n" + kSecond, KindMbox, rc), 2);
    EXPECT_EQ(Out("00001.eml"), one);
    for (size_t size : host.writeSizes)
        EXPECT_LE(size, size_t(1) << 20);
    EXPECT_GE(host.writeSizes.size(), 4u);
}

TEST_P(Convert, CountingCreatesNothingAndANullResultCodeWritesNothing) {
    WriteFile(dir / "m", kSecond + kSecond);
    int32_t rc;
    EXPECT_EQ(Run(dir / "m", "", KindMbox, &rc), 2);
    EXPECT_EQ(host.createOutputs, 0);
    EXPECT_EQ(Run(dir / "m", dir / "out", KindMbox, nullptr), 2);
    // The folder is still made sure of, but no file is written.
    EXPECT_TRUE(Exists(dir / "out"));
    EXPECT_TRUE(List(dir / "out").empty());
}

TEST_P(Convert, ALockedInputGives1001) {
    WriteFile(dir / "m", kSecond);
    int fd = ::open((dir / "m").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    int32_t rc;
    EXPECT_EQ(Run(dir / "m", dir / "out", KindMbox, &rc), 0);
    EXPECT_EQ(rc, ResultInputFileNotFound);
    ::close(fd);
}

TEST_P(Convert, ProgressReportsEachMessageWithItsSearchStart) {
    const std::string text = "xx\r\n" + kSecond + kSecond;
    WriteFile(dir / "m", text);
    g_progress.clear();
    int32_t rc;
    EXPECT_EQ(Run(dir / "m", "", KindMbox, &rc, nullptr, Record), 2);
    ASSERT_EQ(g_progress.size(), 2u);
    EXPECT_EQ(g_progress[0], (std::array<uint32_t, 4>{uint32_t(text.size()), 0, 0, 0}));
    // The second search began right after the first header block: its run
    // and the empty line that ends it.
    EXPECT_EQ(g_progress[1][2], 4 + Fields(8).size() + 2);
}

} // namespace
} // namespace corvex::test
