#include "chm/StringTable.h"

namespace tarnbook::chm {

namespace {
constexpr std::size_t kBlock = 4096;
}

std::uint32_t StringTable::add(std::string_view text, bool shared) {
    if (text.empty()) return 0;
    std::string key(text);
    if (shared) {
        auto it = offsets_.find(key);
        if (it != offsets_.end()) return it->second;
    }
    const std::size_t need = text.size() + 1;
    const std::size_t used = data_.size() % kBlock;
    if (need <= kBlock && used + need > kBlock) data_.resize(data_.size() + (kBlock - used), '\0');
    const auto offset = static_cast<std::uint32_t>(data_.size());
    data_ += key;
    data_.push_back('\0');
    if (shared) offsets_.emplace(std::move(key), offset);
    return offset;
}

}  // namespace tarnbook::chm
