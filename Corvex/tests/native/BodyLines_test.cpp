// The block step over body lines: it passes over what can begin nothing and
// end nothing, and leaves every line the scanner must read whole.
#include <gtest/gtest.h>

#include <string>

#include "BodyLines.h"

namespace corvex {
namespace {

BodyLines Pass(const std::string &text) {
    return PassBodyLines(reinterpret_cast<const uint8_t *>(text.data()), text.size());
}

TEST(BodyLines, StopsAtLinesThatMayBeginOrEndSomething) {
    const std::string body = "Hello,\r\n\r\nsee you.\r\n";
    const BodyLines field = Pass(body + "Subject: next\r\n");
    EXPECT_EQ(body.size(), field.bytes);
    EXPECT_EQ(3u, field.lines);
    EXPECT_TRUE(field.text);
    // A boundary, a closing line or a line before an enclosed copy begins with "-".
    EXPECT_EQ(body.size(), Pass(body + "--b1\r\nmore\r\n").bytes);
    // A name with blanks before its colon is a field line too.
    EXPECT_EQ(body.size(), Pass(body + "X-Note \t: a\r\nmore\r\n").bytes);
    // A name begins with a letter: text that only looks like a field is passed over.
    EXPECT_EQ(12u, Pass("1st: b\nmore\nnext").bytes);
}

TEST(BodyLines, EmptyLinesAreNoText) {
    const BodyLines empty = Pass("\n\r\n\r\rx");
    EXPECT_EQ(5u, empty.bytes); // LF, CR LF, CR, CR: four empty lines
    EXPECT_EQ(4u, empty.lines);
    EXPECT_FALSE(empty.text);
}

TEST(BodyLines, LeavesALineWhoseEndIsNotKnownWhole) {
    // The last line has no line end in the block, or ends in a CR that may
    // be the first half of a CR LF in the next block: both are left.
    EXPECT_EQ(6u, Pass("line1\nline2").bytes);
    EXPECT_EQ(6u, Pass("line1\nline2\r").bytes);
    EXPECT_EQ(13u, Pass("line1\nline2\r\nx").bytes);
    // A line whose line end is the block's last byte is left too, even a
    // LF: the step reads no byte past the block.
    EXPECT_EQ(6u, Pass("line1\nline2\n").bytes);
    EXPECT_EQ(0u, Pass("").bytes);
    EXPECT_EQ(0u, Pass("").lines);
}

} // namespace
} // namespace corvex
