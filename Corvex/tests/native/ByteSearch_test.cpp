// The block searches against the plain one-byte-at-a-time answer, over
// random blocks with the text, NUL bytes and line ends planted at every place
// (a NUL is data: it stops no search), for the
// wide and the word-at-a-time forms alike (a 32-bit build on a processor
// without SSE2 runs only the latter).
#include "ByteSearch.h"
#include "LineEnds.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace corvex::test {
namespace {

size_t Naive(const std::vector<uint8_t> &b, const std::string &text) {
    for (size_t i = 0; i + text.size() <= b.size(); ++i)
        if (std::equal(text.begin(), text.end(), b.begin() + long(i)))
            return i;
    return b.size();
}

TEST(ByteSearch, AgreesWithTheOneByteAnswerEverywhere) {
    std::mt19937 rng(7);
    // Few distinct bytes, so that partial matches of the text are common.
    const std::string alphabet = "ab-=\n";
    for (const std::string &text : std::vector<std::string>{"a", "ab", "-=ab", "==_Part_0007", std::string(40, 'a') + "b"}) {
        for (size_t size : {0u, 1u, 7u, 15u, 16u, 17u, 31u, 33u, 64u, 100u}) {
            for (int round = 0; round < 60; ++round) {
                std::vector<uint8_t> b(size);
                for (auto &c : b)
                    c = uint8_t(alphabet[rng() % alphabet.size()]);
                if (size && round % 3 == 0)
                    b[rng() % size] = 0;
                if (size >= text.size() && round % 2 == 0)
                    std::copy(text.begin(), text.end(), b.begin() + long(rng() % (size - text.size() + 1)));
                const size_t want = Naive(b, text);
                const auto *t = reinterpret_cast<const uint8_t *>(text.data());
                EXPECT_EQ(FindText(b.data(), size, t, text.size()), want) << text << size;
                EXPECT_EQ(FindTextScalar(b.data(), size, t, text.size()), want);
                const uint8_t byte = uint8_t(alphabet[round % alphabet.size()]);
                size_t first = 0;
                while (first < size && b[first] != byte)
                    ++first;
                EXPECT_EQ(FindByte(b.data(), size, byte), first);
                EXPECT_EQ(FindByteScalar(b.data(), size, byte), first);
            }
        }
    }
}

TEST(ByteSearch, LineEndsAgreeWithTheOneByteAnswerEverywhere) {
    std::mt19937 rng(11);
    const std::string alphabet = "abcdefgh";
    for (size_t size : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 32u, 33u, 47u, 48u, 64u, 100u}) {
        for (int round = 0; round < 80; ++round) {
            std::vector<uint8_t> b(size);
            for (auto &c : b)
                c = uint8_t(alphabet[rng() % alphabet.size()]);
            // Up to two of CR, LF and NUL at random places; none in some rounds.
            for (int k = round % 3; size && k > 0; --k)
                b[rng() % size] = uint8_t("\r\n\0"[rng() % 3]);
            size_t want = 0;
            while (want < size && b[want] != 13 && b[want] != 10)
                ++want;
            EXPECT_EQ(FindLineEnd(b.data(), size), want) << size;
            EXPECT_EQ(FindLineEndScalar(b.data(), size), want) << size;
        }
    }
}

} // namespace
} // namespace corvex::test
