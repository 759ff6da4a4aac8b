#pragma once
#include <string>
#include <string_view>

// The one CP932 (Shift_JIS) codec of the program. Stored text is CP932 bytes; conversion
// happens only at the edges (captions, keywords, file names, JSON output).
//
// Lossless: a byte that is not part of a valid CP932 character decodes to the reserved code
// unit U+DC00 + byte and encodes back to that byte, so decode + encode gives the input bytes
// for any input. (CP932's few duplicate codes, e.g. NEC/IBM extension pairs, decode to the
// same character and encode to the preferred code.)
namespace tarnbook::platform {

// Shift_JIS lead byte: 0x81-0x9F or 0xE0-0xFC.
constexpr bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::u16string decodeCp932(std::string_view bytes);
std::string encodeCp932(std::u16string_view text);

// UTF-8 forms. Escaped bytes travel through UTF-8 as the raw byte (so file names survive).
std::string cp932ToUtf8(std::string_view bytes);
std::string utf8ToCp932(std::string_view utf8);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view text);

// ASCII-only case changes that never touch the trail byte of a double-byte character.
std::string upperCaseSjis(std::string_view bytes);
std::string lowerCaseSjis(std::string_view bytes);

// Replaces every occurrence of `from` by `to`, never matching at a trail byte.
std::string replaceAllSjis(std::string_view text, std::string_view from, std::string_view to);

// Position of `needle` in `text` at a character boundary (never at a trail byte), or npos.
std::size_t findSjis(std::string_view text, std::string_view needle, std::size_t from = 0);

// Cuts to at most `width` bytes (byte-wise, as the record fields do).
inline std::string cutBytes(std::string_view text, std::size_t width) {
    return std::string(text.substr(0, width));
}

}  // namespace tarnbook::platform
