// The code lengths the LZX writer stores must form complete prefix codes within the limit,
// or the readers refuse the block.
#include <gtest/gtest.h>

#include <random>

#include "chm/Huffman.h"

namespace tarnbook::chm {
namespace {

// Kraft sum scaled by 2^maxLength; a complete code sums to exactly 2^maxLength.
std::uint64_t kraft(const std::vector<std::uint8_t>& lengths, int maxLength) {
    std::uint64_t sum = 0;
    for (auto l : lengths)
        if (l) sum += std::uint64_t{1} << (maxLength - l);
    return sum;
}

TEST(Huffman, CodesAreCompleteAndLimited) {
    std::vector<std::vector<std::uint32_t>> inputs = {{0, 0, 5, 0},  // one symbol gets a partner
                                                      {1, 1},        // two symbols
                                                      {0, 0, 0},     // nothing: all zero
                                                      {7, 1, 1, 1, 1, 1}};  // uneven
    // Fibonacci weights force depths past any limit.
    std::vector<std::uint32_t> fib(30);
    fib[0] = fib[1] = 1;
    for (std::size_t i = 2; i < fib.size(); ++i) fib[i] = fib[i - 1] + fib[i - 2];
    inputs.push_back(fib);
    std::mt19937 rng(7);
    std::vector<std::uint32_t> wide(512);
    for (auto& f : wide) f = rng() % 3 == 0 ? 0 : rng() % 10000;
    inputs.push_back(wide);

    for (int limit : {7, 15, 16}) {
        for (const auto& freqs : inputs) {
            const auto used = std::count_if(freqs.begin(), freqs.end(), [](auto f) { return f; });
            if (used > (1 << limit)) {
                EXPECT_THROW(huffmanLengths(freqs, limit), std::invalid_argument);
                continue;
            }
            const auto lengths = huffmanLengths(freqs, limit);
            ASSERT_EQ(lengths.size(), freqs.size());
            const bool none = std::all_of(freqs.begin(), freqs.end(), [](auto f) { return !f; });
            if (none) {
                EXPECT_EQ(kraft(lengths, limit), 0u);
                continue;
            }
            EXPECT_EQ(kraft(lengths, limit), std::uint64_t{1} << limit) << "limit " << limit;
            for (std::size_t s = 0; s < freqs.size(); ++s) {
                EXPECT_LE(lengths[s], limit);
                if (freqs[s]) {
                    EXPECT_GT(lengths[s], 0) << s;
                }
            }
        }
    }
}

TEST(Huffman, CanonicalCodesArePrefixFree) {
    const std::vector<std::uint8_t> lengths = {3, 3, 3, 3, 3, 2, 4, 4};
    const auto codes = canonicalCodes(lengths);
    EXPECT_EQ(codes[5], 0b00u);  // the shortest code comes first
    EXPECT_EQ(codes[0], 0b010u);
    EXPECT_EQ(codes[7], 0b1111u);
    for (std::size_t a = 0; a < codes.size(); ++a)
        for (std::size_t b = 0; b < codes.size(); ++b) {
            if (a == b || lengths[a] > lengths[b]) continue;
            EXPECT_NE(codes[b] >> (lengths[b] - lengths[a]), codes[a]) << a << " " << b;
        }
}

}  // namespace
}  // namespace tarnbook::chm
