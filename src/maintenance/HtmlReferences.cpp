#include "maintenance/HtmlReferences.h"

#include <algorithm>
#include <cstdint>

namespace tarnbook::maintenance {
namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() - at < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (lower(text[at + i]) != prefix[i]) return false;
    return true;
}

std::string trimmed(std::string_view v) {
    const auto first = v.find_first_not_of(" \t\r\n\f");
    if (first == std::string_view::npos) return {};
    const auto last = v.find_last_not_of(" \t\r\n\f");
    return std::string(v.substr(first, last - first + 1));
}

// The named and numeric references that can stand in a path or an address; anything else
// is kept as written.
std::string decodeCharacterReferences(std::string_view v) {
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    std::string out;
    out.reserve(v.size());
    for (std::size_t i = 0; i < v.size();) {
        if (v[i] != '&') {
            out += v[i++];
            continue;
        }
        bool done = false;
        for (const auto& [name, ch] : kNamed) {
            if (startsWithNoCase(v, i + 1, name)) {
                out += ch;
                i += 1 + name.size();
                done = true;
                break;
            }
        }
        if (!done && i + 2 < v.size() && v[i + 1] == '#') {
            const bool hex = lower(v[i + 2]) == 'x';
            std::size_t j = i + (hex ? 3 : 2);
            std::uint32_t code = 0;
            const std::size_t digitsFrom = j;
            while (j < v.size() && code < 0x110000) {
                const char c = lower(v[j]);
                if (c >= '0' && c <= '9')
                    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(c - '0');
                else if (hex && c >= 'a' && c <= 'f')
                    code = code * 16 + static_cast<std::uint32_t>(c - 'a' + 10);
                else
                    break;
                ++j;
            }
            // Only ASCII is decoded: the page's own encoding is not known here.
            if (j > digitsFrom && code > 0 && code < 0x80) {
                out += static_cast<char>(code);
                i = j < v.size() && v[j] == ';' ? j + 1 : j;
                done = true;
            }
        }
        if (!done) out += v[i++];
    }
    return trimmed(out);
}

bool isReferenceAttribute(std::string_view name) {
    return name == "href" || name == "src" || name == "background";
}

// A quoted string or the text up to `stop` (white space ends it too), from `i` on.
std::string_view cssValue(std::string_view css, std::size_t& i, char stop) {
    while (i < css.size() && isSpace(css[i])) ++i;
    if (i < css.size() && (css[i] == '"' || css[i] == '\'')) {
        const char quote = css[i];
        const std::size_t close = css.find(quote, i + 1);
        const std::size_t end = close == std::string_view::npos ? css.size() : close;
        std::string_view v = css.substr(i + 1, end - i - 1);
        i = end;
        return v;
    }
    const std::size_t start = i;
    while (i < css.size() && css[i] != stop && !isSpace(css[i]) && css[i] != ';') ++i;
    return css.substr(start, i - start);
}

class Tokenizer {
  public:
    explicit Tokenizer(std::string_view html) : s_(html) {}

    std::vector<HtmlReference> run() {
        while (i_ < s_.size()) {
            const std::size_t lt = s_.find('<', i_);
            if (lt == std::string_view::npos) break;
            i_ = lt;
            if (s_.compare(i_, 4, "<!--") == 0) {
                skipPast("-->", i_ + 4);
            } else if (i_ + 1 < s_.size() &&
                       (s_[i_ + 1] == '!' || s_[i_ + 1] == '?' || s_[i_ + 1] == '/')) {
                skipPast(">", i_ + 2);
            } else if (i_ + 1 < s_.size() && isAsciiLetter(s_[i_ + 1])) {
                startTag();
            } else {
                ++i_;  // a "<" of text
            }
        }
        return std::move(found_);
    }

  private:
    void skipPast(std::string_view end, std::size_t from) {
        const std::size_t at = s_.find(end, std::min(from, s_.size()));
        i_ = at == std::string_view::npos ? s_.size() : at + end.size();
    }

    void skipSpace() {
        while (i_ < s_.size() && isSpace(s_[i_])) ++i_;
    }

    std::size_t lineAt(std::size_t offset) {
        line_ += static_cast<std::size_t>(
            std::count(s_.begin() + static_cast<std::ptrdiff_t>(lineOffset_),
                       s_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        lineOffset_ = offset;
        return line_;
    }

    void startTag() {
        const std::size_t nameStart = ++i_;
        while (i_ < s_.size() && !isSpace(s_[i_]) && s_[i_] != '/' && s_[i_] != '>') ++i_;
        const std::string tag = lowerAscii(s_.substr(nameStart, i_ - nameStart));
        bool selfClosing = false;
        for (;;) {
            skipSpace();
            if (i_ >= s_.size()) return;
            if (s_[i_] == '>') {
                ++i_;
                break;
            }
            if (s_[i_] == '/') {
                ++i_;
                selfClosing = i_ < s_.size() && s_[i_] == '>';
                continue;
            }
            attribute();
        }
        // Raw text: its contents end only at the matching end tag.
        if (!selfClosing && (tag == "script" || tag == "style")) {
            const std::size_t contentStart = i_;
            const std::string end = "</" + tag;
            while (i_ < s_.size() && !startsWithNoCase(s_, i_, end)) {
                const std::size_t lt = s_.find('<', i_ + 1);
                i_ = lt == std::string_view::npos ? s_.size() : lt;
            }
            if (tag == "style")
                addCss(s_.substr(contentStart, i_ - contentStart), lineAt(contentStart));
        }
    }

    // Style text found on `line`: its own line numbers count on from there.
    void addCss(std::string_view css, std::size_t line) {
        for (HtmlReference& r : cssReferences(css)) {
            r.line += line - 1;
            found_.push_back(std::move(r));
        }
    }

    void attribute() {
        const std::size_t nameStart = i_;
        // A name runs to white space, "/", ">" or "="; a leading "=" belongs to the name.
        ++i_;
        while (i_ < s_.size() && !isSpace(s_[i_]) && s_[i_] != '/' && s_[i_] != '>' &&
               s_[i_] != '=')
            ++i_;
        const std::string name = lowerAscii(s_.substr(nameStart, i_ - nameStart));
        skipSpace();
        if (i_ >= s_.size() || s_[i_] != '=') return;  // a name without a value
        ++i_;
        skipSpace();
        if (i_ >= s_.size()) return;
        std::string_view raw;
        if (s_[i_] == '"' || s_[i_] == '\'') {
            const char quote = s_[i_];
            const std::size_t close = s_.find(quote, i_ + 1);
            const std::size_t end = close == std::string_view::npos ? s_.size() : close;
            raw = s_.substr(i_ + 1, end - i_ - 1);
            i_ = close == std::string_view::npos ? s_.size() : close + 1;
        } else {
            const std::size_t start = i_;
            while (i_ < s_.size() && !isSpace(s_[i_]) && s_[i_] != '>') ++i_;
            raw = s_.substr(start, i_ - start);
        }
        if (isReferenceAttribute(name))
            found_.push_back({name, decodeCharacterReferences(raw), lineAt(nameStart)});
        else if (name == "style")
            addCss(decodeCharacterReferences(raw), lineAt(nameStart));
    }

    std::string_view s_;
    std::size_t i_ = 0;
    std::size_t line_ = 1;
    std::size_t lineOffset_ = 0;
    std::vector<HtmlReference> found_;
};

}  // namespace

std::vector<HtmlReference> htmlReferences(std::string_view html) {
    return Tokenizer(html).run();
}

std::vector<HtmlReference> cssReferences(std::string_view css) {
    std::vector<HtmlReference> found;
    std::size_t line = 1;
    std::size_t counted = 0;
    auto lineAt = [&](std::size_t offset) {
        line += static_cast<std::size_t>(
            std::count(css.begin() + static_cast<std::ptrdiff_t>(counted),
                       css.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        counted = offset;
        return line;
    };
    for (std::size_t i = 0; i < css.size();) {
        if (css.compare(i, 2, "/*") == 0) {
            const std::size_t end = css.find("*/", i + 2);
            i = end == std::string_view::npos ? css.size() : end + 2;
        } else if (startsWithNoCase(css, i, "url(")) {
            const std::size_t at = i;
            i += 4;
            const std::string_view v = cssValue(css, i, ')');
            found.push_back({"url", trimmed(v), lineAt(at)});
        } else if (startsWithNoCase(css, i, "@import")) {
            const std::size_t at = i;
            i += 7;
            while (i < css.size() && isSpace(css[i])) ++i;
            if (i < css.size() && (css[i] == '"' || css[i] == '\'')) {
                const std::string_view v = cssValue(css, i, ';');
                found.push_back({"url", trimmed(v), lineAt(at)});
            }
        } else {
            ++i;
        }
    }
    return found;
}

}  // namespace tarnbook::maintenance
