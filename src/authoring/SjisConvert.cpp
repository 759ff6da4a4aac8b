#include "authoring/SjisConvert.h"

#include <cstring>
#include <utility>

#include "platform/Cp932.h"
#include "platform/Files.h"

namespace tarnbook::authoring {

namespace {

using Byte = unsigned char;

constexpr Byte kSo = 0x0E;
constexpr Byte kSi = 0x0F;
constexpr Byte kEsc = 0x1B;
constexpr Byte kSub = 0x1A;
constexpr Byte kKanaPrefix = 0x8E;

enum class Guess { Jis, Euc, Sjis };

constexpr bool inJisRange(Byte b) {
    return b >= 0x21 && b <= 0x7E;
}
constexpr bool isHalfWidthKana(Byte b) {
    return b >= 0xA1 && b <= 0xDF;
}

// Bytes that end the part of the line looked at for the guess.
constexpr bool endsGuess(Byte b) {
    return b == 0x00 || b == kSub || b == '\r' || b == '\n';
}

// Guesses the encoding of a line from the bytes before its first NUL, SUB, CR or LF. A high
// byte is taken together with the byte after it, so the scan moves pair by pair.
Guess guessEncoding(const Byte* s, std::size_t n) {
    enum class Kana { None, Expect, Ok };
    Kana kana = Kana::None;  // whether the last 0x8E was followed by a half-width kana byte
    bool kanaPrefixSeen = false;
    bool sawHigh = false;
    // False when the byte cannot occur in EUC-JP (0x80-0x9F other than 0x8E), which settles
    // the guess at once.
    auto track = [&](Byte b) {
        if (b < 0xA0 && b != kKanaPrefix) return false;
        if (kana == Kana::Expect) kana = isHalfWidthKana(b) ? Kana::Ok : Kana::None;
        if (b == kKanaPrefix) {
            kanaPrefixSeen = true;
            kana = Kana::Expect;
        }
        return true;
    };
    std::size_t i = 0;
    while (i < n) {
        const Byte b = s[i];
        if (b < 0x80) {
            if (endsGuess(b)) break;
            ++i;
            continue;
        }
        sawHigh = true;
        if (!track(b)) return Guess::Sjis;
        // The partner must lie in the examined part.
        if (i + 1 >= n) return Guess::Sjis;
        const Byte partner = s[i + 1];
        if (partner < 0x80) {
            if (endsGuess(partner)) return Guess::Sjis;
        } else if (!track(partner)) {
            return Guess::Sjis;
        }
        i += 2;
    }
    if (!sawHigh) return Guess::Jis;
    if (kanaPrefixSeen && kana == Kana::None) return Guess::Sjis;
    return Guess::Euc;
}

// JIS X 0208 row and cell to Shift_JIS by the standard arithmetic, for every pair of bytes
// in 0x21-0x7E, worked out once.
struct SjisPairs {
    Byte pair[94 * 94][2];
};

constexpr SjisPairs makeSjisPairs() {
    SjisPairs t{};
    for (int d = 0; d < 94 * 94; ++d) {
        int lead = d / 188 + 0x81;
        if (lead > 0x9F) lead += 0x40;
        int trail = d % 188 + 0x40;
        if (trail > 0x7E) trail += 1;
        t.pair[d][0] = static_cast<Byte>(lead);
        t.pair[d][1] = static_cast<Byte>(trail);
    }
    return t;
}

constexpr SjisPairs kSjisPairs = makeSjisPairs();

// j1 and j2 must both lie in 0x21-0x7E.
inline void jisToSjis(Byte j1, Byte j2, Byte* out) {
    const Byte* p = kSjisPairs.pair[(j1 - 0x21) * 94 + (j2 - 0x21)];
    out[0] = p[0];
    out[1] = p[1];
}

// Both decoders read `n` bytes from `s` and write at most `n` bytes to `out`. Each returns
// the converted length, which stops at the first NUL the conversion makes.

std::size_t decodeJis(const Byte* s, std::size_t n, Byte* out) {
    bool kanji = false;
    bool kana = false;
    // An ESC that starts no known sequence clears the high bits of the two bytes after it;
    // bytes before this index are read that way.
    std::size_t clearedUntil = 0;
    std::size_t r = 0;
    std::size_t w = 0;
    while (r < n) {
        const Byte b = s[r] & 0x7F;
        if (b == 0x00) break;
        if (b == kSo || b == kSi) {
            kana = b == kSo;
            kanji = false;
            ++r;
            continue;
        }
        if (b == kEsc && r + 2 < n) {
            const Byte c1 = s[r + 1] & 0x7F;
            const Byte c2 = s[r + 2] & 0x7F;
            bool matched = true;
            if (c1 == '$' && (c2 == '@' || c2 == 'B')) {
                kanji = true;
                kana = false;
            } else if (c1 == '(' && (c2 == 'B' || c2 == 'H' || c2 == 'J')) {
                kanji = false;
                kana = false;
            } else if (c1 == '(' && c2 == 'I') {
                kanji = false;
                kana = true;
            } else {
                matched = false;
            }
            if (matched) {
                r += 3;
                continue;
            }
            clearedUntil = r + 3;
        }
        if (kanji) {
            // A pair needs a cell byte; a row byte without one stays as it is.
            if (inJisRange(b) && r + 1 < n) {
                const Byte cell = r + 1 < clearedUntil ? s[r + 1] & 0x7F : s[r + 1];
                if (inJisRange(cell)) {
                    jisToSjis(b, cell, out + w);
                    w += 2;
                    r += 2;
                    continue;
                }
            }
            out[w++] = b;
            ++r;
            continue;
        }
        out[w++] = (kana && b >= 0x21 && b <= 0x5F) ? static_cast<Byte>(b | 0x80) : b;
        ++r;
    }
    return w;
}

std::size_t decodeEuc(const Byte* s, std::size_t n, Byte* out) {
    bool kana = false;
    std::size_t r = 0;
    std::size_t w = 0;
    while (r < n) {
        const Byte b = s[r];
        if (b >= 0xA1 && b <= 0xFE && !kana) {
            // The common case first: a double-byte character.
            if (r + 1 < n && inJisRange(s[r + 1] & 0x7F)) {
                jisToSjis(b & 0x7F, s[r + 1] & 0x7F, out + w);
                w += 2;
                r += 2;
                continue;
            }
            // A lead byte without a usable partner is an odd byte like any other.
            out[w++] = b & 0x7F;
            ++r;
            continue;
        }
        if (b < 0x80 && b != kEsc && b != kSo && b != kSi && !kana) {
            out[w++] = b;
            ++r;
            continue;
        }
        if (b == kEsc && r + 2 < n && s[r + 1] == '(' && (s[r + 2] == 'I' || s[r + 2] == 'J')) {
            kana = s[r + 2] == 'I';
            r += 3;
            continue;
        }
        if (b == kSo || b == kSi) {
            kana = b == kSo;
            ++r;
            continue;
        }
        if (kana) {
            out[w++] = (b >= 0x21 && b <= 0x5F) ? static_cast<Byte>(b | 0x80) : b;
            ++r;
            continue;
        }
        if (b == kKanaPrefix && r + 1 < n && isHalfWidthKana(s[r + 1])) {
            out[w++] = s[r + 1];
            r += 2;
            continue;
        }
        const Byte cleared = b & 0x7F;
        if (cleared == 0x00) break;
        out[w++] = cleared;
        ++r;
    }
    return w;
}

// True when a line without high bytes in its guessed part needs no change at all.
bool isPlainAscii(const Byte* s, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const Byte b = s[i];
        if (b >= 0x80 || b == kEsc || b == kSo || b == kSi) return false;
    }
    return true;
}

std::size_t findByte(const char* data, char c, std::size_t from, std::size_t n) {
    const void* p = std::memchr(data + from, c, n - from);
    return p ? static_cast<std::size_t>(static_cast<const char*>(p) - data) : n;
}

// Calls `fn` with every line of `text` that a CR LF, LF or lone CR ends, and returns the
// index just past the last line break.
template <typename Fn>
std::size_t forEachEndedLine(std::string_view text, Fn&& fn) {
    const char* d = text.data();
    const std::size_t n = text.size();
    std::size_t start = 0;
    // The next LF and CR, each looked up again only once passed, so that a text using just
    // one kind of line break is not scanned to its end for the other at every line.
    std::size_t nextLf = findByte(d, '\n', 0, n);
    std::size_t nextCr = findByte(d, '\r', 0, n);
    for (;;) {
        if (nextLf < start) nextLf = findByte(d, '\n', start, n);
        if (nextCr < start) nextCr = findByte(d, '\r', start, n);
        std::size_t end = nextLf < nextCr ? nextLf : nextCr;
        if (end == n) return start;
        fn(text.substr(start, end - start));
        if (d[end] == '\r' && end + 1 < n && d[end + 1] == '\n') ++end;
        start = end + 1;
    }
}

// Calls `fn` with every line of `text`, including a last one that no line break ends.
template <typename Fn>
void forEachLine(std::string_view text, Fn&& fn) {
    const std::size_t rest = forEachEndedLine(text, fn);
    if (rest < text.size()) fn(text.substr(rest));
}

// Replaces charset=euc-jp, in any letter case, at character boundaries.
std::string rewriteEucCharset(std::string_view line) {
    static constexpr std::string_view kFrom = "charset=euc-jp";
    static constexpr std::string_view kTo = "charset=shift-jis";
    // Lower-casing changes only ASCII letters, so positions and boundaries stay the same.
    const std::string lower = platform::lowerCaseSjis(line);
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t pos = platform::findSjis(lower, kFrom, from);
        if (pos == std::string::npos) break;
        out.append(line.substr(from, pos - from));
        out.append(kTo);
        from = pos + kFrom.size();
    }
    out.append(line.substr(from));
    return out;
}

}  // namespace

void appendLineToSjis(std::string_view line, std::string& out) {
    // Nothing after the first NUL survives, and nothing before it depends on what follows.
    if (const void* nul = std::memchr(line.data(), 0, line.size())) {
        line = line.substr(0, static_cast<const char*>(nul) - line.data());
    }
    if (line.empty()) return;
    const auto* in = reinterpret_cast<const Byte*>(line.data());
    const Guess guess = guessEncoding(in, line.size());
    if (guess == Guess::Sjis || (guess == Guess::Jis && isPlainAscii(in, line.size()))) {
        out.append(line);
        return;
    }
    const std::size_t base = out.size();
    out.resize(base + line.size());
    auto* dest = reinterpret_cast<Byte*>(out.data() + base);
    const std::size_t length =
        guess == Guess::Jis ? decodeJis(in, line.size(), dest) : decodeEuc(in, line.size(), dest);
    out.resize(base + length);
}

std::string convertLineToSjis(std::string_view line) {
    std::string out;
    appendLineToSjis(line, out);
    return out;
}

std::string convertTextToSjis(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    forEachLine(text, [&out](std::string_view line) {
        appendLineToSjis(line, out);
        out.append("\r\n");
    });
    return out;
}

SjisTextConverter::SjisTextConverter(std::function<void(std::string_view)> sink)
    : sink_(std::move(sink)) {}

void SjisTextConverter::feed(std::string_view bytes) {
    if (bytes.empty()) return;
    if (afterCr_) {
        afterCr_ = false;
        if (bytes.front() == '\n') bytes.remove_prefix(1);
    }
    if (!partial_.empty()) {
        // Complete the line begun in an earlier piece.
        std::size_t end = 0;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        partial_.append(bytes.substr(0, end));
        if (end == bytes.size()) return;
        emitLine(partial_);
        partial_.clear();
        const bool crEndsPiece = bytes[end] == '\r' && end + 1 == bytes.size();
        if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
        bytes.remove_prefix(end + 1);
        if (bytes.empty()) {
            afterCr_ = crEndsPiece;
            return;
        }
    }
    const std::size_t rest =
        forEachEndedLine(bytes, [this](std::string_view line) { emitLine(line); });
    partial_.assign(bytes.substr(rest));
    afterCr_ = rest == bytes.size() && bytes.back() == '\r';
}

void SjisTextConverter::finish() {
    if (!partial_.empty()) emitLine(partial_);
    partial_.clear();
    afterCr_ = false;
    flush();
}

void SjisTextConverter::emitLine(std::string_view line) {
    appendLineToSjis(line, out_);
    out_.append("\r\n");
    if (out_.size() >= (64u << 10)) flush();
}

void SjisTextConverter::flush() {
    if (out_.empty()) return;
    sink_(out_);
    out_.clear();
}

std::string convertPageToSjis(std::string_view sourcePath, bool convert) {
    const std::string source = platform::readFile(sourcePath);
    std::string out;
    out.reserve(source.size() + source.size() / 16);
    forEachLine(source, [&](std::string_view line) {
        if (!convert) {
            out.append(line);
        } else if (platform::lowerCaseSjis(line).find("charset=euc-jp") != std::string::npos) {
            appendLineToSjis(rewriteEucCharset(line), out);
        } else {
            appendLineToSjis(line, out);
        }
        out.append("\r\n");
    });
    const std::string temp = platform::makeTempFile("QLT");
    try {
        platform::writeFileAtomic(temp, out);
    } catch (...) {
        platform::deleteFile(temp);
        throw;
    }
    return temp;
}

}  // namespace tarnbook::authoring
