#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The code page of a help's texts follows from its language id: what counts as the first
// byte of a double-byte character, and the text in UTF-16 where a file stores it so.
namespace tarnbook::chm {

inline bool isLeadByte(unsigned char c, std::uint32_t languageId) {
    switch (languageId & 0x3FF) {
        case 0x11:  // Japanese: Shift_JIS
            return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        case 0x04:  // Chinese, simplified and traditional
        case 0x12:  // Korean
            return c >= 0x81 && c <= 0xFE;
        default:
            return false;
    }
}

// Bytes the code page does not define become U+FFFD.
std::u16string decodeHelpText(std::string_view bytes, std::uint32_t languageId);

}  // namespace tarnbook::chm
