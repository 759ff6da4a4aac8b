#include "webexport/SearchIndex.h"

#include <map>

#include "platform/Cp932.h"
#include "project/ProjectJson.h"
#include "webexport/HtmlScanner.h"

namespace tarnbook::webexport {
namespace {

bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == 0xA0 || c == 0x3000;
}

std::u32string toUtf32(std::string_view utf8) {
    const std::u16string u16 = platform::utf8ToUtf16(utf8);
    std::u32string out;
    out.reserve(u16.size());
    for (std::size_t i = 0; i < u16.size(); ++i) {
        char32_t c = u16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < u16.size() && u16[i + 1] >= 0xDC00 &&
            u16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (u16[i + 1] - 0xDC00);
            ++i;
        }
        out += c;
    }
    return out;
}

std::string toUtf8(std::u32string_view text) {
    std::u16string u16;
    for (char32_t c : text) {
        if (c >= 0x10000) {
            u16 += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            u16 += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            u16 += static_cast<char16_t>(c);
        }
    }
    return platform::utf16ToUtf8(u16);
}

// Full-width Latin to ASCII, then capitals of Latin, Latin-1, Greek and Cyrillic to small
// ones; site.js folds queries the same way.
char32_t foldCase(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

}  // namespace

std::string visibleText(std::string_view html) {
    std::string out;
    bool skipping = false;  // inside script or style
    for (const HtmlToken& t : scanHtml(html)) {
        if (t.kind == HtmlToken::Kind::StartTag) {
            skipping = t.name == "script" || t.name == "style" || t.name == "title" ||
                       t.name == "textarea" || t.name == "xmp";
            out += ' ';
        } else if (t.kind == HtmlToken::Kind::EndTag) {
            skipping = false;
            out += ' ';
        } else if (t.kind == HtmlToken::Kind::Text && !skipping) {
            out += decodeEntities(html.substr(t.begin, t.end - t.begin));
        }
    }
    return toUtf8(normalizeForSearch(out));
}

std::u32string normalizeForSearch(std::string_view utf8) {
    std::u32string out;
    bool blank = true;  // drops leading blanks
    for (char32_t c : toUtf32(utf8)) {
        c = foldCase(c);
        if (isBlank(c)) {
            if (!blank) out += ' ';
            blank = true;
            continue;
        }
        blank = false;
        out += c;
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

void SearchIndexBuilder::add(SearchPage page) {
    pages_.push_back(std::move(page));
}

std::string SearchIndexBuilder::toJson() const {
    std::map<std::u32string, std::vector<std::size_t>> grams;
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        const std::u32string text = normalizeForSearch(pages_[p].title + " " + pages_[p].text);
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] == ' ' || text[i + 1] == ' ') continue;
            auto& list = grams[text.substr(i, 2)];
            if (list.empty() || list.back() != p) list.push_back(p);
        }
    }
    std::string out = "{\"pages\":[";
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        if (p) out += ",\n";
        out += "{\"u\":" + project::jsonString(pages_[p].url) +
               ",\"t\":" + project::jsonString(pages_[p].title) + "}";
    }
    out += "],\n\"text\":[";
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        if (p) out += ",\n";
        out +=
            project::jsonString(toUtf8(normalizeForSearch(pages_[p].title + " " + pages_[p].text)));
    }
    out += "],\n\"grams\":{";
    bool first = true;
    for (const auto& [gram, list] : grams) {
        if (!first) out += ",\n";
        first = false;
        out += project::jsonString(toUtf8(gram)) + ":[";
        for (std::size_t k = 0; k < list.size(); ++k) {
            if (k) out += ',';
            out += std::to_string(list[k]);
        }
        out += ']';
    }
    out += "}}\n";
    return out;
}

}  // namespace tarnbook::webexport
