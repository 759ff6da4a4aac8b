#include "webexport/PageCharset.h"

#include <cstdint>
#include <string_view>

#include "authoring/SjisConvert.h"
#include "platform/Charsets.h"
#include "platform/Cp932.h"
#include "webexport/HtmlScanner.h"

namespace tarnbook::webexport {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

enum class Family { Cp932, JapaneseMixed, Utf8, Other };

struct Label {
    Family family;
    std::string iconvName;  // for Other
    std::string name;       // what we report
};

bool oneOf(std::string_view s, std::initializer_list<std::string_view> names) {
    for (auto n : names)
        if (s == n) return true;
    return false;
}

// Maps a declared label to how it is decoded. Western labels follow what browsers do
// (Latin-1 is read as Windows-1252, GB2312 as its superset).
Label classify(const std::string& label) {
    if (oneOf(label, {"shift_jis", "shift-jis", "sjis", "x-sjis", "windows-31j", "cp932",
                      "ms_kanji", "csshiftjis", "x-ms-cp932", "ms932"}))
        return {Family::Cp932, "", "shift_jis"};
    if (oneOf(label, {"euc-jp", "x-euc-jp", "eucjp", "iso-2022-jp", "csiso2022jp", "jis"}))
        return {Family::JapaneseMixed, "", label};
    if (oneOf(label, {"utf-8", "utf8", "unicode-1-1-utf-8"})) return {Family::Utf8, "", "utf-8"};
    if (oneOf(label, {"iso-8859-1", "latin1", "l1", "us-ascii", "ascii", "iso8859-1",
                      "windows-1252", "cp1252", "x-cp1252"}))
        return {Family::Other, "WINDOWS-1252", "windows-1252"};
    if (oneOf(label, {"gb2312", "gbk", "x-gbk", "euc-cn", "gb18030", "cp936", "chinese"}))
        return {Family::Other, "GB18030", label};
    if (oneOf(label, {"euc-kr", "ks_c_5601-1987", "cp949", "korean", "windows-949"}))
        return {Family::Other, "CP949", label};
    if (oneOf(label, {"big5", "big5-hkscs", "x-x-big5", "cp950"}))
        return {Family::Other, "BIG5-HKSCS", label};
    std::string upper = label;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return {Family::Other, upper, label};
}

// CP932 bytes to UTF-8; bytes the codec had to escape become U+FFFD.
std::string cp932ToWebUtf8(std::string_view bytes, std::size_t* replaced) {
    std::u16string text = platform::decodeCp932(bytes);
    for (char16_t& c : text) {
        if (c >= 0xDC00 && c <= 0xDCFF) {
            c = 0xFFFD;
            ++*replaced;
        }
    }
    return platform::utf16ToUtf8(text);
}

// Decodes through the platform's converter; false when it does not know the encoding.
bool iconvToUtf8(std::string_view bytes, const std::string& from, std::string* out,
                 std::size_t* replaced) {
    auto text = platform::convertToUtf8(bytes, from.c_str(), platform::InvalidBytes::Replace);
    if (!text) return false;
    *out = std::move(*text);
    for (std::size_t at = out->find(kReplacement); at != std::string::npos;
         at = out->find(kReplacement, at + kReplacement.size()))
        ++*replaced;
    return true;
}

// The length of the well-formed UTF-8 sequence at bytes[i], or 0 when there is none
// (overlong forms, surrogates and code points above U+10FFFF are not well-formed).
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) return 1;
    std::size_t len = 0;
    std::uint32_t u = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        u = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        u = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        u = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > bytes.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        u = (u << 6) | (t & 0x3F);
    }
    if ((len == 3 && (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF))) ||
        (len == 4 && (u < 0x10000 || u > 0x10FFFF)))
        return 0;
    return len;
}

// UTF-8 with every byte that starts no well-formed sequence made U+FFFD.
std::string wellFormedUtf8(std::string_view bytes, std::size_t* replaced) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8SequenceLength(bytes, i);
        if (n == 0) {
            out += kReplacement;
            ++*replaced;
            ++i;
        } else {
            out.append(bytes.substr(i, n));
            i += n;
        }
    }
    return out;
}

bool hasHighBytes(std::string_view bytes) {
    for (unsigned char c : bytes)
        if (c >= 0x80) return true;
    return false;
}

DecodedPage decodeJapaneseGuess(std::string_view bytes) {
    DecodedPage page;
    page.charset = "shift_jis";
    page.utf8 = cp932ToWebUtf8(authoring::convertTextToSjis(bytes), &page.replacedBytes);
    return page;
}

DecodedPage decodeWith(std::string_view bytes, const std::string& label) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        // The mark promises UTF-8; bytes that break the promise must not reach the site.
        DecodedPage page{{}, "utf-8", 0};
        page.utf8 = wellFormedUtf8(bytes.substr(3), &page.replacedBytes);
        return page;
    }
    if (bytes.size() >= 2 &&
        (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
        DecodedPage page;
        page.charset = bytes[0] == '\xFF' ? "utf-16le" : "utf-16be";
        std::string utf8;
        iconvToUtf8(bytes.substr(2), bytes[0] == '\xFF' ? "UTF-16LE" : "UTF-16BE", &utf8,
                    &page.replacedBytes);
        page.utf8 = std::move(utf8);
        return page;
    }
    const bool validUtf8 = isValidUtf8(bytes);
    if (label.empty()) {
        if (validUtf8) return {std::string(bytes), hasHighBytes(bytes) ? "utf-8" : "us-ascii", 0};
        return decodeJapaneseGuess(bytes);
    }
    const Label l = classify(label);
    DecodedPage page;
    page.charset = l.name;
    switch (l.family) {
        case Family::Utf8:
            if (validUtf8) return {std::string(bytes), "utf-8", 0};
            return decodeJapaneseGuess(bytes);  // declared UTF-8 but it is not
        case Family::Cp932:
            page.utf8 = cp932ToWebUtf8(bytes, &page.replacedBytes);
            break;
        case Family::JapaneseMixed:
            page.utf8 = cp932ToWebUtf8(authoring::convertTextToSjis(bytes), &page.replacedBytes);
            break;
        case Family::Other:
            if (!iconvToUtf8(bytes, l.iconvName, &page.utf8, &page.replacedBytes))
                return validUtf8 ? DecodedPage{std::string(bytes), "utf-8", 0}
                                 : decodeJapaneseGuess(bytes);
            break;
    }
    // A page saved as UTF-8 under an old declaration reads right only as UTF-8.
    if (page.replacedBytes > 0 && validUtf8) return {std::string(bytes), "utf-8", 0};
    // A converter may pass on what UTF-8 does not allow (code points above U+10FFFF).
    if (!isValidUtf8(page.utf8))
        page.utf8 = wellFormedUtf8(std::string(page.utf8), &page.replacedBytes);
    return page;
}

std::string charsetFromAttributeText(std::string_view text) {
    const std::string lower = asciiLower(text);
    const std::size_t at = lower.find("charset");
    if (at == std::string::npos) return {};
    std::size_t p = at + 7;
    while (p < lower.size() && (lower[p] == ' ' || lower[p] == '=')) ++p;
    std::size_t e = p;
    while (e < lower.size() && lower[e] != ';' && lower[e] != ' ' && lower[e] != '"' &&
           lower[e] != '\'')
        ++e;
    return lower.substr(p, e - p);
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8SequenceLength(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string declaredCharset(std::string_view bytes) {
    const std::string_view head = bytes.substr(0, 4096);
    for (const HtmlToken& t : scanHtml(head)) {
        if (t.kind == HtmlToken::Kind::Declaration && head.substr(t.begin, 5) == "<?xml") {
            const std::string lower = asciiLower(head.substr(t.begin, t.end - t.begin));
            const std::size_t at = lower.find("encoding=");
            if (at != std::string::npos && at + 10 < lower.size()) {
                const char q = lower[at + 9];
                const std::size_t e = lower.find(q, at + 10);
                if (e != std::string::npos) return lower.substr(at + 10, e - at - 10);
            }
        }
        if (t.kind != HtmlToken::Kind::StartTag || t.name != "meta") continue;
        if (const HtmlAttribute* cs = t.attribute("charset")) return asciiLower(cs->value);
        if (asciiLower(t.attributeValue("http-equiv")) == "content-type") {
            std::string c = charsetFromAttributeText(t.attributeValue("content"));
            if (!c.empty()) return c;
        }
    }
    return {};
}

DecodedPage decodePage(std::string_view bytes) {
    return decodeWith(bytes, declaredCharset(bytes));
}

DecodedPage decodeStyleSheet(std::string_view bytes) {
    std::string label;
    if (bytes.substr(0, 10) == "@charset \"") {
        const std::size_t e = bytes.find('"', 10);
        if (e != std::string_view::npos) label = asciiLower(bytes.substr(10, e - 10));
    }
    return decodeWith(bytes, label);
}

}  // namespace tarnbook::webexport
