// Where the .eml files go: creating the output folder, names already taken,
// numbering across the files of a folder, output into the input folder.
#include <gtest/gtest.h>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"

namespace {

MailFile Messages(int count, const std::string &tag) {
    MailFile mail;
    for (int i = 0; i < count; ++i)
        mail.Message(i == 0 ? 3 : 8, tag + " body " + std::to_string(i + 1));
    return mail;
}

class OutputFolder : public ::testing::Test {
protected:
    TempFolder tmp;

    std::string Write(const std::string &name, const MailFile &mail) {
        const std::string path = tmp / name;
        EXPECT_TRUE(WriteBytes(path, mail.Bytes()));
        return path;
    }
};

TEST_F(OutputFolder, MissingLevelsOfADrivePathAreCreated) {
    const MailFile mail = Messages(2, "a");
    const std::string input = Write("mail.txt", mail);
    const std::string out = tmp / "one\\two\\three";
    int32_t rc = -1;
    EXPECT_EQ(2, Dll().kelpo(input.c_str(), out.c_str(), KindGeneral, &rc));
    EXPECT_EQ(0, rc);
    EXPECT_EQ((std::vector<std::string>{"two"}), SortedEntries(tmp / "one"));
    EXPECT_EQ((std::vector<std::string>{"00001.eml", "00002.eml"}), SortedEntries(out));
    EXPECT_EQ(mail.MessageBytes(0), ReadBytes(out + "\\00001.eml"));
    EXPECT_EQ(mail.MessageBytes(1), ReadBytes(out + "\\00002.eml"));

    // The same with a trailing backslash, into the folder that now exists.
    EXPECT_EQ(2, Dll().kelpo(input.c_str(), (out + "\\").c_str(), KindGeneral, &rc));
    EXPECT_EQ(0, rc);
    EXPECT_EQ(4u, SortedEntries(out).size());
}

TEST_F(OutputFolder, AnExistingFileInTheOutputPathGives1008) {
    const MailFile mail = Messages(2, "a");
    const std::string input = Write("mail.txt", mail);
    const std::string blocker = tmp / "blocker";
    ASSERT_TRUE(WriteBytes(blocker, "not a folder"));

    for (const std::string &out : {blocker, blocker + "\\below"}) {
        SCOPED_TRACE(out);
        int32_t rc = -1;
        CorvexByteTotal total = Garbage();
        // The messages are still found and counted.
        EXPECT_EQ(2, Dll().kelpoEx(input.c_str(), out.c_str(), KindGeneral, &total, &rc,
                                   nullptr));
        EXPECT_EQ(ResultOutputNameTaken, rc);
        EXPECT_EQ(mail.Size(), Total(total));
    }
    EXPECT_EQ("not a folder", ReadBytes(blocker));
    EXPECT_EQ((std::vector<std::string>{"blocker", "mail.txt"}), SortedEntries(tmp.Path()));
}

TEST_F(OutputFolder, NamesAlreadyTakenAreSkippedAndGapsFilled) {
    const MailFile mail = Messages(3, "a");
    const std::string input = Write("mail.txt", mail);
    const std::string out = tmp / "out";
    ASSERT_TRUE(MakeFolder(out));
    ASSERT_TRUE(WriteBytes(out + "\\00001.eml", "old one"));
    ASSERT_TRUE(WriteBytes(out + "\\00003.eml", "old three"));
    int32_t rc = -1;
    EXPECT_EQ(3, Dll().kelpo(input.c_str(), out.c_str(), KindGeneral, &rc));
    EXPECT_EQ(0, rc);
    EXPECT_EQ((std::vector<std::string>{"00001.eml", "00002.eml", "00003.eml", "00004.eml",
                                        "00005.eml"}),
              SortedEntries(out));
    EXPECT_EQ("old one", ReadBytes(out + "\\00001.eml"));
    EXPECT_EQ("old three", ReadBytes(out + "\\00003.eml"));
    EXPECT_EQ(mail.MessageBytes(0), ReadBytes(out + "\\00002.eml"));
    EXPECT_EQ(mail.MessageBytes(1), ReadBytes(out + "\\00004.eml"));
    EXPECT_EQ(mail.MessageBytes(2), ReadBytes(out + "\\00005.eml"));
}

TEST_F(OutputFolder, TheFilesOfAFolderAreNumberedStraightOn) {
    ASSERT_TRUE(MakeFolder(tmp / "in"));
    const MailFile first = Messages(2, "first");
    const MailFile second = Messages(1, "second");
    ASSERT_TRUE(WriteBytes(tmp / "in\\a.txt", first.Bytes()));
    ASSERT_TRUE(WriteBytes(tmp / "in\\b.txt", second.Bytes()));
    // A subfolder with mail in it is not entered.
    ASSERT_TRUE(MakeFolder(tmp / "in\\sub"));
    ASSERT_TRUE(WriteBytes(tmp / "in\\sub\\c.txt", Messages(2, "sub").Bytes()));

    const std::string out = tmp / "out";
    int32_t rc = -1;
    CorvexByteTotal total = Garbage();
    EXPECT_EQ(3, Dll().kelpoEx((tmp / "in").c_str(), out.c_str(), KindGeneral, &total, &rc,
                               nullptr));
    EXPECT_EQ(0, rc);
    EXPECT_EQ(first.Size() + second.Size(), Total(total));

    // The walk takes the files in the file system's order.
    std::vector<std::string> expected;
    for (const std::string &name : FolderEntries(tmp / "in")) {
        if (name == "sub")
            continue;
        const MailFile &mail = name == "a.txt" ? first : second;
        for (size_t i = 0; i < mail.Starts().size(); ++i)
            expected.push_back(mail.MessageBytes(i));
    }
    ASSERT_EQ((std::vector<std::string>{"00001.eml", "00002.eml", "00003.eml"}),
              SortedEntries(out));
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], ReadBytes(out + "\\" + EmlName(int(i) + 1))) << i;
}

TEST_F(OutputFolder, FoldersWithoutFilesCountNothing) {
    ASSERT_TRUE(MakeFolder(tmp / "empty"));
    ASSERT_TRUE(MakeFolder(tmp / "only"));
    ASSERT_TRUE(MakeFolder(tmp / "only\\sub"));
    ASSERT_TRUE(WriteBytes(tmp / "only\\sub\\mail.txt", Messages(2, "a").Bytes()));
    for (const char *name : {"empty", "only"}) {
        int32_t rc = -1;
        CorvexByteTotal total = Garbage();
        EXPECT_EQ(0, Dll().countInFileEx((tmp / name).c_str(), &total, &rc, nullptr)) << name;
        EXPECT_EQ(0, rc);
        EXPECT_EQ(0u, Total(total));
    }
}

TEST_F(OutputFolder, MessagesWrittenIntoTheInputFolderAreNotReadAgain) {
    ASSERT_TRUE(MakeFolder(tmp / "box"));
    const MailFile mail = Messages(2, "a");
    const std::string box = tmp / "box";
    ASSERT_TRUE(WriteBytes(box + "\\mail.txt", mail.Bytes()));

    int32_t rc = -1;
    CorvexByteTotal total = Garbage();
    EXPECT_EQ(2, Dll().kelpoEx(box.c_str(), box.c_str(), KindGeneral, &total, &rc, nullptr));
    EXPECT_EQ(0, rc);
    EXPECT_EQ(mail.Size(), Total(total));
    EXPECT_EQ((std::vector<std::string>{"00001.eml", "00002.eml", "mail.txt"}),
              SortedEntries(box));

    // A second run does read the .eml files that were there before it: the
    // text file's two messages and one from each earlier file.
    const uint64_t before = mail.Size() + ReadBytes(box + "\\00001.eml").size() +
                            ReadBytes(box + "\\00002.eml").size();
    EXPECT_EQ(4, Dll().kelpoEx(box.c_str(), (box + "\\").c_str(), KindGeneral, &total, &rc,
                               nullptr));
    EXPECT_EQ(0, rc);
    EXPECT_EQ(before, Total(total));
    EXPECT_EQ(7u, SortedEntries(box).size());
}

} // namespace
