#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sitemap/HtmlEntities.h"

// Which encoding a Workshop file (.hhp, .hhc, .hhk) of a foreign project is written in, and
// its text in a form the readers take: Shift_JIS bytes unchanged (nothing to convert, nothing
// lost), anything else as UTF-8.
namespace tarnbook::sitemap {

enum class SourceEncoding { ShiftJis, EucJp, Utf8, Utf16Le, Utf16Be, Gbk, Cp949, Latin1 };

enum class EncodingBasis { ByteOrderMark, DeclaredCharset, ValidUtf8, LanguageId, Validity };

struct EncodingDecision {
    SourceEncoding encoding = SourceEncoding::ShiftJis;
    EncodingBasis basis = EncodingBasis::Validity;
};

// Decides by, in this order: a byte-order mark; the charset the file declares (when the bytes
// are valid in it); text that is valid UTF-8 and not plain ASCII (no other encoding produces
// that by chance); the project's Language LCID (when the bytes are valid in its code page);
// the first of Shift_JIS, EUC-JP, GBK, CP949 the bytes are valid in (Japanese first, for
// whom the program is made); Latin-1 (Windows-1252).
EncodingDecision decideEncoding(std::string_view bytes, std::string_view declaredCharset,
                                std::optional<unsigned> languageId);

// "Shift_JIS", "UTF-8", "GBK", ... as the summary names them.
std::string_view encodingName(SourceEncoding encoding);
// What the decision rested on, in Japanese ("BOM", "charset 指定", "Language (LCID)", ...).
std::string_view basisName(EncodingBasis basis);

struct DecodedText {
    std::string text;  // without a byte-order mark
    TextForm form;     // Cp932 for Shift_JIS sources, Utf8 for all others
};
DecodedText decodeSource(std::string_view bytes, SourceEncoding encoding);

// The LCID at the start of a Workshop "Language" value ("0x411 日本語", "0x0809", "1041").
std::optional<unsigned> parseLanguageId(std::string_view value);

}  // namespace tarnbook::sitemap
