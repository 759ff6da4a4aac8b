#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Brings a page of any encoding to UTF-8 for the web: a byte-order mark decides first, then
// the page's own charset declaration, then whether the bytes are valid UTF-8; anything else
// is taken as Japanese text (Shift_JIS, EUC-JP or ISO-2022-JP, line by line).
namespace tarnbook::webexport {

struct DecodedPage {
    std::string utf8;
    std::string charset;            // the encoding used, e.g. "shift_jis", "windows-1252"
    std::size_t replacedBytes = 0;  // bytes that were not valid in it (now U+FFFD)
};

// The charset named in the page's first kilobytes (<meta charset> or a Content-Type
// <meta>), lower case; empty when there is none.
std::string declaredCharset(std::string_view bytes);

DecodedPage decodePage(std::string_view bytes);

// True for valid UTF-8 (overlong forms and surrogates are invalid).
bool isValidUtf8(std::string_view bytes);

// Decodes CSS or other text files that travel with the pages: BOM, an @charset rule, valid
// UTF-8, else Japanese text as above.
DecodedPage decodeStyleSheet(std::string_view bytes);

}  // namespace tarnbook::webexport
