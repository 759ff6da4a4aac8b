#include "project/ContentsRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/Cp932.h"
#include "project/LongText.h"

namespace tarnbook::project {
namespace {

struct Field {
    std::size_t offset;
    std::size_t width;  // text bytes after the length byte
};

// Current layout.
constexpr Field kTitle{8, 250};
constexpr Field kHtml{259, 250};
constexpr std::size_t kImageIndex = 512;
constexpr std::size_t kLevel = 516;
constexpr Field kKey1{520, 255};
constexpr Field kKey2{776, 255};
constexpr Field kSubKey1{1032, 255};
constexpr Field kSubKey2{1288, 255};
constexpr Field kContextId{1544, 50};
constexpr Field kAnchor{1595, 100};
constexpr Field kReserved{1696, 150};

// Previous layout (fields after Level differ).
constexpr Field kOldKey{520, 100};
constexpr Field kOldSubKey{621, 100};
constexpr Field kOldContextId{722, 50};
constexpr Field kOldAnchor{773, 100};
constexpr Field kOldReserved{874, 150};

void putText(char* rec, Field f, std::string_view text) {
    std::size_t n = std::min(text.size(), f.width);
    rec[f.offset] = static_cast<char>(static_cast<unsigned char>(n));
    std::memcpy(rec + f.offset + 1, text.data(), n);
}

std::string getText(std::string_view rec, Field f) {
    std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(rec[f.offset]), f.width);
    return std::string(rec.substr(f.offset + 1, n));
}

void putU32(char* rec, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) rec[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t getU32(std::string_view rec, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(rec[offset + i])) << (8 * i);
    return v;
}

}  // namespace

void encodeRecord(const TData& d, int level, char* rec, KeywordStorage keywords) {
    std::memset(rec, 0, kCurrentRecordSize);
    rec[0] = static_cast<char>(d.ItemType);
    putU32(rec, 4, d.ParentValue);
    putText(rec, kTitle, d.Title);
    putText(rec, kHtml, d.HTML);
    putU32(rec, kImageIndex, static_cast<std::uint32_t>(d.ImageIndex));
    putU32(rec, kLevel, static_cast<std::uint32_t>(level));
    auto halves = [keywords](const std::u16string& text) {
        if (keywords == KeywordStorage::Split) return splitLongText(text);
        return std::pair<std::string, std::string>(platform::encodeCp932(text), std::string());
    };
    auto [k1, k2] = halves(d.KeyWord);
    putText(rec, kKey1, k1);
    putText(rec, kKey2, k2);
    auto [s1, s2] = halves(d.SubKeyWord);
    putText(rec, kSubKey1, s1);
    putText(rec, kSubKey2, s2);
    putText(rec, kContextId, d.ContextID);
    putText(rec, kAnchor, d.Anchor);
    putText(rec, kReserved, d.Reserved);
}

TData decodeRecord(std::string_view rec, RecordLayout layout) {
    TData d;
    d.ItemType = static_cast<std::uint8_t>(rec[0]);
    d.ParentValue = getU32(rec, 4);
    d.Title = getText(rec, kTitle);
    d.HTML = getText(rec, kHtml);
    d.ImageIndex = static_cast<std::int32_t>(getU32(rec, kImageIndex));
    d.Level = static_cast<std::int32_t>(getU32(rec, kLevel));
    if (layout == RecordLayout::Current) {
        d.KeyWord = joinLongText(getText(rec, kKey1), getText(rec, kKey2));
        d.SubKeyWord = joinLongText(getText(rec, kSubKey1), getText(rec, kSubKey2));
        d.ContextID = getText(rec, kContextId);
        d.Anchor = getText(rec, kAnchor);
        d.Reserved = getText(rec, kReserved);
    } else {
        d.KeyWord = platform::decodeCp932(getText(rec, kOldKey));
        d.SubKeyWord = platform::decodeCp932(getText(rec, kOldSubKey));
        d.ContextID = getText(rec, kOldContextId);
        d.Anchor = getText(rec, kOldAnchor);
        d.Reserved = getText(rec, kOldReserved);
    }
    return d;
}

}  // namespace tarnbook::project
