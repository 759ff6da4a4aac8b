#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversion of outside text in other encodings than CP932 (GBK, CP949, UTF-16, ...) to
// UTF-8, through iconv. CP932 itself has its own lossless codec (platform/Cp932.h).
namespace tarnbook::platform {

enum class InvalidBytes { Fail, Replace };

// The text converted from `encoding` (an iconv name such as "GBK"), or nullopt when iconv does
// not know the encoding. A byte sequence that is not valid in it makes the conversion fail,
// or with InvalidBytes::Replace becomes U+FFFD (one per byte skipped).
std::optional<std::string> convertToUtf8(std::string_view bytes, const char* encoding,
                                         InvalidBytes invalid = InvalidBytes::Fail);

}  // namespace tarnbook::platform
