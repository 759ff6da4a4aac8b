// Word breaking of the full-text index: what a search in the viewer can find.
#include <gtest/gtest.h>

#include "chm/FullTextIndex.h"

namespace tarnbook::chm {
namespace {

using Words = std::vector<std::string>;

TEST(FullTextIndex, BreaksWordsAsTheWorkshopCompilerDoes) {
    struct Case {
        const char* text;
        std::uint32_t language;
        Words words;
    };
    const std::vector<Case> cases = {
        // ASCII words lower-cased; a dot between a digit and a letter or digit stays.
        {"Play 1.c4, then E5. Version 2.0!",
         0x409,
         {"play", "1.c4", "then", "e5", "version", "2.0"}},
        // Shift_JIS: each double-byte character alone, punctuation too (0x81 0x41 is "、");
        // trail bytes 0x5C and 0x41 never start a word.
        {"\x83\x5C\x83\x74\x83\x67\x81\x41OK\x95\x5C",
         0x411,
         {"\x83\x5C", "\x83\x74", "\x83\x67", "\x81\x41", "ok", "\x95\x5C"}},
        // Half-width katakana are single bytes that make words like letters.
        {"\xB1\xB2 abc", 0x411, {"\xB1\xB2", "abc"}},
        // GBK: any byte from 0x81 leads.
        {"\xBA\xDA\xB0\xD7.Net", 0x804, {"\xBA\xDA", "\xB0\xD7", "net"}},
        // A single-byte code page keeps accented letters in the word.
        {"Caf\xE9 au lait", 0x40C, {"caf\xE9", "au", "lait"}},
        // A lead byte at the very end is no character.
        {"ab\x83", 0x411, {"ab"}},
    };
    for (const auto& c : cases) EXPECT_EQ(indexWords(c.text, c.language), c.words) << c.text;
}

TEST(FullTextIndex, IndexesOnlyTheVisibleText) {
    const std::string html =
        "<html><head><title>Title words</title><style>p { color: red }</style>"
        "<script>var hidden = 1;</script></head><body><!-- a comment --><p class=\"x\">"
        "Fish&amp;chips&#65;&nbsp;end</p></body></html>";
    EXPECT_EQ(indexWords(visibleText(html), 0x409), (Words{"fish", "chipsa", "end"}));
}

TEST(FullTextIndex, ChainsLeavesUnderAnIndexNodeWhenOneLeafIsNotEnough) {
    struct Case {
        int words;
        unsigned depth;
    };
    for (const Case c : {Case{10, 1}, Case{16000, 2}}) {
        std::string body;
        for (int w = 0; w < c.words; ++w) body += "word" + std::to_string(w) + " ";
        const std::string index = buildFullTextIndex({{"Title", body}}, 0x409);
        auto u32 = [&](std::size_t at) {
            std::uint32_t v = 0;
            for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(index[at + i]);
            return v;
        };
        EXPECT_EQ(u32(0x04), 1u);       // pages
        EXPECT_EQ(u32(0x2E), 0x1000u);  // node size
        EXPECT_EQ(static_cast<unsigned char>(index[0x18]), c.depth) << c.words;
        // The leaves form a chain from the first one, as many as the header says.
        std::uint32_t leaf =
            c.depth == 1
                ? u32(0x14)
                : u32(u32(0x14) + 2 + 1 + 1 + static_cast<unsigned char>(index[u32(0x14) + 2]) - 1);
        std::uint32_t leaves = 0;
        while (leaf != 0 && leaves < 1000) {
            ASSERT_LE(leaf + 0x1000u, index.size());
            ++leaves;
            leaf = u32(leaf);
        }
        EXPECT_EQ(leaves, u32(0x10)) << c.words;
        EXPECT_EQ(leaves > 1, c.depth > 1) << c.words;
    }
}

}  // namespace
}  // namespace tarnbook::chm
