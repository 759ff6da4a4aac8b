#pragma once
#include <string>
#include <string_view>

// Text in symbol fonts (character set 2: Symbol, Wingdings, ...) stores glyph numbers, not
// characters; help authors used them for bullets, arrows and check marks.
namespace tarnbook::winhelp {

// True for a font whose bytes are glyph numbers.
bool isSymbolFont(std::string_view fontName, int charset);

// The characters that look like the glyphs; glyphs without a close character become a bullet.
std::u16string decodeSymbolFont(std::string_view bytes, std::string_view fontName);

}  // namespace tarnbook::winhelp
