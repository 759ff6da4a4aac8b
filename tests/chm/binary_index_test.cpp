// The binary index read back as the viewer walks it: the leaf chain in order, every keyword
// found again by descending from the root, the map naming each leaf's first keyword, and
// the header's counts, for one block and for trees of several index levels.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "ChmReaders.h"

#include "chm/BinaryIndex.h"
#include "chm/ByteWriter.h"
#include "chm/SystemFiles.h"

namespace tarnbook::chm {
namespace {

struct Record {
    std::u16string text;
    std::uint16_t depth = 0;
    std::uint32_t lastPartAt = 0;
    std::vector<std::uint32_t> topics;
    std::u16string seeAlso;
};

// Reads one record at `p` and moves `p` past it (not past the trailing leaf/index fields).
Record readRecord(const std::string& b, std::size_t& p) {
    Record r;
    auto text = [&](std::u16string& out) {
        while (getU16(b, p) != 0) {
            out.push_back(getU16(b, p));
            p += 2;
        }
        p += 2;
    };
    text(r.text);
    const std::uint16_t seeAlso = getU16(b, p);
    r.depth = getU16(b, p + 2);
    r.lastPartAt = getU32(b, p + 4);
    const std::uint32_t count = getU32(b, p + 12);
    p += 16;
    if (seeAlso == 2) {
        text(r.seeAlso);
    } else {
        for (std::uint32_t i = 0; i < count; ++i, p += 4) r.topics.push_back(getU32(b, p));
    }
    return r;
}

struct Tree {
    std::vector<Record> leafOrder;  // by the leaf chain
    std::map<std::u16string, Record> byDescent;
    std::string error;
};

Tree readTree(const std::map<std::string, std::string>& files) {
    Tree t;
    const std::string& b = files.at("/$WWKeywordLinks/BTree");
    const std::string& map = files.at("/$WWKeywordLinks/Map");
    constexpr std::size_t kBlock = 2048, kHeader = 76;
    if (getU16(b, 0) != 0x293B || (b.size() - kHeader) % kBlock != 0) return {{}, {}, "header"};
    const std::uint32_t lastLeaf = getU32(b, 26), root = getU32(b, 30), blocks = getU32(b, 38);
    const std::uint32_t count = getU32(b, 44);
    if (blocks != (b.size() - kHeader) / kBlock || root + 1 != blocks) return {{}, {}, "counts"};
    auto block = [&](std::uint32_t n) { return b.substr(kHeader + n * kBlock, kBlock); };
    // The chain from the first leaf; the map must name each leaf with its first keyword number.
    std::int64_t leaf = 0, prev = -1;
    std::size_t mapAt = 2;
    while (leaf != -1) {
        const std::string d = block(static_cast<std::uint32_t>(leaf));
        if (static_cast<std::int32_t>(getU32(d, 4)) != prev) return {{}, {}, "prev link"};
        if (getU32(map, mapAt) != t.leafOrder.size() || getU32(map, mapAt + 4) != leaf)
            return {{}, {}, "map"};
        mapAt += 8;
        std::size_t p = 12;
        for (std::uint16_t i = 0; i < getU16(d, 2); ++i) {
            t.leafOrder.push_back(readRecord(d, p));
            if (getU32(d, p) != 1 || getU32(d, p + 4) != 13 * (t.leafOrder.size() - 1))
                return {{}, {}, "data offset"};
            p += 8;
        }
        if (getU16(d, 0) != kBlock - p) return {{}, {}, "free space"};
        prev = leaf;
        leaf = static_cast<std::int32_t>(getU32(d, 8));
    }
    if (prev != lastLeaf || t.leafOrder.size() != count || mapAt != map.size() ||
        getU16(map, 0) != lastLeaf + 1)
        return {{}, {}, "leaf count"};
    // Every keyword is reached from the root by following the last separator not after it.
    for (const auto& wanted : t.leafOrder) {
        std::uint32_t n = root;
        for (int level = 1; level < getU16(b, 42); ++level) {
            const std::string d = block(n);
            std::uint32_t child = getU32(d, 4);
            std::size_t p = 8;
            for (std::uint16_t i = 0; i < getU16(d, 2); ++i) {
                const Record sep = readRecord(d, p);
                const std::uint32_t next = getU32(d, p);
                p += 4;
                const auto it = std::find_if(t.leafOrder.begin(), t.leafOrder.end(),
                                             [&](const Record& r) { return r.text == sep.text; });
                const auto me =
                    std::find_if(t.leafOrder.begin(), t.leafOrder.end(),
                                 [&](const Record& r) { return r.text == wanted.text; });
                if (it <= me) child = next;
            }
            n = child;
        }
        const std::string d = block(n);
        std::size_t p = 12;
        for (std::uint16_t i = 0; i < getU16(d, 2); ++i) {
            Record r = readRecord(d, p);
            p += 8;
            if (r.text == wanted.text) t.byDescent.emplace(r.text, r);
        }
    }
    return t;
}

std::map<std::string, std::string> filesOf(const std::vector<ChmFile>& files) {
    std::map<std::string, std::string> out;
    for (const auto& f : files) out[f.name] = f.data;
    return out;
}

TEST(BinaryIndex, TreesOfEverySizeReadBackInOrderAndByDescent) {
    struct Case {
        const char* label;
        std::size_t keywords;
        std::size_t padding;  // makes keywords long, so that blocks fill fast
        std::uint16_t depth;
    };
    for (const Case& c : {Case{"one leaf", 3, 0, 1}, Case{"one index level", 300, 10, 2},
                          Case{"two index levels", 400, 100, 3}}) {
        SCOPED_TRACE(c.label);
        std::vector<IndexKeyword> in;
        for (std::size_t i = 0; i < c.keywords; ++i) {
            // Given in reverse so that the writer has to sort.
            const std::size_t n = c.keywords - 1 - i;
            std::string name = std::to_string(n);
            name = "k" + std::string(5 - name.size(), '0') + name;
            in.push_back(
                {name + std::string(c.padding, 'x'), 0, 0, {static_cast<std::uint32_t>(n), 7}, {}});
        }
        const auto files = filesOf(buildBinaryIndex("/$WWKeywordLinks", in, 0x409));
        const Tree t = readTree(files);
        ASSERT_EQ(t.error, "");
        EXPECT_EQ(getU16(files.at("/$WWKeywordLinks/BTree"), 42), c.depth);
        ASSERT_EQ(t.leafOrder.size(), c.keywords);
        EXPECT_EQ(t.byDescent.size(), c.keywords);
        for (std::size_t i = 0; i < c.keywords; ++i) {
            EXPECT_EQ(t.leafOrder[i].topics, (std::vector<std::uint32_t>{std::uint32_t(i), 7}));
            if (i > 0) {
                EXPECT_LT(t.leafOrder[i - 1].text, t.leafOrder[i].text);
            }
        }
        EXPECT_EQ(files.at("/$WWKeywordLinks/Data").size(), 13 * c.keywords);
    }
}

TEST(BinaryIndex, EqualKeywordsMergeAndSubKeywordsKeepTheirParts) {
    // Shift_JIS: 索引 (index), and a sub-keyword under it.
    const std::string index = "\x8D\xF5\x88\xF8";
    const std::vector<IndexKeyword> in = {
        {"zeta", 0, 0, {4}, {}},
        {index, 0, 0, {1}, {}},
        {index + ", sub", 1, index.size() + 2, {2}, {}},
        {index, 0, 0, {3, 1}, {}},
        {"Alpha", 0, 0, {}, "zeta"},
    };
    const auto files = filesOf(buildBinaryIndex("/$WWKeywordLinks", in, 0x411));
    const Tree t = readTree(files);
    ASSERT_EQ(t.error, "");
    ASSERT_EQ(t.leafOrder.size(), 4u);
    EXPECT_EQ(t.leafOrder[0].text, u"Alpha");
    EXPECT_EQ(t.leafOrder[0].seeAlso, u"zeta");
    EXPECT_EQ(t.leafOrder[1].text, u"zeta");
    EXPECT_EQ(t.leafOrder[2].text, u"\u7D22\u5F15");
    EXPECT_EQ(t.leafOrder[2].topics, (std::vector<std::uint32_t>{1, 3, 1}));
    EXPECT_EQ(t.leafOrder[3].text, u"\u7D22\u5F15, sub");
    EXPECT_EQ(t.leafOrder[3].depth, 1);
    EXPECT_EQ(t.leafOrder[3].lastPartAt, 4u);  // UTF-16 units before "sub"
    EXPECT_EQ(getU32(files.at("/$WWKeywordLinks/BTree"), 48), 932u);

    // Without keywords only the empty property file is written.
    const auto none = buildBinaryIndex("/$WWAssociativeLinks", {}, 0x411);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].name, "/$WWAssociativeLinks/Property");
    EXPECT_EQ(none[0].data, std::string(4, '\0'));
}

TEST(BinaryIndex, KeywordOrderAndUrlIds) {
    // Symbols, then digits, then letters without regard to case; '_' is passed over;
    // hiragana sorts with katakana (Japanese).
    const std::vector<std::pair<std::string, std::string>> ordered = {
        {"[Files] section", "#include"},  // both symbols: by code
        {"160bit", "\x81\x75x"},          // a Japanese bracket is a symbol
        {"zlib", "64bit"},
        {"Blowfish", "atc"},
        {"Files", "files"},
        {"_AtcCase.ini", "AES"},
        {"\x83\x52\x83\x93", "\x82\xb1\x82\xdc"},  // コン after こま
        {"\x83\x52\x83\x93", "\x82\xb2\x82\xdd"},  // コン after ごみ: the mark waits
        {"\x82\xb2\x82\xdd", "\x83\x52\x83\x7d"},  // ごみ after コマ
    };
    for (const auto& [later, earlier] : ordered) {
        EXPECT_TRUE(indexKeywordLess(earlier, later, 0x411)) << earlier << " < " << later;
        EXPECT_FALSE(indexKeywordLess(later, earlier, 0x411)) << later;
    }
    // The ids of the Workshop compiler's own URL tables.
    const std::vector<std::pair<const char*, std::uint32_t>> ids = {
        {"index.htm", 0x18FFD921},           {"Index.hhk", 0x18FFD71B},
        {"Rule_GamePlay1.htm", 0x141D8A93},  {"Table of Contents.hhc", 0x4BBD0C92},
        {"pages/overview.html", 0xC6FF5AA4},
    };
    for (const auto& [name, id] : ids) EXPECT_EQ(topicUrlId(name), id) << name;
}

// The Workshop compiler's index of a large English help (995 keywords, 30 leaves under one
// index block), rebuilt from its keywords given in reverse: the same blocks, separators and
// map, apart from the stale bytes it leaves in free space.
TEST(BinaryIndex, RebuildsTheWorkshopCompilersIndexOfALargeHelp) {
    const std::string path = std::string(TARNBOOK_CORPUS_DIR) + "/chm/InnoSetup-ISetup.chm";
    ASSERT_TRUE(std::filesystem::exists(path)) << "the corpus is missing: " << path;
    const auto theirs = chmtest::readWithChmlib(path);
    ASSERT_EQ(theirs.error, "");
    const Tree t = readTree(theirs.entries);
    ASSERT_EQ(t.error, "");
    std::vector<IndexKeyword> in;
    for (auto r = t.leafOrder.rbegin(); r != t.leafOrder.rend(); ++r)
        in.push_back({std::string(r->text.begin(), r->text.end()), r->depth, r->lastPartAt,
                      r->topics, std::string(r->seeAlso.begin(), r->seeAlso.end())});
    const auto ours = filesOf(buildBinaryIndex("/$WWKeywordLinks", in, 0x409));
    for (const char* name : {"/$WWKeywordLinks/Map", "/$WWKeywordLinks/Data"})
        EXPECT_EQ(ours.at(name), theirs.entries.at(name)) << name;
    EXPECT_EQ(chmtest::withoutFreeSpace(ours.at("/$WWKeywordLinks/BTree")),
              chmtest::withoutFreeSpace(theirs.entries.at("/$WWKeywordLinks/BTree")));
}

}  // namespace
}  // namespace tarnbook::chm
