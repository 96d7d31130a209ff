// Input files are opened for exclusive reading: a file that another opener
// holds cannot be read, alone or in a folder walk.
#include <gtest/gtest.h>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"

namespace {

MailFile Messages(int count, const std::string &tag) {
    MailFile mail;
    for (int i = 0; i < count; ++i)
        mail.Message(i == 0 ? 2 : 8, tag + " " + std::to_string(i + 1));
    return mail;
}

TEST(Locking, ALockedFileGives1001AndCountsNothing) {
    TempFolder tmp;
    const MailFile mail = Messages(2, "a");
    const std::string input = tmp / "mail.txt";
    ASSERT_TRUE(WriteBytes(input, mail.Bytes()));
    const std::string out = tmp / "out";
    {
        FileLock lock(input);
        ASSERT_TRUE(lock.Held());
        int32_t rc = -1;
        CorvexByteTotal total = Garbage();
        EXPECT_EQ(0, Dll().kelpoEx(input.c_str(), out.c_str(), KindGeneral, &total, &rc,
                                   RecordProgress));
        EXPECT_EQ(ResultInputFileNotFound, rc);
        // The size comes from the directory entry, before the file is opened.
        EXPECT_EQ(mail.Size(), Total(total));
        EXPECT_FALSE(IsFolder(out));
        rc = -1;
        EXPECT_EQ(0, Dll().countInFile(input.c_str(), &rc));
        EXPECT_EQ(ResultInputFileNotFound, rc);
    }
    // Once the other opener lets go, the same file reads normally.
    int32_t rc = -1;
    EXPECT_EQ(2, Dll().countInFile(input.c_str(), &rc));
    EXPECT_EQ(0, rc);
}

TEST(Locking, ALockedFileEndsAFolderWalk) {
    TempFolder tmp;
    const std::string in = tmp / "in";
    ASSERT_TRUE(MakeFolder(in));
    const MailFile files[] = {Messages(2, "first"), Messages(3, "second"), Messages(1, "third")};
    const char *const names[] = {"a.txt", "b.txt", "c.txt"};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteBytes(in + "\\" + names[i], files[i].Bytes()));

    // The walk meets the files in the file system's order; lock the second
    // one it will meet.
    const std::vector<std::string> order = FolderEntries(in);
    ASSERT_EQ(3u, order.size());
    auto fileOf = [&](const std::string &name) -> const MailFile & {
        return files[name[0] - 'a'];
    };
    FileLock lock(in + "\\" + order[1]);
    ASSERT_TRUE(lock.Held());

    const std::string out = tmp / "out";
    int32_t rc = -1;
    CorvexByteTotal total = Garbage();
    const MailFile &before = fileOf(order[0]);
    EXPECT_EQ(int32_t(before.Starts().size()),
              Dll().kelpoEx(in.c_str(), out.c_str(), KindGeneral, &total, &rc, nullptr));
    EXPECT_EQ(ResultInputFileNotFound, rc);
    // Sizes up to and including the failing file; the third is never read.
    EXPECT_EQ(before.Size() + fileOf(order[1]).Size(), Total(total));
    // What the first file gave stays.
    std::vector<std::string> written = SortedEntries(out);
    ASSERT_EQ(before.Starts().size(), written.size());
    for (size_t i = 0; i < written.size(); ++i)
        EXPECT_EQ(before.MessageBytes(i), ReadBytes(out + "\\" + EmlName(int(i) + 1)));

    // Without a result code the walk does not stop: every readable file is
    // counted.
    total = Garbage();
    EXPECT_EQ(int32_t(before.Starts().size() + fileOf(order[2]).Starts().size()),
              Dll().kelpoEx(in.c_str(), nullptr, KindGeneral, &total, nullptr, nullptr));
    EXPECT_EQ(files[0].Size() + files[1].Size() + files[2].Size(), Total(total));
}

} // namespace
