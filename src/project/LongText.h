#pragma once
#include <string>
#include <string_view>
#include <utility>

namespace tarnbook::project {

// Divides a keyword text into the two CP932 halves of its record fields: characters whose
// first byte lies below position 254 go to the first half (so it holds at most 255 bytes and
// never splits a double-byte character), the rest to the second.
std::pair<std::string, std::string> splitLongText(std::u16string_view text);

// The two halves joined and decoded.
std::u16string joinLongText(std::string_view first, std::string_view second);

}  // namespace tarnbook::project
