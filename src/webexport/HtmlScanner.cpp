#include "webexport/HtmlScanner.h"

#include <algorithm>

#include "sitemap/HtmlEntities.h"

namespace tarnbook::webexport {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Case-insensitive search for an ASCII needle.
std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty() || text.size() < needle.size()) return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size()) {
            char a = text[i + k];
            if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
            if (a != needle[k]) break;
            ++k;
        }
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

// Parses the attributes of a tag from `pos` up to its closing '>' (or the end of input).
// Returns the index one past the tag.
std::size_t parseAttributes(std::string_view html, std::size_t pos, HtmlToken& token) {
    const std::size_t n = html.size();
    while (pos < n) {
        while (pos < n && (isSpace(html[pos]) || html[pos] == '/')) ++pos;
        if (pos >= n) break;
        if (html[pos] == '>') return pos + 1;
        HtmlAttribute attr;
        const std::size_t nameBegin = pos;
        while (pos < n && !isSpace(html[pos]) && html[pos] != '>' && html[pos] != '=' &&
               (html[pos] != '/' || pos == nameBegin))
            ++pos;
        if (pos == nameBegin) ++pos;  // a stray '=' where a name should be
        attr.name = asciiLower(html.substr(nameBegin, pos - nameBegin));
        attr.nameBegin = nameBegin;
        attr.valueBegin = attr.valueEnd = pos;
        std::size_t look = pos;
        while (look < n && isSpace(html[look])) ++look;
        if (look < n && html[look] == '=') {
            ++look;
            while (look < n && isSpace(html[look])) ++look;
            attr.hasValue = true;
            attr.valueBegin = look;
            if (look < n && (html[look] == '"' || html[look] == '\'')) {
                const char quote = html[look];
                std::size_t close = html.find(quote, look + 1);
                if (close == std::string_view::npos) close = n;
                attr.value = decodeEntities(html.substr(look + 1, close - look - 1));
                pos = close < n ? close + 1 : n;
            } else {
                pos = look;
                while (pos < n && !isSpace(html[pos]) && html[pos] != '>') ++pos;
                attr.value = decodeEntities(html.substr(look, pos - look));
            }
            attr.valueEnd = pos;
        }
        if (!attr.name.empty()) token.attributes.push_back(std::move(attr));
    }
    return n;
}

bool isRawTextElement(std::string_view name) {
    return name == "script" || name == "style" || name == "textarea" || name == "title" ||
           name == "xmp";
}

}  // namespace

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

const HtmlAttribute* HtmlToken::attribute(std::string_view lowerName) const {
    for (const auto& a : attributes)
        if (a.name == lowerName) return &a;
    return nullptr;
}

std::string HtmlToken::attributeValue(std::string_view lowerName) const {
    const HtmlAttribute* a = attribute(lowerName);
    return a ? a->value : std::string();
}

std::vector<HtmlToken> scanHtml(std::string_view html) {
    std::vector<HtmlToken> tokens;
    const std::size_t n = html.size();
    std::size_t pos = 0;
    std::size_t textBegin = 0;
    auto flushText = [&](std::size_t upTo) {
        if (upTo > textBegin) {
            HtmlToken t;
            t.kind = HtmlToken::Kind::Text;
            t.begin = textBegin;
            t.end = upTo;
            tokens.push_back(std::move(t));
        }
    };
    while (pos < n) {
        const std::size_t lt = html.find('<', pos);
        if (lt == std::string_view::npos || lt + 1 >= n) break;
        const char next = html[lt + 1];
        HtmlToken t;
        t.begin = lt;
        if (html.compare(lt, 4, "<!--") == 0) {
            const std::size_t close = html.find("-->", lt + 4);
            t.kind = HtmlToken::Kind::Comment;
            t.end = close == std::string_view::npos ? n : close + 3;
        } else if (next == '!' || next == '?') {
            const std::size_t close = html.find('>', lt + 2);
            t.kind = HtmlToken::Kind::Declaration;
            t.end = close == std::string_view::npos ? n : close + 1;
        } else if (next == '/' && lt + 2 < n && isAsciiLetter(html[lt + 2])) {
            std::size_t p = lt + 2;
            while (p < n && !isSpace(html[p]) && html[p] != '>' && html[p] != '/') ++p;
            t.kind = HtmlToken::Kind::EndTag;
            t.name = asciiLower(html.substr(lt + 2, p - lt - 2));
            const std::size_t close = html.find('>', p);
            t.end = close == std::string_view::npos ? n : close + 1;
        } else if (isAsciiLetter(next)) {
            std::size_t p = lt + 1;
            while (p < n && !isSpace(html[p]) && html[p] != '>' && html[p] != '/') ++p;
            t.kind = HtmlToken::Kind::StartTag;
            t.name = asciiLower(html.substr(lt + 1, p - lt - 1));
            t.end = parseAttributes(html, p, t);
        } else {
            pos = lt + 1;  // a bare '<' is text
            continue;
        }
        flushText(lt);
        const bool raw = t.kind == HtmlToken::Kind::StartTag && isRawTextElement(t.name);
        const std::string rawName = raw ? t.name : std::string();
        pos = t.end;
        textBegin = pos;
        tokens.push_back(std::move(t));
        if (raw) {
            // The body runs to the matching end tag; whatever it holds is text.
            std::size_t close = findNoCase(html, "</" + rawName, pos);
            if (close == std::string_view::npos) close = n;
            flushText(close);
            pos = textBegin = close;
        }
    }
    textBegin = std::min(textBegin, n);
    flushText(n);
    return tokens;
}

std::string decodeEntities(std::string_view text) {
    return sitemap::decodeEntities(text, sitemap::TextForm::Utf8);
}

std::string escapeHtml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace tarnbook::webexport
