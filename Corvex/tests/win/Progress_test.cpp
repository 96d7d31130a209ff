// The progress callback and the byte total across the files of a folder.
#include <gtest/gtest.h>

#include <map>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"

namespace {

MailFile Messages(int count, int bodyLines) {
    MailFile mail;
    std::string body = "hello world";
    for (int i = 1; i < bodyLines; ++i)
        body += "\r\nline " + std::to_string(i);
    for (int i = 0; i < count; ++i)
        mail.Message(i == 0 ? 4 : 8 + i, body);
    return mail;
}

// Checks the calls for one file: its own size, high words 0, offset 0 at
// the first message, and each later search beginning after the previous
// message's start and no later than its own message's start.
void ExpectCallsOfFile(const std::vector<ProgressCall> &calls, const MailFile &mail) {
    ASSERT_EQ(mail.Starts().size(), calls.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(mail.Size(), calls[i].sizeLow);
        EXPECT_EQ(0u, calls[i].sizeHigh);
        EXPECT_EQ(0u, calls[i].offsetHigh);
        if (i == 0) {
            EXPECT_EQ(0u, calls[i].offsetLow);
        } else {
            EXPECT_GT(calls[i].offsetLow, mail.Starts()[i - 1]);
            EXPECT_LE(calls[i].offsetLow, mail.Starts()[i]);
        }
    }
}

TEST(Progress, OneCallPerMessageForEveryFileOfAFolder) {
    TempFolder tmp;
    const std::string in = tmp / "in";
    ASSERT_TRUE(MakeFolder(in));
    std::map<std::string, MailFile> files = {
        {"a.txt", Messages(2, 1)}, {"b.txt", Messages(3, 4)}, {"c.txt", Messages(1, 9)}};
    files["d.txt"] = MailFile();
    files["d.txt"].Line("no mail in here");
    for (const auto &file : files)
        ASSERT_TRUE(WriteBytes(in + "\\" + file.first, file.second.Bytes()));

    for (bool extract : {false, true}) {
        SCOPED_TRACE(extract ? "KelpoEx" : "InetMailMessageCountInFileEx");
        ResetProgress();
        CorvexByteTotal total = Garbage();
        int32_t rc = -1;
        const int32_t count =
            extract ? Dll().kelpoEx(in.c_str(), (tmp / "out").c_str(), KindGeneral, &total, &rc,
                                    RecordProgress)
                    : Dll().countInFileEx(in.c_str(), &total, &rc, RecordProgress);
        EXPECT_EQ(6, count);
        EXPECT_EQ(0, rc);
        uint64_t sizes = 0;
        for (const auto &file : files)
            sizes += file.second.Size();
        EXPECT_EQ(sizes, Total(total));

        // The calls come file by file in the walk's order; the file without
        // a message makes none.
        const std::vector<ProgressCall> &calls = ProgressCalls();
        size_t at = 0;
        for (const std::string &name : FolderEntries(in)) {
            SCOPED_TRACE(name);
            const MailFile &mail = files[name];
            const size_t n = mail.Starts().size();
            ASSERT_LE(at + n, calls.size());
            ExpectCallsOfFile(std::vector<ProgressCall>(calls.begin() + at, calls.begin() + at + n),
                              mail);
            at += n;
        }
        EXPECT_EQ(calls.size(), at);
    }
}

TEST(Progress, OffsetsAreWhereEachSearchBegan) {
    TempFolder tmp;
    // Header blocks of 30 and more bytes: header lines and the empty line
    // that ends them.
    const std::string bytes = std::string("From: a\r\nTo: b\r\nSubject: c\r\n\r\nhello\r\n\r\n") +
                              PlainFields(7) + "Subject: d\r\n\r\nbody\r\n" + PlainFields(8) +
                              "\r\nend\r\n";
    const std::string input = tmp / "mail.txt";
    ASSERT_TRUE(WriteBytes(input, bytes));
    ResetProgress();
    int32_t rc = -1;
    EXPECT_EQ(3, Dll().countInFileEx(input.c_str(), nullptr, &rc, RecordProgress));
    const uint32_t size = uint32_t(bytes.size());
    // 39 + 7 * 13 + 14 = 144 is the end of the second header block, where
    // the search after it begins.
    EXPECT_EQ((std::vector<ProgressCall>{{size, 0, 0, 0}, {size, 0, 30, 0}, {size, 0, 144, 0}}),
              ProgressCalls());
}

} // namespace
