// Network paths ("\\server\share\..."). Wine resolves them through the
// prefix's dosdevices\unc folder; the CTest fixture links a share there to
// the prefix's drive C, and names it in CORVEX_UNC_SHARE.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CorvexDll.h"
#include "MailText.h"
#include "Support.h"
#include "TestFiles.h"

namespace {

class Network : public ::testing::Test {
protected:
    void SetUp() override {
        const char *share = std::getenv("CORVEX_UNC_SHARE");
        if (!share || !*share)
            GTEST_SKIP() << "CORVEX_UNC_SHARE is not set (the CTest fixture sets up the share)";
        ASSERT_EQ(0, tmp.Path().compare(0, 3, "C:\\")) << tmp.Path();
        unc = "\\\\localhost\\" + std::string(share) + tmp.Path().substr(2);
        ASSERT_TRUE(IsFolder(unc)) << unc << " does not resolve";
        mail.Message(2).Message(8).Message(9);
        ASSERT_TRUE(MakeFolder(tmp / "in"));
        ASSERT_TRUE(WriteBytes(tmp / "in\\mail.txt", mail.Bytes()));
    }
    TempFolder tmp;
    std::string unc; // the temporary folder as a network path
    MailFile mail;

    void ExpectMessagesIn(const std::string &folder) {
        ASSERT_EQ((std::vector<std::string>{"00001.eml", "00002.eml", "00003.eml"}),
                  SortedEntries(folder));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(mail.MessageBytes(i), ReadBytes(folder + "\\" + EmlName(i + 1)));
    }
};

TEST_F(Network, FilesAndFoldersAreReadThroughNetworkPaths) {
    int32_t rc = -1;
    EXPECT_EQ(3, Dll().countInFile((unc + "\\in\\mail.txt").c_str(), &rc));
    EXPECT_EQ(0, rc);
    CorvexByteTotal total = Garbage();
    EXPECT_EQ(3, Dll().countInFileEx((unc + "\\in").c_str(), &total, &rc, nullptr));
    EXPECT_EQ(0, rc);
    EXPECT_EQ(mail.Size(), Total(total));
    EXPECT_EQ(0, Dll().countInFile((unc + "\\in\\missing.txt").c_str(), &rc));
    EXPECT_EQ(ResultInputPathNotFound, rc);
}

TEST_F(Network, TheLastFolderOfANetworkOutputPathIsCreated) {
    int32_t rc = -1;
    EXPECT_EQ(3, Dll().kelpo((unc + "\\in").c_str(), (unc + "\\out").c_str(), KindGeneral, &rc));
    EXPECT_EQ(0, rc);
    ExpectMessagesIn(tmp / "out");
}

TEST_F(Network, MissingFoldersAboveANetworkOutputFolderAreNotCreated) {
    int32_t rc = -1;
    EXPECT_EQ(3, Dll().kelpo((tmp / "in").c_str(), (unc + "\\missing\\out").c_str(), KindGeneral,
                             &rc));
    EXPECT_EQ(ResultOutputNameTaken, rc);
    EXPECT_FALSE(IsFolder(tmp / "missing"));
    // The same path as a drive path is created level by level.
    EXPECT_EQ(3, Dll().kelpo((tmp / "in").c_str(), (tmp / "missing\\out").c_str(), KindGeneral,
                             &rc));
    EXPECT_EQ(0, rc);
    ExpectMessagesIn(tmp / "missing\\out");
}

} // namespace
