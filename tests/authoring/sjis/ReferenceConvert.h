#pragma once
#include <string>
#include <string_view>

// A deliberately plain model of the line conversion: one byte at a time, the line changed in
// place, the JIS X 0208 pair computed from its row and cell every time. The real conversion
// takes short cuts (a word-at-a-time guess, a pair table, no copy); tests and the fuzz target
// compare the two on arbitrary bytes.
namespace tarnbook::testing {

inline std::string referenceConvertLineToSjis(std::string_view line) {
    using Byte = unsigned char;
    std::string s(line);
    auto at = [&s](std::size_t i) { return static_cast<Byte>(s[i]); };
    auto set = [&s](std::size_t i, int v) { s[i] = static_cast<char>(v); };
    auto inRange = [](int b) { return b >= 0x21 && b <= 0x7E; };
    auto pair = [&](std::size_t p, int j1, int j2) {
        const int d = (j1 - 0x21) * 94 + (j2 - 0x21);
        int lead = d / 188 + 0x81;
        if (lead > 0x9F) lead += 0x40;
        int trail = d % 188 + 0x40;
        if (trail > 0x7E) trail += 1;
        set(p, lead);
        set(p + 1, trail);
    };

    // The guess.
    std::size_t examined = 0;
    while (examined < s.size() && at(examined) != 0x00 && at(examined) != 0x1A &&
           at(examined) != '\r' && at(examined) != '\n') {
        ++examined;
    }
    int code = 0;
    bool kanaPrefixSeen = false;
    enum { None, Expect, Ok } kanaState = None;
    for (std::size_t i = 0; i < examined; ++i) {
        const Byte b = at(i);
        if (b < 0x80) continue;
        if (kanaState == Expect) kanaState = (b >= 0xA1 && b <= 0xDF) ? Ok : None;
        if (b == 0x8E) {
            kanaPrefixSeen = true;
            kanaState = Expect;
        }
        if (code == 0) code = 1;
        if (b < 0xA0 && b != 0x8E) code = 2;
    }
    if (code == 1) {
        for (std::size_t i = 0; i < examined; ++i) {
            if (at(i) >= 0x80) {
                if (i + 1 >= examined) code = 2;
                ++i;
            }
        }
        if (code == 1 && kanaPrefixSeen && kanaState == None) code = 2;
    }

    // The decoding, in place.
    bool kanji = false;
    bool kana = false;
    std::size_t p = 0;
    while (code != 2 && p < s.size()) {
        if (code == 0) {
            set(p, at(p) & 0x7F);
            const Byte b = at(p);
            if (b == 0x0E || b == 0x0F) {
                kana = b == 0x0E;
                kanji = false;
                s.erase(p, 1);
                continue;
            }
            if (b == 0x1B && p + 2 < s.size()) {
                set(p + 1, at(p + 1) & 0x7F);
                set(p + 2, at(p + 2) & 0x7F);
                const Byte c1 = at(p + 1);
                const Byte c2 = at(p + 2);
                bool matched = true;
                if (c1 == '$' && (c2 == '@' || c2 == 'B')) {
                    kanji = true;
                    kana = false;
                } else if (c1 == '(' && (c2 == 'B' || c2 == 'H' || c2 == 'J')) {
                    kanji = kana = false;
                } else if (c1 == '(' && c2 == 'I') {
                    kanji = false;
                    kana = true;
                } else {
                    matched = false;
                }
                if (matched) {
                    s.erase(p, 3);
                    continue;
                }
            }
            if (kanji) {
                if (inRange(b) && p + 1 < s.size() && inRange(at(p + 1))) {
                    pair(p, b, at(p + 1));
                    p += 2;
                } else {
                    ++p;
                }
                continue;
            }
            if (kana && b >= 0x21 && b <= 0x5F) set(p, b | 0x80);
            ++p;
        } else {
            const Byte b = at(p);
            if (b == 0x1B && p + 2 < s.size() && at(p + 1) == '(' &&
                (at(p + 2) == 'I' || at(p + 2) == 'J')) {
                kana = at(p + 2) == 'I';
                s.erase(p, 3);
                continue;
            }
            if (b == 0x0E || b == 0x0F) {
                kana = b == 0x0E;
                s.erase(p, 1);
                continue;
            }
            if (kana) {
                if (b >= 0x21 && b <= 0x5F) set(p, b | 0x80);
                ++p;
                continue;
            }
            if (b == 0x8E && p + 1 < s.size() && at(p + 1) >= 0xA1 && at(p + 1) <= 0xDF) {
                s.erase(p, 1);
                ++p;
                continue;
            }
            if (b >= 0xA1 && b <= 0xFE && p + 1 < s.size() && inRange(at(p + 1) & 0x7F)) {
                pair(p, b & 0x7F, at(p + 1) & 0x7F);
                p += 2;
                continue;
            }
            set(p, b & 0x7F);
            ++p;
        }
    }
    const std::size_t nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
    return s;
}

}  // namespace tarnbook::testing
