#include "sitemap/HtmlEntities.h"

#include <array>
#include <utility>

#include "platform/Cp932.h"

namespace tarnbook::sitemap {

namespace {

constexpr std::array<std::pair<std::string_view, char32_t>, 8> kNamed{{
    {"amp", U'&'},
    {"lt", U'<'},
    {"gt", U'>'},
    {"quot", U'"'},
    {"apos", U'\''},
    {"nbsp", 0xA0},
    {"copy", 0xA9},
    {"reg", 0xAE},
}};

void appendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// Appends the character in the target form; false when that form cannot hold it.
bool appendCharacter(std::string& out, char32_t u, TextForm form) {
    if (u == 0 || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return false;
    if (u < 0x80) {
        out += static_cast<char>(u);
        return true;
    }
    if (form == TextForm::Utf8) {
        appendUtf8(out, u);
        return true;
    }
    if (u > 0xFFFF) return false;
    const std::u16string one(1, static_cast<char16_t>(u));
    std::string bytes = platform::encodeCp932(one);
    // A character without a CP932 code comes back as '?' (or nothing).
    if (bytes.empty() || platform::decodeCp932(bytes) != one) return false;
    out += bytes;
    return true;
}

// Parses the reference starting at value[amp] ('&'). Returns its length (including ';') and
// the character, or 0 when there is none.
std::size_t parseReference(std::string_view value, std::size_t amp, char32_t& u) {
    std::size_t semi = value.find(';', amp + 1);
    if (semi == std::string_view::npos || semi - amp > 12) return 0;
    std::string_view body = value.substr(amp + 1, semi - amp - 1);
    if (body.empty()) return 0;
    if (body[0] == '#') {
        bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
        std::string_view digits = body.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8) return 0;
        char32_t n = 0;
        for (char c : digits) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return 0;
            n = n * (hex ? 16 : 10) + static_cast<char32_t>(d);
        }
        u = n;
        return semi - amp + 1;
    }
    for (const auto& [name, ch] : kNamed) {
        if (body.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            char c = body[i];
            same = (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == name[i];
        }
        if (same) {
            u = ch;
            return semi - amp + 1;
        }
    }
    return 0;
}

}  // namespace

std::string decodeEntities(std::string_view value, TextForm form) {
    if (value.find('&') == std::string_view::npos) return std::string(value);
    std::string out;
    out.reserve(value.size());
    std::size_t i = 0;
    while (i < value.size()) {
        std::size_t amp = value.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(value.substr(i));
            break;
        }
        out.append(value.substr(i, amp - i));
        char32_t u = 0;
        std::size_t len = parseReference(value, amp, u);
        if (len == 0 || !appendCharacter(out, u, form)) {
            out += '&';
            i = amp + 1;
            continue;
        }
        i = amp + len;
    }
    return out;
}

}  // namespace tarnbook::sitemap
