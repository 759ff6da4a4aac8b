#include "authoring/SjisConvert.h"

#include <array>
#include <bit>
#include <cstdint>
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

constexpr bool isHalfWidthKana(Byte b) {
    return b >= 0xA1 && b <= 0xDF;
}

// ASCII bytes the EUC-JP decoding does not simply copy (NUL ends the result).
constexpr bool isControlForEuc(Byte b) {
    return b == 0x00 || b == kEsc || b == kSo || b == kSi;
}

// Bytes that end the part of the line looked at for the guess.
constexpr bool endsGuess(Byte b) {
    return b == 0x00 || b == kSub || b == '\r' || b == '\n';
}

// How the guess treats each byte value.
enum class GuessClass : Byte {
    Plain,     // ASCII that is simply stepped over
    End,       // NUL, SUB, CR, LF: the examined part ends before it
    EucByte,   // 0xA0 and above: possible in EUC-JP
    KanaMark,  // 0x8E: the EUC-JP half-width katakana prefix
    NotEuc,    // 0x80-0x9F other than 0x8E: cannot occur in EUC-JP
};

constexpr std::array<GuessClass, 256> makeGuessClasses() {
    std::array<GuessClass, 256> t{};
    for (int b = 0; b < 256; ++b) {
        if (endsGuess(static_cast<Byte>(b))) {
            t[b] = GuessClass::End;
        } else if (b < 0x80) {
            t[b] = GuessClass::Plain;
        } else if (b == kKanaPrefix) {
            t[b] = GuessClass::KanaMark;
        } else if (b < 0xA0) {
            t[b] = GuessClass::NotEuc;
        } else {
            t[b] = GuessClass::EucByte;
        }
    }
    return t;
}

constexpr std::array<GuessClass, 256> kGuessClasses = makeGuessClasses();

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Bit 7 of some byte of the result is set when `w` holds the byte `b` (the usual zero-byte
// test on w ^ b...b). Only bit 7 of each byte is meaningful.
constexpr std::uint64_t hasByte(std::uint64_t w, Byte b) {
    const std::uint64_t x = w ^ (kOnes * b);
    return (x - kOnes) & ~x;
}

// The number of bytes of 0x80 and above at the end of s[0, n).
std::size_t trailingHighBytes(const Byte* s, std::size_t n) {
    std::size_t end = n;
    if constexpr (std::endian::native == std::endian::little) {
        while (end >= 8) {
            std::uint64_t w;
            std::memcpy(&w, s + end - 8, 8);
            const std::uint64_t ascii = ~w & kHighBits;
            if (ascii != 0) {
                // The last ASCII byte of the word is the one with the highest marked bit.
                const int lastAscii = (63 - std::countl_zero(ascii)) / 8;
                return n - end + static_cast<std::size_t>(7 - lastAscii);
            }
            end -= 8;
        }
    }
    while (end > 0 && s[end - 1] >= 0x80) --end;
    return n - end;
}

// Guesses the encoding of a line from the bytes before its first NUL, SUB, CR or LF. A high
// byte is taken together with the byte after it, so the scan moves pair by pair.
Guess guessEncoding(const Byte* s, std::size_t n) {
    // Most lines hold no 0x80-0x9F byte and nothing that ends the examined part early; then
    // the line is ASCII, or EUC-JP unless its high bytes fail to pair up. They fail only when
    // the run of high bytes at the very end is odd: every run starts a pair afresh, and an odd
    // run elsewhere takes the ASCII byte after it as the partner of its last byte. This
    // branch-free pass settles such lines; the others take the walk below.
    std::uint64_t any = 0;
    std::uint64_t unusual = 0;  // 0x80-0x9F (0x8E included), NUL, SUB, CR or LF seen
    std::size_t k = 0;
    for (; k + 8 <= n; k += 8) {
        std::uint64_t w;
        std::memcpy(&w, s + k, 8);
        any |= w;
        unusual |= w & ~(w << 1) & ~(w << 2);  // bit 7 set, bits 6 and 5 clear
        unusual |= hasByte(w, 0x00) | hasByte(w, kSub) | hasByte(w, '\r') | hasByte(w, '\n');
    }
    unusual &= kHighBits;
    for (; k < n; ++k) {
        any |= s[k];
        if ((s[k] >= 0x80 && s[k] <= 0x9F) || endsGuess(s[k])) unusual = 1;
    }
    if (!unusual) {
        if ((any & kHighBits) == 0) return Guess::Jis;
        return trailingHighBytes(s, n) % 2 == 0 ? Guess::Euc : Guess::Sjis;
    }

    enum class Kana { None, Expect, Ok };
    Kana kana = Kana::None;  // whether the last 0x8E was followed by a half-width kana byte
    bool kanaPrefixSeen = false;
    bool sawHigh = false;
    auto trackKana = [&](Byte b, GuessClass c) {
        if (kana == Kana::Expect) kana = isHalfWidthKana(b) ? Kana::Ok : Kana::None;
        if (c == GuessClass::KanaMark) {
            kanaPrefixSeen = true;
            kana = Kana::Expect;
        }
    };
    std::size_t i = 0;
    while (i < n) {
        const GuessClass c = kGuessClasses[s[i]];
        if (c == GuessClass::Plain) {
            ++i;
            continue;
        }
        if (c == GuessClass::End) break;
        if (c == GuessClass::NotEuc) return Guess::Sjis;
        sawHigh = true;
        trackKana(s[i], c);
        // The partner must lie in the examined part.
        if (i + 1 >= n) return Guess::Sjis;
        const GuessClass p = kGuessClasses[s[i + 1]];
        if (p == GuessClass::End || p == GuessClass::NotEuc) return Guess::Sjis;
        if (p != GuessClass::Plain) trackKana(s[i + 1], p);
        i += 2;
    }
    if (!sawHigh) return Guess::Jis;
    if (kanaPrefixSeen && kana == Kana::None) return Guess::Sjis;
    return Guess::Euc;
}

// JIS X 0208 row and cell to Shift_JIS by the standard arithmetic, worked out once for every
// pair of 7-bit bytes; zero where either byte lies outside 0x21-0x7E (no pair).
constexpr std::array<std::uint16_t, 128 * 128> makeSjisPairs() {
    std::array<std::uint16_t, 128 * 128> t{};
    for (int j1 = 0x21; j1 <= 0x7E; ++j1) {
        for (int j2 = 0x21; j2 <= 0x7E; ++j2) {
            const int d = (j1 - 0x21) * 94 + (j2 - 0x21);
            int lead = d / 188 + 0x81;
            if (lead > 0x9F) lead += 0x40;
            int trail = d % 188 + 0x40;
            if (trail > 0x7E) trail += 1;
            t[j1 << 7 | j2] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
    }
    return t;
}

constexpr std::array<std::uint16_t, 128 * 128> kSjisPairs = makeSjisPairs();

// The Shift_JIS pair for two 7-bit bytes, or 0 when they are no JIS X 0208 pair.
inline std::uint16_t sjisPair(Byte j1, Byte j2) {
    return kSjisPairs[static_cast<std::size_t>(j1) << 7 | j2];
}

inline void putPair(std::uint16_t pair, Byte* out) {
    out[0] = static_cast<Byte>(pair >> 8);
    out[1] = static_cast<Byte>(pair);
}

// Both decoders read at most `n` bytes from `s` and write at most as many to `out`. Each
// returns the converted length, which stops at the first NUL of the input or the first one
// the conversion makes; no byte after a NUL can change what comes before it.

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
            if (r + 1 < n) {
                const Byte cell = r + 1 < clearedUntil ? s[r + 1] & 0x7F : s[r + 1];
                const std::uint16_t pair = cell < 0x80 ? sjisPair(b, cell) : 0;
                if (pair != 0) {
                    putPair(pair, out + w);
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
            if (r + 1 < n) {
                const std::uint16_t pair = sjisPair(b & 0x7F, s[r + 1] & 0x7F);
                if (pair != 0) {
                    putPair(pair, out + w);
                    w += 2;
                    r += 2;
                    continue;
                }
            }
            // A lead byte without a usable partner is an odd byte like any other.
            out[w++] = b & 0x7F;
            ++r;
            continue;
        }
        if (b < 0x80 && !kana && !isControlForEuc(b)) {
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
            if (b == 0x00) break;
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

// The length of the leading part of a line that the ISO-2022-JP decoding leaves as it is:
// up to the first high byte, escape, shift or NUL.
std::size_t plainAsciiLength(const Byte* s, std::size_t n) {
    std::size_t i = 0;
    while (i < n && s[i] < 0x80 && !isControlForEuc(s[i])) ++i;
    return i;
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
    if (line.empty()) return;
    const auto* in = reinterpret_cast<const Byte*>(line.data());
    const std::size_t n = line.size();
    const Guess guess = guessEncoding(in, n);
    if (guess == Guess::Sjis) {
        const void* nul = std::memchr(in, 0, n);
        out.append(line.substr(0, nul ? static_cast<const Byte*>(nul) - in : n));
        return;
    }
    if (guess == Guess::Jis) {
        const std::size_t plain = plainAsciiLength(in, n);
        if (plain == n || in[plain] == 0x00) {
            out.append(line.substr(0, plain));
            return;
        }
    }
    const std::size_t base = out.size();
    out.resize(base + n);
    auto* dest = reinterpret_cast<Byte*>(out.data() + base);
    const std::size_t length =
        guess == Guess::Jis ? decodeJis(in, n, dest) : decodeEuc(in, n, dest);
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
