#include "winhelp/SymbolFonts.h"

#include <map>

#include "winhelp/TextLines.h"

namespace tarnbook::winhelp {

bool isSymbolFont(std::string_view fontName, int charset) {
    const std::string name = lowerAscii(trimmed(fontName));
    return charset == 2 || name == "symbol" || name.starts_with("wingdings") || name == "webdings";
}

namespace {

// The Symbol font's Greek letters sit on the Latin ones.
constexpr char16_t kGreekUpper[26] = {u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι',
                                      u'ϑ', u'Κ', u'Λ', u'Μ', u'Ν', u'Ο', u'Π', u'Θ', u'Ρ',
                                      u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};
constexpr char16_t kGreekLower[26] = {u'α', u'β', u'χ', u'δ', u'ε', u'φ', u'γ', u'η', u'ι',
                                      u'ϕ', u'κ', u'λ', u'μ', u'ν', u'ο', u'π', u'θ', u'ρ',
                                      u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};

char16_t symbolGlyph(unsigned char b) {
    static const std::map<unsigned char, char16_t> kSymbol = {
        {0xA3, u'≤'}, {0xB3, u'≥'}, {0xB9, u'≠'}, {0xB4, u'×'}, {0xB8, u'÷'}, {0xB0, u'°'},
        {0xB1, u'±'}, {0xB7, u'•'}, {0xAC, u'←'}, {0xAD, u'↑'}, {0xAE, u'→'}, {0xAF, u'↓'},
        {0xAB, u'↔'}, {0xD2, u'®'}, {0xD3, u'©'}, {0xD4, u'™'}, {0xA5, u'∞'}, {0xBC, u'…'},
    };
    if (b >= 'A' && b <= 'Z') return kGreekUpper[b - 'A'];
    if (b >= 'a' && b <= 'z') return kGreekLower[b - 'a'];
    if (b < 0x80) return static_cast<char16_t>(b);  // digits and punctuation are themselves
    auto it = kSymbol.find(b);
    return it != kSymbol.end() ? it->second : u'•';
}

char16_t wingdingsGlyph(unsigned char b) {
    static const std::map<unsigned char, char16_t> kWingdings = {
        {0xFC, u'✓'}, {0xFB, u'✗'}, {0xFD, u'☒'}, {0xFE, u'☑'}, {0x6C, u'●'}, {0x6E, u'■'},
        {0x6F, u'□'}, {0x71, u'❑'}, {0x75, u'◆'}, {0x76, u'❖'}, {0xA7, u'▪'}, {0xA8, u'◻'},
        {0x9F, u'•'}, {0xD8, u'➢'}, {0xDF, u'←'}, {0xE0, u'→'}, {0xE8, u'➔'}, {0xF0, u'⇨'},
        {0x4A, u'☺'}, {0x4C, u'☹'}, {0x46, u'☞'}, {0x21, u'✏'}, {0x22, u'✂'}, {0x3F, u'✍'},
    };
    auto it = kWingdings.find(b);
    return it != kWingdings.end() ? it->second : u'•';
}

}  // namespace

std::u16string decodeSymbolFont(std::string_view bytes, std::string_view fontName) {
    const bool symbol = lowerAscii(trimmed(fontName)) == "symbol";
    std::u16string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == ' ') {
            out += u' ';
            continue;
        }
        out += symbol ? symbolGlyph(b) : wingdingsGlyph(b);
    }
    return out;
}

}  // namespace tarnbook::winhelp
