// Text choice by locale and placeholder filling without a length limit.
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "Texts.h"

namespace setup {
namespace {

TEST(Texts, TheTableHoldsEveryPair) {
    const auto &texts = test::TableTexts();
    for (unsigned id = 101; id <= 132; ++id)
        EXPECT_FALSE(texts.at(id).empty()) << id;
    EXPECT_EQ(32u, texts.size());
    // The two texts with line breaks and quotes, as the user must see them.
    EXPECT_EQ("Error occurred while executing the following command. (errcode = %d)\n\n\"%s\"",
              texts.at(123));
    EXPECT_EQ("The version of Windows is not supported. The application supports the following "
              "Windows versions. \n%s",
              texts.at(127));
    EXPECT_EQ("\"%s\" のコピーに失敗しました。", texts.at(120));
}

TEST(FormatText, PlaceholdersInOrder) {
    EXPECT_EQ("errcode = -1 for \"C:\\x.dll\"",
              FormatText("errcode = %d for \"%s\"", {"-1", "C:\\x.dll"}));
    EXPECT_EQ("100% of a", FormatText("100%% of %s", {"a"}));
    // An argument is inserted as it is, never read as a pattern.
    EXPECT_EQ("x %s %d y", FormatText("x %s y", {"%s %d"}));
    EXPECT_EQ("a  b", FormatText("a %s b", {}));
    EXPECT_EQ("50%", FormatText("50%", {}));
}

TEST(FormatText, LongTextsAreNotCut) {
    const std::string path(1500, 'p');
    const std::string text = FormatText(test::TableTexts().at(TextCopyFailed), {path});
    EXPECT_EQ("Copying \"" + path + "\" failed.", text);
}

} // namespace
} // namespace setup
