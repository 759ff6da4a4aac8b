#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chm/ChmContainer.h"

// The binary index of a compiled help: $WWKeywordLinks (the keywords of the index file and of
// keyword objects in pages) and $WWAssociativeLinks (ALink names). Each is a B-tree of 2 KB
// blocks of keywords in UTF-16 with the topics (#TOPICS numbers) they lead to, a map from
// keyword numbers to leaf blocks, and the fixed Data and Property files the viewer expects.
namespace tarnbook::chm {

struct IndexKeyword {
    std::string text;  // in the help's code page; a sub-keyword as "parent, child"
    std::uint16_t depth = 0;
    std::size_t lastPartAt = 0;         // byte offset in `text` of its last part
    std::vector<std::uint32_t> topics;  // #TOPICS numbers, in the order they were given
    std::string seeAlso;                // a keyword to look at instead of topics
};

// The files under `folder` ("/$WWKeywordLinks" or "/$WWAssociativeLinks"). Keywords of equal
// text and depth become one with the topics of all. Without keywords only an empty Property
// file is written, as the Workshop compiler does.
std::vector<ChmFile> buildBinaryIndex(const std::string& folder, std::vector<IndexKeyword> keywords,
                                      std::uint32_t languageId);

// The order of the index: symbols before digits before letters, ASCII case and (Japanese)
// hiragana/katakana and voiced marks ignored, '_', '-' and '\'' skipped, then the bytes as a
// tie-break, lower case first. Kanji follow their Shift_JIS (reading) order.
bool indexKeywordLess(const std::string& a, const std::string& b, std::uint32_t languageId);

}  // namespace tarnbook::chm
