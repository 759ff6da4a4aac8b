#include "sitemap/HtmlTokenizer.h"

#include <algorithm>
#include <cstring>

namespace tarnbook::sitemap {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == ':' || c == '.';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const std::string* Tag::attribute(std::string_view lowerName) const {
    for (const TagAttribute& a : attributes)
        if (a.name == lowerName) return &a.value;
    return nullptr;
}

void HtmlTokenizer::advanceTo(std::size_t pos) {
    pos = std::min(pos, text_.size());
    line_ += static_cast<std::size_t>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                                 text_.begin() + static_cast<std::ptrdiff_t>(pos),
                                                 '\n'));
    pos_ = pos;
}

void HtmlTokenizer::skipSpaces() {
    std::size_t p = pos_;
    while (p < text_.size() && isSpace(text_[p])) ++p;
    advanceTo(p);
}

std::string HtmlTokenizer::readQuoted(char quote) {
    // pos_ is just after the opening quote.
    std::size_t close = text_.find(quote, pos_);
    if (close == std::string_view::npos) {
        // A quote that never closes: take the value up to the end of the tag, so one damaged
        // value does not swallow the rest of the file.
        std::size_t end = text_.find('>', pos_);
        if (end == std::string_view::npos) end = text_.size();
        problems_.push_back({line_, "閉じていない引用符があります"});
        std::string value(text_.substr(pos_, end - pos_));
        advanceTo(end);
        return value;
    }
    std::string_view value = text_.substr(pos_, close - pos_);
    // A value that runs past the next '>' and over a line break most likely lost its closing
    // quote; end it at that '>' instead.
    std::size_t gt = value.find('>');
    if (gt != std::string_view::npos && value.find('\n', gt) != std::string_view::npos) {
        problems_.push_back({line_, "閉じていない引用符があります"});
        std::string cut(value.substr(0, gt));
        advanceTo(pos_ + gt);
        return cut;
    }
    std::string result(value);
    advanceTo(close + 1);
    return result;
}

bool HtmlTokenizer::readAttribute(Tag& tag) {
    skipSpaces();
    if (pos_ >= text_.size()) return false;
    char c = text_[pos_];
    if (c == '>' || c == '<') return false;  // '<': the tag lost its '>'
    if (c == '/' || c == '"' || c == '\'' || c == '=' || !isNameChar(c)) {
        advanceTo(pos_ + 1);  // stray character inside a tag
        return true;
    }
    std::size_t start = pos_;
    std::size_t p = pos_;
    while (p < text_.size() && isNameChar(text_[p])) ++p;
    TagAttribute attr;
    attr.name.reserve(p - start);
    for (std::size_t i = start; i < p; ++i) attr.name += lower(text_[i]);
    advanceTo(p);
    skipSpaces();
    if (pos_ < text_.size() && text_[pos_] == '=') {
        advanceTo(pos_ + 1);
        skipSpaces();
        if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'')) {
            char quote = text_[pos_];
            advanceTo(pos_ + 1);
            attr.value = readQuoted(quote);
        } else {
            std::size_t q = pos_;
            while (q < text_.size() && !isSpace(text_[q]) && text_[q] != '>') ++q;
            attr.value.assign(text_.substr(pos_, q - pos_));
            advanceTo(q);
        }
    }
    tag.attributes.push_back(std::move(attr));
    return true;
}

bool HtmlTokenizer::next(Tag& tag) {
    while (pos_ < text_.size()) {
        const void* found = std::memchr(text_.data() + pos_, '<', text_.size() - pos_);
        if (!found) {
            advanceTo(text_.size());
            return false;
        }
        advanceTo(static_cast<std::size_t>(static_cast<const char*>(found) - text_.data()));
        std::string_view rest = text_.substr(pos_);
        if (rest.starts_with("<!--")) {
            std::size_t end = text_.find("-->", pos_ + 4);
            if (end == std::string_view::npos) {
                problems_.push_back({line_, "閉じていないコメントがあります"});
                advanceTo(text_.size());
                return false;
            }
            advanceTo(end + 3);
            continue;
        }
        if (rest.size() >= 2 && (rest[1] == '!' || rest[1] == '?')) {
            std::size_t end = text_.find('>', pos_);
            advanceTo(end == std::string_view::npos ? text_.size() : end + 1);
            continue;
        }
        bool closing = rest.size() >= 2 && rest[1] == '/';
        std::size_t nameStart = pos_ + (closing ? 2 : 1);
        if (nameStart >= text_.size() || !isLetter(text_[nameStart])) {
            advanceTo(pos_ + 1);  // a '<' in text
            continue;
        }
        tag = Tag{};
        tag.closing = closing;
        tag.line = line_;
        std::size_t p = nameStart;
        while (p < text_.size() && isNameChar(text_[p])) tag.name += lower(text_[p++]);
        advanceTo(p);
        while (readAttribute(tag)) {
        }
        if (pos_ < text_.size() && text_[pos_] == '>')
            advanceTo(pos_ + 1);
        else
            problems_.push_back({tag.line, "タグ <" + tag.name + "> に \">\" がありません"});
        return true;
    }
    return false;
}

}  // namespace tarnbook::sitemap
