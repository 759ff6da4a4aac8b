// The binary index writer on random keywords (any bytes, double-byte lead bytes cut short,
// sub-keywords, see-also targets, many topics): the tree must come out whole, every keyword
// on the leaf chain exactly once, the header's counts and each block's free space true.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chm/BinaryIndex.h"
#include "chm/ByteWriter.h"

namespace {

using tarnbook::chm::getU16;
using tarnbook::chm::getU32;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

// Skips one record of a block at `p` (keyword, fields, topics or see-also text).
std::size_t skipRecord(const std::string& b, std::size_t p, std::size_t end) {
    auto text = [&] {
        while (p + 1 < end && getU16(b, p) != 0) p += 2;
        check(p + 1 < end);
        p += 2;
    };
    text();
    check(p + 16 <= end);
    const bool seeAlso = getU16(b, p) == 2;
    const std::uint32_t count = getU32(b, p + 12);
    p += 16;
    if (seeAlso) {
        text();
    } else {
        check(p + 4ull * count <= end);
        p += 4 * count;
    }
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::chm;
    const std::string in(reinterpret_cast<const char*>(data), size);
    std::vector<IndexKeyword> keywords;
    // Records split by 0xFF: first byte picks depth/see-also/topic count, the rest is text.
    std::size_t start = 0;
    while (start < in.size()) {
        std::size_t stop = in.find('\xFF', start);
        if (stop == std::string::npos) stop = in.size();
        const std::string part = in.substr(start, stop - start);
        start = stop + 1;
        if (part.empty()) continue;
        IndexKeyword k;
        const auto control = static_cast<unsigned char>(part[0]);
        k.text = part.substr(1);
        k.depth = control & 1;
        k.lastPartAt = k.depth ? k.text.size() / 2 : 0;
        if (control & 2) k.seeAlso = k.text;
        for (std::size_t i = 0; i < (control >> 2) * 40u; ++i)
            k.topics.push_back(static_cast<std::uint32_t>(i));
        keywords.push_back(std::move(k));
    }
    const std::uint32_t language = size % 2 ? 0x411 : 0x409;
    const auto files = buildBinaryIndex("/$WWKeywordLinks", keywords, language);
    if (keywords.empty()) {
        check(files.size() == 1);
        return 0;
    }
    const std::string& b = files[0].data;
    constexpr std::size_t kBlock = 2048, kHeader = 76;
    check(b.size() > kHeader && (b.size() - kHeader) % kBlock == 0);
    const std::uint32_t blocks = getU32(b, 38);
    check(blocks == (b.size() - kHeader) / kBlock && getU32(b, 30) + 1 == blocks);
    std::size_t seen = 0;
    std::int64_t leaf = 0;
    for (std::uint32_t steps = 0; leaf != -1; ++steps) {
        check(steps < blocks && leaf >= 0 && leaf <= getU32(b, 26));
        const std::size_t base = kHeader + static_cast<std::size_t>(leaf) * kBlock;
        std::size_t p = base + 12;
        for (std::uint16_t i = 0; i < getU16(b, base + 2); ++i)
            p = skipRecord(b, p, base + kBlock) + 8;
        check(p <= base + kBlock && getU16(b, base) == base + kBlock - p);
        seen += getU16(b, base + 2);
        leaf = static_cast<std::int32_t>(getU32(b, base + 8));
    }
    check(seen == getU32(b, 44) && seen <= keywords.size());
    return 0;
}
