#include "chm/BinaryIndex.h"

#include <algorithm>

#include "chm/ByteWriter.h"
#include "chm/HelpCodePage.h"
#include "platform/CodePages.h"
#include "platform/Cp932.h"

namespace tarnbook::chm {

namespace {

constexpr std::size_t kBlock = 2048;
constexpr std::size_t kHeader = 76;
constexpr std::size_t kLeafHeader = 12;
constexpr std::size_t kIndexHeader = 8;
// What every keyword record in a block must leave room for: its own 8 trailing bytes in a
// leaf, or the 4-byte child number in an index block.
constexpr std::size_t kMaxRecord = kBlock - kLeafHeader - 8;
constexpr std::size_t kDataRecord = 13;
constexpr std::uint16_t kSeeAlso = 2;

// One keyword as a block stores it, without the trailing fields that differ between leaf
// and index blocks.
std::string keywordRecord(const IndexKeyword& k, std::uint32_t languageId) {
    // A reader takes a NUL as the end of the text, so nothing after one is stored.
    auto decoded = [languageId](std::string_view bytes) {
        std::u16string s = decodeHelpText(bytes, languageId);
        s.erase(std::find(s.begin(), s.end(), u'\0'), s.end());
        return s;
    };
    const std::u16string text = decoded(k.text);
    const std::u16string lead = decoded(std::string_view(k.text).substr(0, k.lastPartAt));
    const std::u16string seeAlso = decoded(k.seeAlso);
    auto putText = [](std::string& out, const std::u16string& s, std::size_t limit) {
        for (std::size_t i = 0; i < s.size() && i < limit; ++i) putU16(out, s[i]);
        putU16(out, 0);
    };
    std::string r;
    // A keyword longer than a block could hold is cut; the viewer shows what fits.
    putText(r, text, 400);
    putU16(r, k.seeAlso.empty() ? 0 : kSeeAlso);
    putU16(r, k.depth);
    putU32(r, static_cast<std::uint32_t>(std::min<std::size_t>(lead.size(), 400)));
    putU32(r, 0);
    if (!k.seeAlso.empty()) {
        putU32(r, 1);
        putText(r, seeAlso, 400);
        return r;
    }
    // A keyword of very many topics keeps those that fit one block.
    const std::size_t room = (kMaxRecord - r.size() - 4) / 4;
    const std::size_t count = std::min(k.topics.size(), room);
    putU32(r, static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) putU32(r, k.topics[i]);
    return r;
}

struct Block {
    std::string bytes;
    std::string firstRecord;  // the record of the first keyword below this block
};

// Fills blocks in order with the records; a block is full when the next record does not fit.
template <typename Put>
std::vector<Block> fillBlocks(const std::vector<std::string>& records, std::size_t header,
                              std::size_t extra, Put put) {
    std::vector<Block> blocks;
    std::vector<std::size_t> counts;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (blocks.empty() || blocks.back().bytes.size() + records[i].size() + extra > kBlock) {
            blocks.push_back({std::string(header, '\0'), records[i]});
            counts.push_back(0);
        }
        put(blocks.back().bytes, i);
        ++counts.back();
    }
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        std::string& bytes = blocks[b].bytes;
        const auto free = static_cast<std::uint16_t>(kBlock - bytes.size());
        bytes.resize(kBlock, '\0');
        bytes[0] = static_cast<char>(free & 0xFF);
        bytes[1] = static_cast<char>(free >> 8);
        bytes[2] = static_cast<char>(counts[b] & 0xFF);
        bytes[3] = static_cast<char>(counts[b] >> 8);
    }
    return blocks;
}

std::string propertyFile(bool empty) {
    std::string p;
    if (empty) {
        putU32(p, 0);
        return p;
    }
    for (std::uint32_t v : {0u, 0u, 0u, 12u, 1u, 1u, 0u, 0u}) putU32(p, v);
    return p;
}

// Katakana without its voiced or semi-voiced mark (ガ -> カ, パ -> ハ, ヴ -> ウ).
char16_t unvoiced(char16_t c) {
    if (c >= u'\u30AC' && c <= u'\u30C2') return (c - 0x30AB) % 2 ? c - 1 : c;
    if (c == u'\u30C5' || c == u'\u30C7' || c == u'\u30C9') return c - 1;
    if (c >= u'\u30D0' && c <= u'\u30DD') return static_cast<char16_t>(c - (c - 0x30CF) % 3);
    if (c == u'\u30F4') return u'\u30A6';
    if (c >= u'\u30F7' && c <= u'\u30FA') return static_cast<char16_t>(c - 8);
    return c;
}

// A Shift_JIS character as Japanese sorting first compares it: hiragana as its katakana,
// voiced kana as the plain one (the marks only break ties).
std::uint32_t primaryKana(std::uint32_t code) {
    const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const std::u16string text = platform::decodeCp932(std::string_view(bytes, 2));
    if (text.size() != 1) return code;
    char16_t c = text[0];
    if (c >= u'\u3041' && c <= u'\u3096') c = static_cast<char16_t>(c + 0x60);
    const std::string folded = platform::encodeCp932(std::u16string(1, unvoiced(c)));
    if (folded.size() != 2) return code;
    return (std::uint32_t{static_cast<unsigned char>(folded[0])} << 8) |
           static_cast<unsigned char>(folded[1]);
}

// The collation key of one character class: symbols, digits, letters, then everything else.
std::vector<std::uint32_t> sortKey(const std::string& text, std::uint32_t languageId) {
    std::vector<std::uint32_t> key;
    const bool japanese = (languageId & 0x3FF) == 0x11;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (isLeadByte(c, languageId) && i + 1 < text.size()) {
            std::uint32_t code = (std::uint32_t{c} << 8) | static_cast<unsigned char>(text[++i]);
            if (japanese) code = primaryKana(code);
            const bool symbol = japanese && code >= 0x8140 && code <= 0x81FF;
            key.push_back(((symbol ? 0u : 3u) << 24) | code);
        } else if (c == '_' || c == '-' || c == '\'') {
            continue;
        } else if (c >= '0' && c <= '9') {
            key.push_back((1u << 24) | c);
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            key.push_back((2u << 24) | (c | 0x20u));
        } else {
            key.push_back(((c < 0x80 ? 0u : 3u) << 24) | c);
        }
    }
    return key;
}

}  // namespace

bool indexKeywordLess(const std::string& a, const std::string& b, std::uint32_t languageId) {
    const auto ka = sortKey(a, languageId);
    const auto kb = sortKey(b, languageId);
    if (ka != kb) return ka < kb;
    // Among equals lower case comes first ("files" before "Files"): compare with ASCII case
    // swapped.
    auto swapped = [](std::string s) {
        for (auto& c : s)
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c ^= 0x20;
        return s;
    };
    return swapped(a) < swapped(b);
}

std::vector<ChmFile> buildBinaryIndex(const std::string& folder, std::vector<IndexKeyword> keywords,
                                      std::uint32_t languageId) {
    // Merge equal keywords, keeping the first one's place among equals for the tie-break.
    std::stable_sort(keywords.begin(), keywords.end(),
                     [&](const IndexKeyword& a, const IndexKeyword& b) {
                         if (a.text != b.text) return indexKeywordLess(a.text, b.text, languageId);
                         return a.depth < b.depth;
                     });
    std::vector<IndexKeyword> merged;
    for (auto& k : keywords) {
        if (!merged.empty() && merged.back().text == k.text && merged.back().depth == k.depth) {
            IndexKeyword& m = merged.back();
            // A topic given twice stays twice, as the Workshop compiler keeps it.
            m.topics.insert(m.topics.end(), k.topics.begin(), k.topics.end());
            if (m.seeAlso.empty() && m.topics.empty()) m.seeAlso = k.seeAlso;
        } else {
            merged.push_back(std::move(k));
        }
    }
    if (merged.empty()) return {{folder + "/Property", propertyFile(true), true}};

    std::vector<std::string> records;
    for (const auto& k : merged) records.push_back(keywordRecord(k, languageId));

    std::vector<Block> blocks =
        fillBlocks(records, kLeafHeader, 8, [&](std::string& out, std::size_t i) {
            out += records[i];
            putU32(out, 1);
            putU32(out, static_cast<std::uint32_t>(i * kDataRecord));
        });
    const std::size_t leaves = blocks.size();
    std::string map;
    putU16(map, static_cast<std::uint16_t>(leaves));
    std::size_t first = 0;
    for (std::size_t b = 0; b < leaves; ++b) {
        patchU32(blocks[b].bytes, 4, b == 0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(b - 1));
        patchU32(blocks[b].bytes, 8,
                 b + 1 == leaves ? 0xFFFFFFFFu : static_cast<std::uint32_t>(b + 1));
        putU32(map, static_cast<std::uint32_t>(first));
        putU32(map, static_cast<std::uint32_t>(b));
        first += static_cast<unsigned char>(blocks[b].bytes[2]) |
                 (static_cast<unsigned char>(blocks[b].bytes[3]) << 8);
    }

    // Index levels until one block holds them all: each block of a level names its first
    // child in the header and every further child with that child's first keyword.
    std::size_t levelStart = 0;
    std::uint16_t depth = 1;
    while (blocks.size() - levelStart > 1) {
        const std::size_t levelEnd = blocks.size();
        std::vector<std::string> separators;
        std::vector<std::size_t> children;
        for (std::size_t b = levelStart; b < levelEnd; ++b) {
            separators.push_back(blocks[b].firstRecord);
            children.push_back(b);
        }
        // The first child of each index block goes in its header, not in a record.
        std::vector<Block> level;
        std::vector<std::size_t> firstChild;
        std::size_t i = 0;
        while (i < separators.size()) {
            Block block{std::string(kIndexHeader, '\0'), separators[i]};
            firstChild.push_back(children[i]);
            std::uint16_t count = 0;
            ++i;
            while (i < separators.size() &&
                   block.bytes.size() + separators[i].size() + 4 <= kBlock) {
                block.bytes += separators[i];
                putU32(block.bytes, static_cast<std::uint32_t>(children[i]));
                ++count;
                ++i;
            }
            const auto free = static_cast<std::uint16_t>(kBlock - block.bytes.size());
            block.bytes.resize(kBlock, '\0');
            std::string head;
            putU16(head, free);
            putU16(head, count);
            putU32(head, static_cast<std::uint32_t>(firstChild.back()));
            block.bytes.replace(0, kIndexHeader, head);
            level.push_back(std::move(block));
        }
        levelStart = levelEnd;
        for (auto& b : level) blocks.push_back(std::move(b));
        ++depth;
    }

    std::string tree;
    putU16(tree, 0x293B);
    putU16(tree, 0x0104);
    putU16(tree, static_cast<std::uint16_t>(kBlock));
    std::string format = "X44";
    format.resize(16, '\0');
    tree += format;
    putU32(tree, 0);
    putU32(tree, static_cast<std::uint32_t>(leaves - 1));
    putU32(tree, static_cast<std::uint32_t>(blocks.size() - 1));  // the root
    putU32(tree, 0xFFFFFFFF);
    putU32(tree, static_cast<std::uint32_t>(blocks.size()));
    putU16(tree, depth);
    putU32(tree, static_cast<std::uint32_t>(merged.size()));
    putU32(tree, static_cast<std::uint32_t>(platform::codePageOfLanguage(languageId)));
    putU32(tree, languageId);
    putU32(tree, 1);
    putU32(tree, 10031);
    tree.resize(kHeader, '\0');
    for (const auto& b : blocks) tree += b.bytes;

    std::string data;
    for (std::size_t i = 0; i < merged.size(); ++i) {
        putU32(data, 0);
        putU32(data, 5);
        putU32(data, 0x80);
        putU8(data, 0);
    }
    return {{folder + "/BTree", tree, true},
            {folder + "/Data", data, true},
            {folder + "/Map", map, true},
            {folder + "/Property", propertyFile(false), true}};
}

}  // namespace tarnbook::chm
