// What the exports accept and refuse, and what optional arguments change.
#include <gtest/gtest.h>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"

namespace {

MailFile TwoMessages() {
    MailFile mail;
    mail.Message(2).Message(8);
    return mail;
}

class Arguments : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgress();
        ASSERT_EQ(932u, GetACP()) << "the tests expect the Japanese ANSI code page";
        ASSERT_TRUE(WriteBytes(input, mail.Bytes()));
    }
    TempFolder tmp;
    MailFile mail = TwoMessages();
    std::string input = tmp / "mail.txt";
    std::string out = tmp / "out";

    // Calls all four exports with an input path (and, for the extracting
    // ones, an output folder) that must be refused with `code` before any
    // file is touched.
    void ExpectRefusedByAll(const char *path, const char *output, int32_t code) {
        SCOPED_TRACE(path ? path : "(null)");
        const CorvexDll &dll = Dll();
        int32_t rc = -1;
        if (!output) {
            EXPECT_EQ(0, dll.countInFile(path, &rc));
            EXPECT_EQ(code, rc);
            CorvexByteTotal total = Garbage();
            rc = -1;
            EXPECT_EQ(0, dll.countInFileEx(path, &total, &rc, RecordProgress));
            EXPECT_EQ(code, rc);
            EXPECT_EQ(0u, Total(total));
        }
        const char *folder = output ? output : out.c_str();
        rc = -1;
        EXPECT_EQ(0, dll.kelpo(path, folder, KindGeneral, &rc));
        EXPECT_EQ(code, rc);
        CorvexByteTotal total = Garbage();
        rc = -1;
        EXPECT_EQ(0, dll.kelpoEx(path, folder, KindMbox, &total, &rc, RecordProgress));
        EXPECT_EQ(code, rc);
        EXPECT_EQ(0u, Total(total));
        EXPECT_TRUE(ProgressCalls().empty());
        EXPECT_FALSE(IsFolder(out)) << "a refused call created the output folder";
    }
};

TEST_F(Arguments, InputPathsThatAreNotAbsoluteAreRefused) {
    ExpectRefusedByAll(nullptr, nullptr, ResultInputFileNotFound);
    ExpectRefusedByAll("", nullptr, ResultInputFileNotFound);
    ExpectRefusedByAll("C:", nullptr, ResultInputFileNotFound);
    ExpectRefusedByAll("mail.txt", nullptr, ResultInputFileNotFound);
    ExpectRefusedByAll("C:mail.txt", nullptr, ResultInputFileNotFound);
    ExpectRefusedByAll("\\mail.txt", nullptr, ResultInputFileNotFound);
    ExpectRefusedByAll("/tmp/mail.txt", nullptr, ResultInputFileNotFound);
    // A double-byte first character is not a drive letter, even when the
    // bytes after it are a colon and a backslash.
    ExpectRefusedByAll("\x82:\\mail.txt", nullptr, ResultInputFileNotFound);
}

TEST_F(Arguments, RelativeOutputFolderIsRefusedBeforeTheInputIsLookedAt) {
    ExpectRefusedByAll(input.c_str(), "out", ResultOutputFolderNotCreated);
    ExpectRefusedByAll(input.c_str(), "C:out", ResultOutputFolderNotCreated);
    ExpectRefusedByAll(input.c_str(), "", ResultOutputFolderNotCreated);
    const std::string missing = tmp / "missing.txt";
    ExpectRefusedByAll(missing.c_str(), "out", ResultOutputFolderNotCreated);
    // The input path is tested first.
    ExpectRefusedByAll("mail.txt", "out", ResultInputFileNotFound);
    EXPECT_FALSE(IsFolder("out"));
}

TEST_F(Arguments, InputThatNamesNoEntryGives1003) {
    const std::string missing = tmp / "missing.txt";
    ExpectRefusedByAll(missing.c_str(), nullptr, ResultInputPathNotFound);
    // A file written with a separator after it, and a bare drive root, name
    // no single entry.
    const std::string fileWithSlash = input + "\\";
    ExpectRefusedByAll(fileWithSlash.c_str(), nullptr, ResultInputPathNotFound);
    ExpectRefusedByAll("C:\\", nullptr, ResultInputPathNotFound);
}

TEST_F(Arguments, AFolderMayEndInSeparators) {
    for (const std::string &path : {tmp.Path() + "\\", tmp.Path() + "\\\\", tmp.Path() + "/"}) {
        SCOPED_TRACE(path);
        int32_t rc = -1;
        CorvexByteTotal total = Garbage();
        EXPECT_EQ(2, Dll().countInFileEx(path.c_str(), &total, &rc, nullptr));
        EXPECT_EQ(ResultOk, rc);
        EXPECT_EQ(mail.Size(), Total(total));
    }
}

TEST_F(Arguments, WildcardPathMatchingAFileCannotBeOpened) {
    const std::string pattern = tmp / "mai?.txt";
    int32_t rc = -1;
    CorvexByteTotal total = Garbage();
    EXPECT_EQ(0, Dll().kelpoEx(pattern.c_str(), out.c_str(), KindGeneral, &total, &rc, nullptr));
    EXPECT_EQ(ResultInputFileNotFound, rc);
    EXPECT_EQ(mail.Size(), Total(total)); // the matched entry was looked at
    EXPECT_FALSE(IsFolder(out));
}

TEST_F(Arguments, NullResultCodeWritesNothingButCountsTheSame) {
    EXPECT_EQ(2, Dll().kelpo(input.c_str(), out.c_str(), KindGeneral, nullptr));
    // The missing output folder is still created, but no message is written.
    EXPECT_TRUE(IsFolder(out));
    EXPECT_TRUE(SortedEntries(out).empty());

    CorvexByteTotal total = Garbage();
    EXPECT_EQ(2, Dll().kelpoEx(input.c_str(), out.c_str(), KindGeneral, &total, nullptr,
                               RecordProgress));
    EXPECT_EQ(mail.Size(), Total(total));
    EXPECT_EQ(2u, ProgressCalls().size());
    EXPECT_TRUE(SortedEntries(out).empty());

    EXPECT_EQ(2, Dll().countInFile(input.c_str(), nullptr));
    EXPECT_EQ(2, Dll().countInFileEx(input.c_str(), nullptr, nullptr, nullptr));
}

TEST_F(Arguments, NullOutputFolderCreatesNothingWhateverTheKind) {
    const std::vector<std::string> before = SortedEntries(tmp.Path());
    for (int32_t kind : {int32_t(KindGeneral), int32_t(KindNifty), int32_t(KindMbox), int32_t(7)}) {
        int32_t rc = -1;
        CorvexByteTotal total = Garbage();
        Dll().kelpoEx(input.c_str(), nullptr, kind, &total, &rc, nullptr);
        EXPECT_EQ(0, rc);
        EXPECT_EQ(mail.Size(), Total(total));
    }
    EXPECT_EQ(before, SortedEntries(tmp.Path()));
}

TEST_F(Arguments, CountingExportsScanAsGeneralText) {
    // A single-field first message counts only where the first run of a
    // file may be that short: in general text, which the counting exports
    // always assume.
    MailFile mbox;
    mbox.Line("From a@example.jp Mon Jan  1 00:00:00 2001").Message(1).Message(9);
    const std::string path = tmp / "box.txt";
    ASSERT_TRUE(WriteBytes(path, mbox.Bytes()));
    int32_t rc = -1;
    EXPECT_EQ(2, Dll().countInFile(path.c_str(), &rc));
    EXPECT_EQ(2, Dll().countInFileEx(path.c_str(), nullptr, &rc, nullptr));
    EXPECT_EQ(2, Dll().kelpoEx(path.c_str(), nullptr, KindGeneral, nullptr, &rc, nullptr));
    EXPECT_EQ(1, Dll().kelpoEx(path.c_str(), nullptr, KindMbox, nullptr, &rc, nullptr));
    EXPECT_EQ(1, Dll().kelpoEx(path.c_str(), nullptr, KindNifty, nullptr, &rc, nullptr));
    EXPECT_EQ(0, rc);
}

TEST_F(Arguments, FilesWithoutMessagesCountZeroWithoutFailure) {
    const std::string text = tmp / "text.txt";
    const std::string empty = tmp / "empty.txt";
    ASSERT_TRUE(WriteBytes(text, "hello world\r\nno mail here\r\n"));
    ASSERT_TRUE(WriteBytes(empty, ""));
    CorvexByteTotal total = Garbage();
    int32_t rc = -1;
    EXPECT_EQ(0, Dll().kelpoEx(text.c_str(), out.c_str(), KindGeneral, &total, &rc,
                               RecordProgress));
    EXPECT_EQ(0, rc);
    EXPECT_EQ(27u, Total(total));
    total = Garbage();
    EXPECT_EQ(0, Dll().countInFileEx(empty.c_str(), &total, &rc, RecordProgress));
    EXPECT_EQ(0, rc);
    EXPECT_EQ(0u, Total(total));
    EXPECT_TRUE(ProgressCalls().empty());
    // The output folder is only made sure of for a message to write.
    EXPECT_FALSE(IsFolder(out));
}

TEST_F(Arguments, PathsTooLongForThePathBuffersAreRefused) {
    // Input path of more than 259 bytes.
    std::string longInput = tmp.Path() + "\\";
    longInput += std::string(300 - longInput.size(), 'a');
    ExpectRefusedByAll(longInput.c_str(), nullptr, ResultInputFileNotFound);

    // An output folder of 250 bytes leaves no room for "\" + "00001.eml".
    std::string longOut = tmp.Path() + "\\";
    longOut += std::string(250 - longOut.size(), 'o');
    ExpectRefusedByAll(input.c_str(), longOut.c_str(), ResultOutputFolderNotCreated);
    EXPECT_FALSE(IsFolder(longOut));
}

TEST_F(Arguments, FolderEntryWhosePathIsTooLongIsRefused) {
    std::string folder = tmp.Path() + "\\";
    folder += std::string(240 - folder.size(), 'd');
    ASSERT_TRUE(MakeFolder(folder));
    const std::string entry = folder + "\\" + std::string(30, 'f');
    ASSERT_TRUE(WriteBytesLongPath(entry, mail.Bytes()));
    int32_t rc = -1;
    EXPECT_EQ(0, Dll().kelpoEx(folder.c_str(), out.c_str(), KindGeneral, nullptr, &rc, nullptr));
    EXPECT_EQ(ResultInputFileNotFound, rc);
    EXPECT_TRUE(SortedEntries(out).empty());
}

// A sparse file of `size` bytes: cheap to make on the test machine's disks.
bool MakeSparseFile(const std::string &path, uint64_t size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = LONGLONG(size);
    const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

TEST_F(Arguments, FilesOf4GiBOrMoreAreReadWithTheirWholeSize) {
    // Sparse zeros: read to the end (a NUL is data) without a message in
    // them, and the size kept in both words of the total.
    const std::string big = tmp / "big.txt";
    ASSERT_TRUE(MakeSparseFile(big, 4294967296ull + 5));
    int32_t rc = -1;
    CorvexByteTotal total = Garbage();
    EXPECT_EQ(0, Dll().kelpoEx(big.c_str(), out.c_str(), KindGeneral, &total, &rc, RecordProgress));
    EXPECT_EQ(ResultOk, rc);
    EXPECT_EQ(4294967296ull + 5, Total(total));

    // In a folder the walk goes on past it; every file counts.
    total = Garbage();
    EXPECT_EQ(2, Dll().countInFileEx(tmp.Path().c_str(), &total, &rc, nullptr));
    EXPECT_EQ(ResultOk, rc);
    EXPECT_EQ(4294967296ull + 5 + mail.Size(), Total(total));
    RemoveTree(big);
}

} // namespace
