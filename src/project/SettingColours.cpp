#include "project/SettingColours.h"

#include <cstdio>

#include "platform/Cp932.h"
#include "platform/IniFile.h"

namespace tarnbook::project {
namespace {

struct NamedColour {
    const char* name;
    unsigned rgb;
};

// Plain colours first: writing a colour picks the first name that matches. The window
// colours follow with the values of a light desktop theme.
constexpr NamedColour kColours[] = {
    {"clBlack", 0x000000},     {"clMaroon", 0x800000},        {"clGreen", 0x008000},
    {"clOlive", 0x808000},     {"clNavy", 0x000080},          {"clPurple", 0x800080},
    {"clTeal", 0x008080},      {"clGray", 0x808080},          {"clSilver", 0xC0C0C0},
    {"clRed", 0xFF0000},       {"clLime", 0x00FF00},          {"clYellow", 0xFFFF00},
    {"clBlue", 0x0000FF},      {"clFuchsia", 0xFF00FF},       {"clAqua", 0x00FFFF},
    {"clWhite", 0xFFFFFF},     {"clMoneyGreen", 0xC0DCC0},    {"clSkyBlue", 0xA6CAF0},
    {"clCream", 0xFFFBF0},     {"clMedGray", 0xA0A0A4},       {"clWindowText", 0x000000},
    {"clWindow", 0xFFFFFF},    {"clBtnFace", 0xF0F0F0},       {"clBtnText", 0x000000},
    {"clHighlight", 0x3399FF}, {"clHighlightText", 0xFFFFFF}, {"clGrayText", 0x6D6D6D},
    {"clInfoBk", 0xFFFFE1},    {"clInfoText", 0x000000},
};

unsigned swapRedBlue(unsigned c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

}  // namespace

std::optional<unsigned> parseSettingColour(std::string_view text) {
    const std::string lower = platform::lowerCaseSjis(text);
    for (const auto& c : kColours)
        if (platform::lowerCaseSjis(c.name) == lower) return c.rgb;
    long long n = 0;
    if (!platform::IniFile::parseInteger(text, &n) || n < 0 || n > 0xFFFFFF) return std::nullopt;
    return swapRedBlue(static_cast<unsigned>(n));
}

unsigned settingColourOr(std::string_view text, unsigned fallback) {
    return parseSettingColour(text).value_or(fallback);
}

std::string settingColourText(unsigned rgb) {
    rgb &= 0xFFFFFF;
    for (const auto& c : kColours)
        if (c.rgb == rgb) return c.name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "$00%06X", swapRedBlue(rgb));
    return buf;
}

}  // namespace tarnbook::project
