#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// The #STRINGS file: NUL-terminated strings addressed by offset, starting with an empty
// string at offset 0. No string crosses a 4 KB block, so a reader can load one block at a
// time.
namespace tarnbook::chm {

class StringTable {
  public:
    StringTable() : data_(1, '\0') {}

    // Offset of the string; 0 for an empty one. Shared strings are stored once unless
    // `shared` is false (topic titles are stored per topic, as the Workshop compiler does).
    std::uint32_t add(std::string_view text, bool shared = true);
    const std::string& bytes() const { return data_; }

  private:
    std::string data_;
    std::unordered_map<std::string, std::uint32_t> offsets_;
};

}  // namespace tarnbook::chm
