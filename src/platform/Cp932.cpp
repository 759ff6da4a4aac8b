#include "platform/Cp932.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace tarnbook::platform {

namespace {

// Escapes for bytes that are not part of a valid character: U+DC00 + byte (a lone low
// surrogate, which no real CP932 character decodes to).
constexpr char16_t kEscapeBase = 0xDC00;
constexpr bool isEscape(char32_t u) {
    return u >= 0xDC00 && u <= 0xDCFF;
}

bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Decode and encode tables, built once by asking iconv about every single byte and every
// lead/trail pair; conversion itself is then a table lookup (it runs over whole pages).
struct Tables {
    std::array<char16_t, 256> single{};  // 0 = not a character on its own (except byte 0)
    std::array<bool, 256> singleValid{};
    std::unique_ptr<char16_t[]> pair;         // [lead * 256 + trail], 0 = invalid
    std::unique_ptr<std::uint16_t[]> encode;  // [code unit] -> CP932 code, 0 = none

    Tables() : pair(new char16_t[65536]()), encode(new std::uint16_t[65536]()) {
        iconv_t dec = iconv_open("UTF-16LE", "CP932");
        iconv_t enc = iconv_open("CP932", "UTF-16LE");
        if (dec == reinterpret_cast<iconv_t>(-1) || enc == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("The CP932 converter (iconv) is not available");

        auto decodeOne = [&](const unsigned char* in, std::size_t len) -> int {
            char inBuf[2] = {static_cast<char>(in[0]), len > 1 ? static_cast<char>(in[1]) : '\0'};
            char outBuf[8];
            char* ip = inBuf;
            char* op = outBuf;
            std::size_t il = len, ol = sizeof outBuf;
            iconv(dec, nullptr, nullptr, nullptr, nullptr);
            if (iconv(dec, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || il != 0)
                return -1;
            if (op - outBuf != 2) return -1;  // not exactly one BMP code unit
            return static_cast<unsigned char>(outBuf[0]) |
                   (static_cast<unsigned char>(outBuf[1]) << 8);
        };
        // The code iconv prefers for a character (duplicates such as NEC/IBM extension
        // pairs decode to one character and encode to one code).
        auto encodeOne = [&](char16_t u) -> int {
            char inBuf[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
            char outBuf[8];
            char* ip = inBuf;
            char* op = outBuf;
            std::size_t il = 2, ol = sizeof outBuf;
            iconv(enc, nullptr, nullptr, nullptr, nullptr);
            if (iconv(enc, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1)) return -1;
            std::size_t n = static_cast<std::size_t>(op - outBuf);
            if (n == 1) return static_cast<unsigned char>(outBuf[0]);
            if (n == 2)
                return (static_cast<unsigned char>(outBuf[0]) << 8) |
                       static_cast<unsigned char>(outBuf[1]);
            return -1;
        };

        for (int b = 0; b < 256; ++b) {
            if (isLeadByte(static_cast<unsigned char>(b))) continue;
            unsigned char in = static_cast<unsigned char>(b);
            int u = decodeOne(&in, 1);
            if (u < 0 || isEscape(static_cast<char32_t>(u))) continue;
            single[b] = static_cast<char16_t>(u);
            singleValid[b] = true;
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(static_cast<unsigned char>(trail))) continue;
                unsigned char in[2] = {static_cast<unsigned char>(lead),
                                       static_cast<unsigned char>(trail)};
                int u = decodeOne(in, 2);
                if (u <= 0 || isEscape(static_cast<char32_t>(u))) continue;
                pair[lead * 256 + trail] = static_cast<char16_t>(u);
            }
        }

        // Encoding covers exactly the characters that decode, so encode(decode(x)) is
        // always a valid code for the same character.
        auto addEncoding = [&](char16_t u, int code) {
            if (encode[u] != 0 || u == 0) return;
            int preferred = encodeOne(u);
            bool ok = false;
            if (preferred >= 0 && preferred < 256)
                ok = singleValid[preferred] && single[preferred] == u;
            else if (preferred >= 256)
                ok = pair[preferred] == u;
            encode[u] = static_cast<std::uint16_t>(ok ? preferred : code);
        };
        for (int b = 1; b < 256; ++b)
            if (singleValid[b]) addEncoding(single[b], b);
        for (int code = 0x8140; code < 65536; ++code)
            if (pair[code] != 0) addEncoding(pair[code], code);

        iconv_close(dec);
        iconv_close(enc);
    }
};

const Tables& tables() {
    static const Tables t;  // thread-safe lazy initialisation
    return t;
}

// Calls f(codeUnit) for each character of `bytes`.
template <typename F>
void decodeEach(std::string_view bytes, F&& f) {
    const Tables& t = tables();
    std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            f(static_cast<char16_t>(c));
            continue;
        }
        if (isLeadByte(c) && i + 1 < n) {
            unsigned char d = static_cast<unsigned char>(bytes[i + 1]);
            char16_t u = t.pair[c * 256 + d];
            if (u != 0) {
                f(u);
                ++i;
                continue;
            }
        }
        if (t.singleValid[c])
            f(t.single[c]);
        else
            f(static_cast<char16_t>(kEscapeBase + c));
    }
}

void appendEncoded(std::string& out, char32_t u) {
    if (isEscape(u)) {
        out += static_cast<char>(u - kEscapeBase);
        return;
    }
    if (u == 0) {
        out += '\0';
        return;
    }
    if (u > 0xFFFF) {
        out += '?';
        return;
    }
    std::uint16_t code = tables().encode[u];
    if (code == 0) {
        out += '?';
    } else if (code < 256) {
        out += static_cast<char>(code);
    } else {
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
}

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

// Reads one UTF-8 sequence at `i`. Returns the code point and advances `i`, or returns
// U+DC00 + byte for a byte that does not start a valid sequence (advancing by one).
char32_t nextUtf8(std::string_view s, std::size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int len = 0;
    char32_t u = 0;
    char32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2, u = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3, u = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4, u = c & 0x07, min = 0x10000;
    }
    if (len == 0 || i + len > s.size()) {
        ++i;
        return kEscapeBase + c;
    }
    for (int k = 1; k < len; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) {
            ++i;
            return kEscapeBase + c;
        }
        u = (u << 6) | (d & 0x3F);
    }
    if (u < min || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) {
        ++i;
        return kEscapeBase + c;
    }
    i += len;
    return u;
}

// Byte length of the character at `i` under the Shift_JIS double-byte rule.
std::size_t charLength(std::string_view s, std::size_t i) {
    if (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() &&
        isTrailByte(static_cast<unsigned char>(s[i + 1])))
        return 2;
    return 1;
}

}  // namespace

std::u16string decodeCp932(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    decodeEach(bytes, [&](char16_t u) { out += u; });
    return out;
}

std::string encodeCp932(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out += '?';  // a character outside the BMP
            ++i;
            continue;
        }
        appendEncoded(out, u);
    }
    return out;
}

std::string cp932ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    decodeEach(bytes, [&](char16_t u) {
        if (isEscape(u))
            out += static_cast<char>(u - kEscapeBase);  // the raw byte, so file names survive
        else
            appendUtf8(out, u);
    });
    return out;
}

std::string utf8ToCp932(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) appendEncoded(out, nextUtf8(utf8, i));
    return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t u = nextUtf8(utf8, i);
        if (u > 0xFFFF) {
            u -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (u >> 10));
            out += static_cast<char16_t>(0xDC00 + (u & 0x3FF));
        } else {
            out += static_cast<char16_t>(u);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            u = 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isEscape(u)) {
            out += static_cast<char>(u - kEscapeBase);
            continue;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            u = 0xFFFD;  // a lone surrogate that is not one of our escapes
        }
        appendUtf8(out, u);
    }
    return out;
}

std::string upperCaseSjis(std::string_view bytes) {
    std::string out(bytes);
    for (std::size_t i = 0; i < out.size();) {
        std::size_t len = charLength(out, i);
        if (len == 1 && out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 32);
        i += len;
    }
    return out;
}

std::string lowerCaseSjis(std::string_view bytes) {
    std::string out(bytes);
    for (std::size_t i = 0; i < out.size();) {
        std::size_t len = charLength(out, i);
        if (len == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] + 32);
        i += len;
    }
    return out;
}

std::size_t findSjis(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) {
        if (i < from) continue;
        if (text.size() - i < needle.size()) break;
        if (text.compare(i, needle.size(), needle) == 0) return i;
    }
    return std::string_view::npos;
}

std::string replaceAllSjis(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.size() - i >= from.size() && text.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
            continue;
        }
        std::size_t len = charLength(text, i);
        out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

}  // namespace tarnbook::platform
