// Whole trees of mail folders: every file at any depth, in a stable order,
// each mail folder's messages in an output folder named after it, the files
// of one message written whole; the walk's edges. Windows-style paths are
// mapped onto a test folder, so that the double-byte rules of code page 932
// run here as they do on Windows.
#include "FolderTree.h"

#include <unistd.h>

#include <filesystem>
#include <map>

#include "CoreTest.h"
#include "ExtractFromPath.h"

namespace corvex::test {
namespace {

// An mbox of the given messages ("Subject: s\n\nbody s\n" each), as
// writers write them: an empty line after each.
std::string Mbox(const std::vector<std::string> &subjects) {
    std::string text;
    for (const std::string &s : subjects)
        text += "From a@b Sat Jan  1 00:00:00 2000\nSubject: " + s + "\n\nbody " + s + "\n\n";
    return text;
}

std::string Stored(const std::string &subject) { return "Subject: " + subject + "\n\nbody " + subject + "\n"; }

class Tree : public ::testing::Test {
protected:
    Tree() : host(dir.path()) {
        host.codePage932 = true;
        MakeDirs(dir / "C");
    }
    std::string At(const std::string &windowsPath) { return host.Map(windowsPath.c_str()); }
    void Put(const std::string &windowsPath, const std::string &bytes) {
        const std::string path = At(windowsPath);
        MakeDirs(path.substr(0, path.rfind('/')));
        WriteFile(path, bytes);
    }
    int32_t Run(const char *in, const char *out, uint32_t flags = kFlagTree, int32_t kind = KindMbox) {
        CallContext ctx(host);
        rc = -1;
        total = {};
        return ExtractFromPath(ctx, in, out, kind, &total, &rc, nullptr, flags);
    }
    // Every file below a Windows path, by its path relative to it ('/'), with its bytes.
    std::map<std::string, std::string> Files(const std::string &windowsFolder) {
        std::map<std::string, std::string> files;
        const std::string root = At(windowsFolder);
        std::error_code ec;
        for (auto &e : std::filesystem::recursive_directory_iterator(root, ec))
            if (e.is_regular_file())
                files[e.path().string().substr(root.size() + 1)] = ReadFile(e.path().string());
        return files;
    }

    TempDir dir;
    TestHost host;
    int32_t rc = -1;
    CorvexByteTotal total{};
};

TEST(TreeNames, MailFolderFilesAndFoldersAndSingleMessages) {
    EXPECT_EQ(TreeFolderName("Archives.sbd"), "Archives");
    EXPECT_EQ(TreeFolderName("Archives.SBD"), "Archives");
    EXPECT_EQ(TreeFolderName("Archives"), "Archives");
    EXPECT_EQ(TreeFolderName(".sbd"), ".sbd");   // nothing would be left
    EXPECT_EQ(TreeFolderName("...sbd"), "...sbd"); // nor a name that means the parent
    EXPECT_EQ(TreeFileName("Inbox.mbox"), "Inbox");
    EXPECT_EQ(TreeFileName("Inbox"), "Inbox");
    EXPECT_EQ(TreeFileName("a.mbox.mbox"), "a.mbox");
    EXPECT_TRUE(IsSingleMessageName("a.eml"));
    EXPECT_TRUE(IsSingleMessageName("A.EML"));
    EXPECT_TRUE(IsSingleMessageName("123"));
    EXPECT_FALSE(IsSingleMessageName("12a"));
    EXPECT_FALSE(IsSingleMessageName("eml"));
    EXPECT_FALSE(IsSingleMessageName(""));
}

TEST_F(Tree, AProfileAnExportAndFoldersOfSingleMessages) {
    // A mail program's profile: mail folders without an extension, their
    // index files, and subfolders in "X.sbd" (also a folder named by digits).
    Put("C:\\in\\Local Folders\\Inbox", Mbox({"i1", "i2"}));
    Put("C:\\in\\Local Folders\\Inbox.msf", std::string("\0\x01index", 7));
    Put("C:\\in\\Local Folders\\Archives", Mbox({"a1"}));
    Put("C:\\in\\Local Folders\\Archives.sbd\\2019", Mbox({"y1", "y2"}));
    Put("C:\\in\\Local Folders\\Archives.sbd\\2020.sbd\\Q1", Mbox({"q1"}));
    // Another system's export: "X.mbox/mbox" and a binary table.
    Put("C:\\in\\Export\\Sent.mbox\\mbox", Mbox({"s1"}));
    Put("C:\\in\\Export\\Sent.mbox\\table_of_contents", std::string("\0\0\x02", 3));
    // Folders of one message per file: .eml, MH, Maildir; an empty one writes nothing.
    Put("C:\\in\\saved\\b.eml", ">From kept\nSubject: b\n\nb\n\n");
    Put("C:\\in\\saved\\A.EML", "Subject: a\n\na\n");
    Put("C:\\in\\saved\\empty.eml", "");
    Put("C:\\in\\mh\\2", "Subject: m2\n\nm2\n");
    Put("C:\\in\\mh\\10", "Subject: m10\n\nm10\n");
    Put("C:\\in\\Maildir\\cur\\1.x:2,S", "Subject: c\n\nc\n");
    Put("C:\\in\\Maildir\\new\\2.y", "Subject: n\n\nn\n");
    MakeDirs(At("C:\\in\\Maildir\\tmp"));

    EXPECT_EQ(Run("C:\\in", nullptr), 13);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Run("C:\\in", "C:\\out"), 13);
    EXPECT_EQ(rc, 0);
    const std::map<std::string, std::string> want = {
        {"Local Folders/Inbox/00001.eml", Stored("i1")},
        {"Local Folders/Inbox/00002.eml", Stored("i2")},
        {"Local Folders/Archives/00001.eml", Stored("a1")},
        {"Local Folders/Archives/2019/00001.eml", Stored("y1")},
        {"Local Folders/Archives/2019/00002.eml", Stored("y2")},
        {"Local Folders/Archives/2020/Q1/00001.eml", Stored("q1")},
        {"Export/Sent/00001.eml", Stored("s1")},
        {"saved/00001.eml", "Subject: a\n\na\n"},             // byte order: "A.EML" before "b.eml"
        {"saved/00002.eml", ">From kept\nSubject: b\n\nb\n\n"}, // whole and unchanged
        {"mh/00001.eml", "Subject: m10\n\nm10\n"},
        {"mh/00002.eml", "Subject: m2\n\nm2\n"},
        {"Maildir/00001.eml", "Subject: c\n\nc\n"},
        {"Maildir/00002.eml", "Subject: n\n\nn\n"},
    };
    EXPECT_EQ(Files("C:\\out"), want);
    // Without the option: the folder's own files only, as always (none here).
    EXPECT_EQ(Run("C:\\in", "C:\\flat", 0), 0);
    EXPECT_EQ(rc, 0);
    EXPECT_FALSE(Exists(At("C:\\flat")));
    // A file given directly goes to a folder named after it.
    EXPECT_EQ(Run("C:\\in\\Local Folders\\Inbox", "C:\\one"), 2);
    EXPECT_EQ(Files("C:\\one"), (std::map<std::string, std::string>{
                                    {"Inbox/00001.eml", Stored("i1")}, {"Inbox/00002.eml", Stored("i2")}}));
}

TEST_F(Tree, FilesThatMapToOneFolderShareItInTheWalksOrder) {
    Put("C:\\in\\Box", Mbox({"1", "2"}));
    Put("C:\\in\\Box.mbox", Mbox({"3"}));
    Put("C:\\in\\Box.sbd\\x.eml", "Subject: 4\n\n4\n"); // the single messages of "Box.sbd" go to "Box" too
    EXPECT_EQ(Run("C:\\in", "C:\\out"), 4);
    EXPECT_EQ(Files("C:\\out"), (std::map<std::string, std::string>{{"Box/00001.eml", Stored("1")},
                                                                    {"Box/00002.eml", Stored("2")},
                                                                    {"Box/00003.eml", Stored("3")},
                                                                    {"Box/00004.eml", "Subject: 4\n\n4\n"}}));
}

TEST_F(Tree, TheOutputFolderInsideTheTreeIsNeverRead) {
    Put("C:\\in\\Inbox", Mbox({"1"}));
    Put("C:\\in\\out\\old\\00001.eml", "Subject: old\n\nold\n");
    // However it is spelled: here through a link to it.
    ASSERT_EQ(::symlink(At("C:\\in\\out").c_str(), At("C:\\alias").c_str()), 0);
    EXPECT_EQ(Run("C:\\in", "C:\\alias"), 1);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Files("C:\\in\\out"), (std::map<std::string, std::string>{
                                        {"old/00001.eml", "Subject: old\n\nold\n"},
                                        {"Inbox/00001.eml", Stored("1")}}));
    // Run again into the same folder: what the first run wrote is not read.
    EXPECT_EQ(Run("C:\\in", "C:\\in\\out"), 1);
    EXPECT_EQ(Files("C:\\in\\out").size(), 3u);
}

TEST_F(Tree, LinksToFoldersAreNotFollowed) {
    Put("C:\\in\\a\\Inbox", Mbox({"1"}));
    ASSERT_EQ(::symlink(At("C:\\in").c_str(), At("C:\\in\\a\\up").c_str()), 0);
    Put("C:\\elsewhere\\Other", Mbox({"2"}));
    ASSERT_EQ(::symlink(At("C:\\elsewhere").c_str(), At("C:\\in\\a\\away").c_str()), 0);
    EXPECT_EQ(Run("C:\\in", nullptr), 1);
    EXPECT_EQ(rc, 0);
}

TEST_F(Tree, FoldersDeeperThan64LevelsAreLeftOutAsAFailure) {
    std::string path = "C:\\in";
    for (int level = 1; level <= 65; ++level) {
        path += "\\d";
        if (level == 64 || level == 65)
            Put(path + "\\Box", Mbox({std::to_string(level)}));
    }
    EXPECT_EQ(Run("C:\\in", "C:\\out"), 1);
    EXPECT_EQ(rc, ResultInputFolderNotFound);
    const auto files = Files("C:\\out");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.begin()->second, Stored("64"));
}

TEST_F(Tree, AFileThatFailsLeavesItsCodeAndTheWalkGoesOn) {
    // A file that cannot be read (a link to nothing; the folder's files come
    // before its subfolders), then a mail folder whose output path would not
    // fit: the others are still written.
    const std::string longName(120, 'x');
    Put("C:\\in\\a\\" + longName + ".sbd\\" + longName, Mbox({"lost"}));
    ASSERT_EQ(::symlink(At("C:\\nothing").c_str(), At("C:\\in\\b").c_str()), 0);
    Put("C:\\in\\c", Mbox({"c"}));
    Put("C:\\in\\z\\d", Mbox({"d"}));
    const std::string out = "C:\\" + std::string(30, 'o');
    EXPECT_EQ(Run("C:\\in", out.c_str()), 2);
    EXPECT_EQ(rc, ResultInputFileNotFound); // the first failure wins
    EXPECT_EQ(Files(out), (std::map<std::string, std::string>{{"c/00001.eml", Stored("c")},
                                                            {"z/d/00001.eml", Stored("d")}}));
    // The byte total holds every file read.
    EXPECT_EQ(total.low, Mbox({"c"}).size() + Mbox({"d"}).size());
    // Without the unreadable file, the path that does not fit is told.
    ASSERT_EQ(::unlink(At("C:\\in\\b").c_str()), 0);
    EXPECT_EQ(Run("C:\\in", (out + "2").c_str()), 2);
    EXPECT_EQ(rc, ResultOutputFolderNotCreated);
    // Counting needs no output path: it reads all three.
    EXPECT_EQ(Run("C:\\in", nullptr), 3);
    EXPECT_EQ(rc, 0);
}

TEST_F(Tree, DoubleByteNamesAreKeptAsTheyAre) {
    // 表 and ソ end in 0x5C, the byte of a backslash.
    const std::string hyo = "\x95\x5c", so = "\x83\x5c";
    Put("C:\\in\\" + hyo + "\\" + so + ".sbd\\" + hyo + ".mbox", Mbox({"1"}));
    Put("C:\\in\\" + hyo + "\\" + so, Mbox({"2"}));
    EXPECT_EQ(Run("C:\\in", ("C:\\" + so + "out").c_str()), 2);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(Files("C:\\" + so + "out"),
              (std::map<std::string, std::string>{{hyo + "/" + so + "/00001.eml", Stored("2")},
                                                  {hyo + "/" + so + "/" + hyo + "/00001.eml", Stored("1")}}));
}

} // namespace
} // namespace corvex::test
