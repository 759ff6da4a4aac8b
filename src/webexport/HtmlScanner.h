#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A tolerant reader of HTML as pages in the wild are written: tags in any letter case, quoted
// or bare attribute values, unterminated comments and tags, script and style bodies taken as
// raw text. It never fails; every byte of the input belongs to exactly one token, so a page
// can be rewritten by replacing token or value spans and keeping everything else.
namespace tarnbook::webexport {

struct HtmlAttribute {
    std::string name;   // lower case
    std::string value;  // entity references decoded
    bool hasValue = false;
    std::size_t nameBegin = 0;  // where the attribute starts in the input
    // The value as written, quotes included: [valueBegin, valueEnd) of the input. Both are
    // the end of the name when the attribute has no value.
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

struct HtmlToken {
    enum class Kind { Text, StartTag, EndTag, Comment, Declaration };
    Kind kind = Kind::Text;
    std::size_t begin = 0;
    std::size_t end = 0;  // one past the last byte
    std::string name;     // tag name in lower case (tags only)
    std::vector<HtmlAttribute> attributes;

    const HtmlAttribute* attribute(std::string_view lowerName) const;
    std::string attributeValue(std::string_view lowerName) const;
};

// Splits a whole page into tokens, in order, covering the input without gaps.
std::vector<HtmlToken> scanHtml(std::string_view html);

// Decodes character references (&amp; &#12354; &#x3042; and the named ones sitemaps use) in
// UTF-8 text; unknown or malformed references stay as written.
std::string decodeEntities(std::string_view text);

// Escapes text for an element body or a double-quoted attribute value.
std::string escapeHtml(std::string_view utf8);

// ASCII lower case.
std::string asciiLower(std::string_view text);

}  // namespace tarnbook::webexport
