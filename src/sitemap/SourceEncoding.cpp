#include "sitemap/SourceEncoding.h"

#include <array>
#include <cctype>
#include <utility>

#include "platform/Charsets.h"
#include "platform/Cp932.h"

namespace tarnbook::sitemap {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

const char* iconvName(SourceEncoding e) {
    switch (e) {
        case SourceEncoding::ShiftJis:
            return "CP932";
        case SourceEncoding::EucJp:
            return "EUC-JP";
        case SourceEncoding::Utf8:
            return "UTF-8";
        case SourceEncoding::Utf16Le:
            return "UTF-16LE";
        case SourceEncoding::Utf16Be:
            return "UTF-16BE";
        case SourceEncoding::Gbk:
            return "GBK";
        case SourceEncoding::Cp949:
            return "CP949";
        case SourceEncoding::Latin1:
            return "WINDOWS-1252";
    }
    return "CP932";
}

bool isAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool validIn(std::string_view bytes, SourceEncoding e) {
    if (e == SourceEncoding::Latin1) return true;  // decoded by hand, every byte has a meaning
    return platform::convertToUtf8(bytes, iconvName(e)).has_value();
}

std::optional<SourceEncoding> encodingOfCharset(std::string_view label) {
    static constexpr std::array<std::pair<std::string_view, SourceEncoding>, 19> kLabels{{
        {"shift_jis", SourceEncoding::ShiftJis},
        {"shift-jis", SourceEncoding::ShiftJis},
        {"x-sjis", SourceEncoding::ShiftJis},
        {"sjis", SourceEncoding::ShiftJis},
        {"windows-31j", SourceEncoding::ShiftJis},
        {"cp932", SourceEncoding::ShiftJis},
        {"euc-jp", SourceEncoding::EucJp},
        {"utf-8", SourceEncoding::Utf8},
        {"utf8", SourceEncoding::Utf8},
        {"gb2312", SourceEncoding::Gbk},
        {"gbk", SourceEncoding::Gbk},
        {"cp936", SourceEncoding::Gbk},
        {"euc-kr", SourceEncoding::Cp949},
        {"ks_c_5601-1987", SourceEncoding::Cp949},
        {"cp949", SourceEncoding::Cp949},
        {"iso-8859-1", SourceEncoding::Latin1},
        {"windows-1252", SourceEncoding::Latin1},
        {"latin1", SourceEncoding::Latin1},
        {"us-ascii", SourceEncoding::Latin1},
    }};
    std::string low;
    for (char c : label) low += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const auto& [name, e] : kLabels)
        if (low == name) return e;
    return std::nullopt;
}

// The ANSI code page a Workshop project of this language was written in, where it is one
// that we read.
std::optional<SourceEncoding> encodingOfLanguage(unsigned lcid) {
    switch (lcid & 0x3FF) {
        case 0x11:
            return SourceEncoding::ShiftJis;
        case 0x12:
            return SourceEncoding::Cp949;
        case 0x04:  // simplified Chinese only; the traditional forms use Big5
            return lcid == 0x804 || lcid == 0x1004 ? std::optional(SourceEncoding::Gbk)
                                                   : std::nullopt;
        case 0x03:  // Catalan
        case 0x06:  // Danish
        case 0x07:  // German
        case 0x09:  // English
        case 0x0A:  // Spanish
        case 0x0B:  // Finnish
        case 0x0C:  // French
        case 0x0F:  // Icelandic
        case 0x10:  // Italian
        case 0x13:  // Dutch
        case 0x14:  // Norwegian
        case 0x16:  // Portuguese
        case 0x1D:  // Swedish
            return SourceEncoding::Latin1;
        default:
            return std::nullopt;
    }
}

// Windows-1252 to UTF-8; its five unassigned bytes keep their Latin-1 meaning, as browsers do.
std::string latin1ToUtf8(std::string_view bytes) {
    static constexpr std::array<char16_t, 32> kHigh{
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::u16string wide;
    wide.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        wide += b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<char16_t>(b);
    }
    return platform::utf16ToUtf8(wide);
}

}  // namespace

EncodingDecision decideEncoding(std::string_view bytes, std::string_view declaredCharset,
                                std::optional<unsigned> languageId) {
    if (bytes.starts_with(kUtf8Bom)) return {SourceEncoding::Utf8, EncodingBasis::ByteOrderMark};
    if (bytes.starts_with(kUtf16LeBom))
        return {SourceEncoding::Utf16Le, EncodingBasis::ByteOrderMark};
    if (bytes.starts_with(kUtf16BeBom))
        return {SourceEncoding::Utf16Be, EncodingBasis::ByteOrderMark};
    if (auto declared = encodingOfCharset(declaredCharset); declared && validIn(bytes, *declared))
        return {*declared, EncodingBasis::DeclaredCharset};
    if (isAscii(bytes)) return {SourceEncoding::ShiftJis, EncodingBasis::Validity};
    if (validIn(bytes, SourceEncoding::Utf8))
        return {SourceEncoding::Utf8, EncodingBasis::ValidUtf8};
    if (languageId) {
        if (auto byLanguage = encodingOfLanguage(*languageId);
            byLanguage && validIn(bytes, *byLanguage))
            return {*byLanguage, EncodingBasis::LanguageId};
    }
    for (SourceEncoding e : {SourceEncoding::ShiftJis, SourceEncoding::EucJp, SourceEncoding::Gbk,
                             SourceEncoding::Cp949})
        if (validIn(bytes, e)) return {e, EncodingBasis::Validity};
    return {SourceEncoding::Latin1, EncodingBasis::Validity};
}

std::string_view encodingName(SourceEncoding encoding) {
    switch (encoding) {
        case SourceEncoding::ShiftJis:
            return "Shift_JIS";
        case SourceEncoding::EucJp:
            return "EUC-JP";
        case SourceEncoding::Utf8:
            return "UTF-8";
        case SourceEncoding::Utf16Le:
            return "UTF-16LE";
        case SourceEncoding::Utf16Be:
            return "UTF-16BE";
        case SourceEncoding::Gbk:
            return "GBK";
        case SourceEncoding::Cp949:
            return "CP949";
        case SourceEncoding::Latin1:
            return "Latin-1";
    }
    return "";
}

std::string_view basisName(EncodingBasis basis) {
    switch (basis) {
        case EncodingBasis::ByteOrderMark:
            return "BOM";
        case EncodingBasis::DeclaredCharset:
            return "charset 指定";
        case EncodingBasis::ValidUtf8:
            return "UTF-8 として正しい内容";
        case EncodingBasis::LanguageId:
            return "Language (LCID)";
        case EncodingBasis::Validity:
            return "内容";
    }
    return "";
}

DecodedText decodeSource(std::string_view bytes, SourceEncoding encoding) {
    switch (encoding) {
        case SourceEncoding::ShiftJis:
            return {std::string(bytes), TextForm::Cp932};
        case SourceEncoding::Latin1:
            return {latin1ToUtf8(bytes), TextForm::Utf8};
        case SourceEncoding::Utf8:
            if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
            // Kept as they are: invalid sequences travel through the UTF-8 helpers as raw bytes.
            return {std::string(bytes), TextForm::Utf8};
        case SourceEncoding::Utf16Le:
        case SourceEncoding::Utf16Be:
            bytes.remove_prefix(2);
            break;
        default:
            break;
    }
    // Only a byte-order mark vouches for UTF-16, so damage is possible there: it becomes
    // U+FFFD and the rest stays readable.
    auto text =
        platform::convertToUtf8(bytes, iconvName(encoding), platform::InvalidBytes::Replace);
    return {text ? std::move(*text) : std::string(), TextForm::Utf8};
}

std::optional<unsigned> parseLanguageId(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
    value.remove_prefix(i);
    unsigned base = 10;
    if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        base = 16;
        value.remove_prefix(2);
    }
    unsigned n = 0;
    std::size_t digits = 0;
    for (char c : value) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (d < 0 || digits >= 8) break;
        n = n * base + static_cast<unsigned>(d);
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return n;
}

}  // namespace tarnbook::sitemap
