#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"

using namespace tarnbook::platform;

namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list) s += static_cast<char>(b);
    return s;
}

void expectRoundTrip(const std::string& in) {
    EXPECT_EQ(encodeCp932(decodeCp932(in)), in);
    EXPECT_EQ(utf8ToCp932(cp932ToUtf8(in)), in);
    EXPECT_EQ(utf8ToCp932(utf16ToUtf8(decodeCp932(in))), in);
}

}  // namespace

TEST(Cp932, EverySingleByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        expectRoundTrip(bytes({b}));
        all += static_cast<char>(b);
        all += ' ';  // never a trail byte, so no two bytes pair up by accident
    }
    expectRoundTrip(all);
}

TEST(Cp932, InvalidPairsRoundTripAsEscapes) {
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
        SCOPED_TRACE(lead);
        expectRoundTrip(bytes({lead}));              // lone lead at the end
        expectRoundTrip(bytes({lead, 0x7F, 'a'}));   // 0x7F is never a trail byte
        expectRoundTrip(bytes({lead, 0x0D, 0x0A}));  // a line break after a lead
        expectRoundTrip(bytes({'x', lead, 0xFD}));
    }
    // Row 0x85 is unassigned: the lead becomes an escape and the next byte stands alone.
    EXPECT_EQ(decodeCp932(bytes({0x85, 0x40})), (std::u16string{char16_t(0xDC85), u'@'}));
    EXPECT_EQ(decodeCp932(bytes({0x82})), std::u16string(1, char16_t(0xDC82)));
    EXPECT_EQ(decodeCp932(bytes({0xA0, 0xFF})),
              (std::u16string{char16_t(0xDCA0), char16_t(0xDCFF)}));
    expectRoundTrip(bytes({0x85, 0x40, 0xEB, 0x9F, 0x82}));
}

TEST(Cp932, EveryDoubleByteCharacterDecodesAndEncodesToTheSameCharacter) {
    int valid = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            std::string in = bytes({lead, trail});
            std::u16string u = decodeCp932(in);
            if (u.size() != 1) continue;
            ++valid;
            std::string back = encodeCp932(u);
            ASSERT_EQ(decodeCp932(back), u) << lead << " " << trail;
            EXPECT_EQ(utf8ToCp932(cp932ToUtf8(in)), back);
        }
    }
    EXPECT_GT(valid, 7000);
}

TEST(Cp932, KnownCharacters) {
    EXPECT_EQ(cp932ToUtf8("\x95\x5C\x8E\xA6"), "表示");
    EXPECT_EQ(utf8ToCp932("表示"), "\x95\x5C\x8E\xA6");
    EXPECT_EQ(decodeCp932("\\~"), u"\\~");
    EXPECT_EQ(cp932ToUtf8("\xB1"), "ｱ");  // half-width katakana
    // NEC and IBM duplicates decode alike and encode to one preferred code.
    EXPECT_EQ(decodeCp932("\x87\x90"), decodeCp932("\x81\xE0"));
    EXPECT_EQ(encodeCp932(decodeCp932("\x87\x90")), "\x81\xE0");
}

TEST(Cp932, UnrepresentableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToCp932("a¥b"), "a?b");  // never turned into a path separator
    EXPECT_EQ(utf8ToCp932("😀"), "?");
    EXPECT_EQ(encodeCp932(utf8ToUtf16("😀x")), "?x");
    EXPECT_EQ(utf8ToCp932("한"), "?");
}

TEST(Cp932, InvalidUtf8BytesTravelAsThemselves) {
    EXPECT_EQ(utf8ToUtf16("a\xC3"), (std::u16string{u'a', char16_t(0xDCC3)}));
    EXPECT_EQ(utf8ToCp932("\xFF\xC3"), "\xFF\xC3");
    // An encoded surrogate is not valid UTF-8 either.
    EXPECT_EQ(utf8ToUtf16("\xED\xB3\x80"),
              (std::u16string{char16_t(0xDCED), char16_t(0xDCB3), char16_t(0xDC80)}));
    EXPECT_EQ(utf16ToUtf8(utf8ToUtf16("é😀\xFF")), "é😀\xFF");
}

TEST(Cp932, CaseChangesLeaveTrailBytesAlone) {
    // 0x83 0x61 is a katakana whose trail byte is 'a'; 0x83 0x41 one whose trail is 'A'.
    EXPECT_EQ(upperCaseSjis("ab\x83\x61z"), "AB\x83\x61Z");
    EXPECT_EQ(lowerCaseSjis("AB\x83\x41Z"), "ab\x83\x41z");
    EXPECT_EQ(upperCaseSjis("x\x83"), "X\x83");  // lone lead at the end
}

TEST(Cp932, SearchAndReplaceOnlyAtCharacterBoundaries) {
    const std::string text = "\x95\x5C\\x\x95\x5C";  // 表 \ x 表
    EXPECT_EQ(findSjis(text, "\\"), 2u);
    EXPECT_EQ(findSjis(text, "\\", 3), std::string::npos);
    EXPECT_EQ(findSjis(text, "\x5C\x5C"), std::string::npos);
    EXPECT_EQ(replaceAllSjis(text, "\\", "/"), "\x95\x5C/x\x95\x5C");
    EXPECT_EQ(replaceAllSjis("aaa", "a", "bb"), "bbbbbb");
}
