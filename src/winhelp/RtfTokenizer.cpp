#include "winhelp/RtfTokenizer.h"

#include <limits>

namespace tarnbook::winhelp {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Control words are at most 32 letters; longer runs are damage and are cut there.
constexpr std::size_t kMaxWordLength = 32;

}  // namespace

RtfToken RtfTokenizer::next() {
    RtfToken t;
    // Line breaks in RTF source carry no meaning.
    while (pos_ < in_.size() && (in_[pos_] == '\r' || in_[pos_] == '\n')) ++pos_;
    if (pos_ >= in_.size()) return t;
    const char c = in_[pos_];
    if (c == '{') {
        ++pos_;
        t.kind = RtfToken::Kind::GroupStart;
        return t;
    }
    if (c == '}') {
        ++pos_;
        t.kind = RtfToken::Kind::GroupEnd;
        return t;
    }
    if (c != '\\') {
        const std::size_t start = pos_;
        while (pos_ < in_.size() && in_[pos_] != '\\' && in_[pos_] != '{' && in_[pos_] != '}' &&
               in_[pos_] != '\r' && in_[pos_] != '\n')
            ++pos_;
        t.kind = RtfToken::Kind::Text;
        t.text = in_.substr(start, pos_ - start);
        return t;
    }
    ++pos_;  // the backslash
    if (pos_ >= in_.size()) return t;
    const char d = in_[pos_];
    if (!isLetter(d)) {
        ++pos_;
        if (d == '\'') {
            const int hi = pos_ < in_.size() ? hexValue(in_[pos_]) : -1;
            const int lo = pos_ + 1 < in_.size() ? hexValue(in_[pos_ + 1]) : -1;
            if (hi >= 0 && lo >= 0) {
                pos_ += 2;
                t.kind = RtfToken::Kind::HexByte;
                t.byte = static_cast<unsigned char>(hi * 16 + lo);
                return t;
            }
        }
        t.kind = RtfToken::Kind::Symbol;
        t.symbol = (d == '\r' || d == '\n') ? '\n' : d;  // "\<newline>" is a paragraph break
        return t;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && isLetter(in_[pos_]) && pos_ - start < kMaxWordLength) ++pos_;
    t.kind = RtfToken::Kind::Word;
    t.word = in_.substr(start, pos_ - start);
    bool negative = false;
    if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && isDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < in_.size() && isDigit(in_[pos_])) {
        long long v = 0;
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            if (v <= std::numeric_limits<std::int32_t>::max()) v = v * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (v > std::numeric_limits<std::int32_t>::max())
            v = std::numeric_limits<std::int32_t>::max();
        t.hasParam = true;
        t.param = static_cast<std::int32_t>(negative ? -v : v);
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiting blank belongs to the word
    if (t.word == "bin" && t.hasParam && t.param > 0) {
        // Binary data: skipped whole, it is never text.
        const std::size_t n = static_cast<std::size_t>(t.param);
        pos_ = n > in_.size() - pos_ ? in_.size() : pos_ + n;
    }
    return t;
}

}  // namespace tarnbook::winhelp
