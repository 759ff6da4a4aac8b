#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Splits HTML-like text into tags, the only tokens a sitemap reader needs. Text between tags,
// comments, <!DOCTYPE> and <?...?> are skipped. Works byte-wise on any ASCII-compatible
// encoding (Shift_JIS, GBK, CP949, UTF-8, Latin-1): none of them uses '<', '>', '=' or quotes
// as a trail byte. Never fails: damage is reported as a warning and reading goes on.
namespace tarnbook::sitemap {

struct TagAttribute {
    std::string name;   // lower-cased
    std::string value;  // as written, quotes removed, entities not yet decoded
};

struct Tag {
    std::string name;  // lower-cased, without '/'
    bool closing = false;
    std::vector<TagAttribute> attributes;
    std::size_t line = 1;  // where the tag starts, 1-based

    // The value of the first attribute of this (lower-case) name, or nullptr.
    const std::string* attribute(std::string_view lowerName) const;
};

class HtmlTokenizer {
  public:
    explicit HtmlTokenizer(std::string_view text) : text_(text) {}

    // The next tag; false at the end of the text.
    bool next(Tag& tag);

    // Problems met so far, each "line: what" (UTF-8 text), in reading order.
    struct Problem {
        std::size_t line;
        std::string message;
    };
    const std::vector<Problem>& problems() const { return problems_; }

  private:
    void advanceTo(std::size_t pos);  // moves pos_ forward, counting line breaks
    void skipSpaces();
    bool readAttribute(Tag& tag);
    std::string readQuoted(char quote);

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::vector<Problem> problems_;
};

}  // namespace tarnbook::sitemap
