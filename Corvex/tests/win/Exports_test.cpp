// The six exports, bound by name and by ordinal, on real files.
#include <gtest/gtest.h>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"

namespace {

void *Address(FARPROC f) { return reinterpret_cast<void *>(f); }
template <typename Fn> void *Address(Fn f) { return reinterpret_cast<void *>(f); }

template <typename Fn> Fn ByOrdinal(WORD ordinal) {
    return reinterpret_cast<Fn>(Address(ExportByOrdinal(ordinal)));
}

std::string FolderOf(const std::string &path) {
    std::string folder = path.substr(0, path.find_last_of('\\'));
    CharUpperBuffA(&folder[0], static_cast<DWORD>(folder.size()));
    return folder;
}

// Three short fields, then a second message of eight fields: offsets 0 and
// 31 (the first header block and the byte after it).
MailFile TwoMessages() {
    MailFile mail;
    mail.Start().Raw("From: a\r\nTo: b\r\nSubject: c\r\n\r\nhello\r\n\r\n");
    mail.Message(8);
    return mail;
}

class Exports : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgress();
        ASSERT_TRUE(WriteBytes(input, mail.Bytes()));
    }
    TempFolder tmp;
    MailFile mail = TwoMessages();
    std::string input = tmp / "mail.txt";

    void ExpectMessagesIn(const std::string &folder) {
        EXPECT_EQ((std::vector<std::string>{"00001.eml", "00002.eml"}), SortedEntries(folder));
        EXPECT_EQ(mail.MessageBytes(0), ReadBytes(folder + "\\00001.eml"));
        EXPECT_EQ(mail.MessageBytes(1), ReadBytes(folder + "\\00002.eml"));
    }
    void ExpectProgressOfTheFile() {
        const uint32_t size = static_cast<uint32_t>(mail.Size());
        EXPECT_EQ((std::vector<ProgressCall>{{size, 0, 0, 0}, {size, 0, 30, 0}}), ProgressCalls());
    }
};

TEST_F(Exports, NamesAndOrdinalsNameTheSameSixFunctions) {
    const CorvexDll &dll = Dll();
    ASSERT_NE(nullptr, dll.countInFile);
    ASSERT_NE(nullptr, dll.countInFileEx);
    ASSERT_NE(nullptr, dll.kelpo);
    ASSERT_NE(nullptr, dll.kelpoEx);
    ASSERT_NE(nullptr, dll.countOfKind);
    ASSERT_NE(nullptr, dll.kelpoExWithFlags);
    EXPECT_EQ(Address(dll.countInFile), Address(ExportByOrdinal(1)));
    EXPECT_EQ(Address(dll.countInFileEx), Address(ExportByOrdinal(2)));
    EXPECT_EQ(Address(dll.kelpo), Address(ExportByOrdinal(3)));
    EXPECT_EQ(Address(dll.kelpoEx), Address(ExportByOrdinal(4)));
    EXPECT_EQ(Address(dll.countOfKind), Address(ExportByOrdinal(5)));
    EXPECT_EQ(Address(dll.kelpoExWithFlags), Address(ExportByOrdinal(6)));
    EXPECT_EQ(nullptr, Address(ExportByOrdinal(7)));

    // The library that was tested is the one built beside this program.
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    EXPECT_EQ(FolderOf(exe), FolderOf(dll.path));
}

TEST_F(Exports, CountInFileByNameAndByOrdinal) {
    for (CountInFileFn count : {Dll().countInFile, ByOrdinal<CountInFileFn>(1)}) {
        int32_t rc = -1;
        EXPECT_EQ(2, count(input.c_str(), &rc));
        EXPECT_EQ(0, rc);
    }
}

TEST_F(Exports, CountInFileExByNameAndByOrdinal) {
    for (CountInFileExFn count : {Dll().countInFileEx, ByOrdinal<CountInFileExFn>(2)}) {
        ResetProgress();
        CorvexByteTotal total = Garbage();
        int32_t rc = -1;
        EXPECT_EQ(2, count(input.c_str(), &total, &rc, RecordProgress));
        EXPECT_EQ(0, rc);
        EXPECT_EQ(mail.Size(), Total(total));
        ExpectProgressOfTheFile();
    }
}

TEST_F(Exports, KelpoByNameAndByOrdinal) {
    int n = 0;
    for (KelpoFn kelpo : {Dll().kelpo, ByOrdinal<KelpoFn>(3)}) {
        const std::string out = tmp / ("out" + std::to_string(++n));
        int32_t rc = -1;
        EXPECT_EQ(2, kelpo(input.c_str(), out.c_str(), KindGeneral, &rc));
        EXPECT_EQ(0, rc);
        ExpectMessagesIn(out);
    }
}

TEST_F(Exports, KelpoExByNameAndByOrdinal) {
    int n = 0;
    for (KelpoExFn kelpoEx : {Dll().kelpoEx, ByOrdinal<KelpoExFn>(4)}) {
        ResetProgress();
        const std::string out = tmp / ("out" + std::to_string(++n));
        CorvexByteTotal total = Garbage();
        int32_t rc = -1;
        EXPECT_EQ(2, kelpoEx(input.c_str(), out.c_str(), KindGeneral, &total, &rc,
                             RecordProgress));
        EXPECT_EQ(0, rc);
        EXPECT_EQ(mail.Size(), Total(total));
        ExpectProgressOfTheFile();
        ExpectMessagesIn(out);
    }
}

TEST_F(Exports, CountOfKindByNameAndByOrdinal) {
    // An mbox whose messages have one field each: general text sees one.
    std::string box;
    for (int i = 1; i <= 4; ++i)
        box += "From a@b Sat Jan  1 00:00:00 2000\r\nSubject: " + std::to_string(i) + "\r\n\r\nbody\r\n";
    const std::string mbox = tmp / "box.mbox";
    ASSERT_TRUE(WriteBytes(mbox, box));
    int n = 0;
    for (CountOfKindFn count : {Dll().countOfKind, ByOrdinal<CountOfKindFn>(5)}) {
        for (int32_t kind : {KindGeneral, KindNifty, KindMbox}) {
            ResetProgress();
            CorvexByteTotal total = Garbage();
            int32_t rc = -1;
            const int32_t counted = count(mbox.c_str(), kind, 0, &total, &rc, RecordProgress);
            EXPECT_EQ(0, rc);
            EXPECT_EQ(box.size(), Total(total));
            EXPECT_EQ(size_t(counted), ProgressCalls().size());
            const std::string out = tmp / ("kind" + std::to_string(++n));
            EXPECT_EQ(counted, Dll().kelpoEx(mbox.c_str(), out.c_str(), kind, nullptr, &rc, nullptr));
            EXPECT_EQ(size_t(counted), SortedEntries(out).size()) << kind;
        }
        int32_t rc = -1;
        EXPECT_EQ(4, count(mbox.c_str(), KindMbox, 0, nullptr, &rc, nullptr));
        EXPECT_EQ(1, count(mbox.c_str(), KindGeneral, 0, nullptr, &rc, nullptr));
        CorvexByteTotal total = Garbage();
        EXPECT_EQ(0, count(mbox.c_str(), KindMbox, 6, &total, &rc, nullptr));
        EXPECT_EQ(ResultUnknownError, rc);
        EXPECT_EQ(0u, Total(total));
        EXPECT_EQ(0, count("mail.txt", KindMbox, 0, nullptr, &rc, nullptr));
        EXPECT_EQ(ResultInputFileNotFound, rc);
    }
}

TEST_F(Exports, KelpoExWithFlagsReadsATreeByNameAndByOrdinal) {
    // A profile folder with a mail folder and its subfolder, in Japanese
    // names whose second bytes are 0x5C (表, ソ), and the output folder inside
    // the tree: each mail folder's messages go into a folder of their own,
    // and the second run, into the same folder, does not read what the first
    // wrote there.
    std::string box;
    for (int i = 1; i <= 2; ++i)
        box += "From a@b Sat Jan  1 00:00:00 2000\r\nSubject: " + std::to_string(i) + "\r\n\r\nbody\r\n\r\n";
    const std::string hyo = "\x95\x5c", so = "\x83\x5c";
    const std::string root = tmp / (hyo + "profile");
    ASSERT_TRUE(MakeFolder(root));
    ASSERT_TRUE(MakeFolder(root + "\\" + so + ".sbd"));
    ASSERT_TRUE(WriteBytes(root + "\\" + so, box));
    ASSERT_TRUE(WriteBytes(root + "\\" + so + ".msf", std::string("\0index", 6)));
    ASSERT_TRUE(WriteBytes(root + "\\" + so + ".sbd\\" + hyo, box));
    int32_t counted = -1;
    EXPECT_EQ(4, Dll().countOfKind(root.c_str(), KindMbox, CorvexFlagTree, nullptr, &counted, nullptr));
    EXPECT_EQ(0, counted);
    const std::string out = root + "\\out";
    int runs = 0;
    for (KelpoExWithFlagsFn extract : {Dll().kelpoExWithFlags, ByOrdinal<KelpoExWithFlagsFn>(6)}) {
        ++runs;
        CorvexByteTotal total = Garbage();
        int32_t rc = -1;
        EXPECT_EQ(4, extract(root.c_str(), out.c_str(), KindMbox, CorvexFlagTree, &total, &rc, nullptr));
        EXPECT_EQ(0, rc);
        EXPECT_EQ(2 * box.size() + 6, Total(total));
        EXPECT_EQ((std::vector<std::string>{so}), SortedEntries(out));
        std::vector<std::string> names;
        for (int i = 1; i <= 2 * runs; ++i)
            names.push_back(EmlName(i));
        EXPECT_EQ(names, SortedEntries(out + "\\" + so + "\\" + hyo));
        names.push_back(hyo);
        EXPECT_EQ(names, SortedEntries(out + "\\" + so));
        EXPECT_EQ("Subject: 2\r\n\r\nbody\r\n", ReadBytes(out + "\\" + so + "\\" + hyo + "\\00002.eml"));
        // An unknown bit: nothing read, nothing written.
        EXPECT_EQ(0, extract(root.c_str(), (tmp / "refused").c_str(), KindMbox, 2, &total, &rc, nullptr));
        EXPECT_EQ(ResultUnknownError, rc);
        EXPECT_FALSE(IsFolder(tmp / "refused"));
    }
}

} // namespace
