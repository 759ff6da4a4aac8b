#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "project/TData.h"

namespace tarnbook::project {

// The fixed-size on-disk form of a contents node.
enum class RecordLayout {
    Current,   // 1848 bytes, keywords in two 255-byte halves (written since version 240)
    Previous,  // 1028 bytes, keywords whole in 100 bytes (versions 180-239; read only)
};

constexpr std::size_t kCurrentRecordSize = 1848;
constexpr std::size_t kPreviousRecordSize = 1028;
constexpr std::size_t recordSize(RecordLayout l) {
    return l == RecordLayout::Current ? kCurrentRecordSize : kPreviousRecordSize;
}

enum class KeywordStorage {
    Split,              // the two halves of splitLongText
    WholeInFirstField,  // the whole text cut at 255 bytes in the first field (project copies)
};

// Fills `out` (kCurrentRecordSize bytes, zeroed here first) from a node's record; `level` is
// the node's real depth, which is what the file stores.
void encodeRecord(const TData& data, int level, char* out,
                  KeywordStorage keywords = KeywordStorage::Split);

// Decodes one record. A length byte larger than its field's width is read as the width, so a
// damaged record never reads past its field.
TData decodeRecord(std::string_view record, RecordLayout layout);

}  // namespace tarnbook::project
