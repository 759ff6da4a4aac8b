#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "ReferenceConvert.h"
#include "authoring/SjisConvert.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

using tarnbook::authoring::convertLineToSjis;
using tarnbook::authoring::convertPageToSjis;
using tarnbook::authoring::convertTextToSjis;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

const std::string kEscKanji = "\x1B$B";
const std::string kEscAscii = "\x1B(B";

// Hiragana "a" and the first level-1 kanji in the three encodings.
const std::string kEucA = bytes({0xA4, 0xA2});
const std::string kEucKanji = bytes({0xB0, 0xA1});
const std::string kSjisA = bytes({0x82, 0xA0});
const std::string kSjisKanji = bytes({0x88, 0x9F});

}  // namespace

TEST(ConvertLine, AsciiAndEmptyLinesComeBackUnchanged) {
    EXPECT_EQ(convertLineToSjis(""), "");
    const std::string ascii = "<P>Plain text, 100% & \"quoted\" ~\\{}</P>\t";
    EXPECT_EQ(convertLineToSjis(ascii), ascii);
}

TEST(ConvertLine, IsoJisEscapesSelectKanjiKanaAndAscii) {
    // The first kanji, both escape sequences removed.
    EXPECT_EQ(convertLineToSjis(kEscKanji + "\x30\x21" + kEscAscii), kSjisKanji);
    // ESC $ @ (the older designation) and ESC ( J (JIS Roman) work the same way.
    EXPECT_EQ(convertLineToSjis("a\x1B$@\x30\x21\x24\x22\x1B(Jb"), "a" + kSjisKanji + kSjisA + "b");
    // Half-width katakana after ESC ( I and between SO and SI.
    EXPECT_EQ(convertLineToSjis("\x1B(I\x31\x32\x1B(Bx"), bytes({0xB1, 0xB2}) + "x");
    EXPECT_EQ(convertLineToSjis("x\x0E\x31\x5F\x0Fy"), "x" + bytes({0xB1, 0xDF}) + "y");
    // A line that ends still in kanji mode.
    EXPECT_EQ(convertLineToSjis(kEscKanji + "\x30\x21\x24\x22"), kSjisKanji + kSjisA);
    // An escape sequence the conversion does not know is kept as text.
    EXPECT_EQ(convertLineToSjis("\x1B$A\x30\x21"), "\x1B$A\x30\x21");
}

TEST(ConvertLine, IsoJisKanjiModeStepsOverBytesThatAreNoRow) {
    // A space between kanji is kept, and the pairs after it stay aligned.
    EXPECT_EQ(convertLineToSjis(kEscKanji + "\x30\x21 \x30\x21" + kEscAscii),
              kSjisKanji + " " + kSjisKanji);
    // A row byte with no cell byte after it is kept rather than paired with what follows
    // (or with whatever lies past the end of the line).
    EXPECT_EQ(convertLineToSjis(kEscKanji + "\x30\x21\x30"), kSjisKanji + "\x30");
    EXPECT_EQ(convertLineToSjis(kEscKanji + "\x30 x"), "\x30 x");
}

TEST(ConvertLine, EucPairsAndHalfWidthKatakana) {
    EXPECT_EQ(convertLineToSjis(kEucKanji), kSjisKanji);
    EXPECT_EQ(convertLineToSjis(kEucA), kSjisA);
    EXPECT_EQ(convertLineToSjis(bytes({0x8E, 0xB1})), bytes({0xB1}));
    EXPECT_EQ(
        convertLineToSjis("<b>" + kEucA + bytes({0x8E, 0xB1, 0x8E, 0xDF}) + "</b>" + kEucKanji),
        "<b>" + kSjisA + bytes({0xB1, 0xDF}) + "</b>" + kSjisKanji);
    // Kana shifted in by SO inside an EUC-JP line.
    EXPECT_EQ(convertLineToSjis(kEucA + "\x0E\x31\x0F" + "1"), kSjisA + bytes({0xB1}) + "1");
}

TEST(ConvertLine, GuessTakesAmbiguousOrBrokenLinesAsShiftJis) {
    // A byte in 0x80-0x9F other than 0x8E cannot be EUC-JP.
    const std::string sjis = "a" + kSjisKanji + kSjisA + "b";
    EXPECT_EQ(convertLineToSjis(sjis), sjis);
    // High bytes that do not pair up: the last one has no partner.
    const std::string odd = kEucA + bytes({0xB1});
    EXPECT_EQ(convertLineToSjis(odd), odd);
    // 0x8E whose next high byte is no half-width katakana byte.
    const std::string notKana = bytes({0x8E, 0xE0, 0xA4, 0xA2});
    EXPECT_EQ(convertLineToSjis(notKana), notKana);
    // An even number of Shift_JIS half-width katakana looks like EUC-JP and is paired.
    EXPECT_EQ(convertLineToSjis(bytes({0xB1, 0xB2})), bytes({0x89, 0x51}));
}

TEST(ConvertLine, OnlyThePartBeforeSubCrOrLfIsGuessedButAllIsConverted) {
    // Nothing high before the 0x1A: ISO-2022-JP rules, which clear the high bits after it.
    EXPECT_EQ(convertLineToSjis("a\x1A" + kEucKanji), "a\x1A\x30\x21");
    // EUC-JP before the 0x1A: the pair after it is converted too.
    EXPECT_EQ(convertLineToSjis(kEucA + "\x1A" + kEucKanji), kSjisA + "\x1A" + kSjisKanji);
    // A line break ends the guessed part: the lone high byte before it makes it Shift_JIS.
    const std::string broken = bytes({0xB0}) + "\r\n" + bytes({0xA1});
    EXPECT_EQ(convertLineToSjis(broken), broken);
}

TEST(ConvertLine, ResultEndsAtTheFirstNul) {
    EXPECT_EQ(convertLineToSjis(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(convertLineToSjis(kEucA + std::string("\0", 1) + kEucKanji), kSjisA);
    EXPECT_EQ(convertLineToSjis(kEscKanji + std::string("\x30\0\x21", 3)), "\x30");
    EXPECT_EQ(convertLineToSjis(kSjisKanji + std::string("\0", 1) + kSjisA), kSjisKanji);
    // 0x80 after the guessed part loses its high bit and so ends the result as well.
    EXPECT_EQ(convertLineToSjis("ab\x1A\x80zz"), "ab\x1A");
    EXPECT_EQ(convertLineToSjis(std::string("\0", 1)), "");
    // Also while half-width katakana are shifted in.
    EXPECT_EQ(convertLineToSjis(kEucA + "\x0E\x31" + std::string("\0", 1) + "\x31"),
              kSjisA + bytes({0xB1}));
    EXPECT_EQ(convertLineToSjis("\x1B(I\x31" + std::string("\0", 1) + "\x31"), bytes({0xB1}));
}

// Random lines made mostly of the bytes the rules look at, against the plain model.
TEST(ConvertLine, AgreesWithThePlainModelOnRandomLines) {
    static const int alphabet[] = {0x1B, '$',  '(',  'B',  '@',  'I',  'J',  'H',  0x0E, 0x0F, 0x1A,
                                   '\r', '\n', 0x00, 0x8E, 0x80, 0x8F, 0x9F, 0xA0, 0xA1, 0xB0, 0xDF,
                                   0xE0, 0xFE, 0xFF, 0x21, 0x30, 0x5F, 0x7E, 0x7F, ' ',  'a'};
    std::mt19937 random(4711);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int i = 0; i < 200000; ++i) {
        std::string line;
        const int length = std::uniform_int_distribution<int>(0, 40)(random);
        const bool euc = i % 3 == 0;  // a third made of high bytes mostly, to get past the guess
        for (int k = 0; k < length; ++k) {
            const int roll = anyByte(random);
            if (euc && roll < 160) {
                line += static_cast<char>(0xA1 + roll % 0x5E);
            } else {
                line += static_cast<char>(roll < 200 ? alphabet[pick(random)] : anyByte(random));
            }
        }
        ASSERT_EQ(convertLineToSjis(line), tarnbook::testing::referenceConvertLineToSjis(line))
            << "line bytes: " << ::testing::PrintToString(line);
    }
}

TEST(ConvertText, EveryLineConvertedAndEndedWithCrLf) {
    const std::string text = kEucA + "\r\n" + kEscKanji + "\x30\x21\n\nplain\r" + kSjisKanji;
    EXPECT_EQ(convertTextToSjis(text),
              kSjisA + "\r\n" + kSjisKanji + "\r\n\r\nplain\r\n" + kSjisKanji + "\r\n");
    EXPECT_EQ(convertTextToSjis(""), "");
}

TEST(ConvertText, PiecesSplitAnywhereGiveTheSameResult) {
    const std::string text =
        "a" + kEucA + "\r\n\r\n" + kEscKanji + "\x30\x21\rx\n" + kEucKanji + "\r";
    const std::string whole = convertTextToSjis(text);
    for (std::size_t cut1 = 0; cut1 <= text.size(); ++cut1) {
        for (std::size_t cut2 = cut1; cut2 <= text.size(); ++cut2) {
            std::string out;
            tarnbook::authoring::SjisTextConverter converter(
                [&out](std::string_view block) { out.append(block); });
            converter.feed(std::string_view(text).substr(0, cut1));
            converter.feed(std::string_view(text).substr(cut1, cut2 - cut1));
            converter.feed(std::string_view(text).substr(cut2));
            converter.finish();
            ASSERT_EQ(out, whole) << "cut at " << cut1 << " and " << cut2;
        }
    }
}

class ConvertPage : public ::testing::Test {
  protected:
    std::string convert(const std::string& content, bool flag) {
        const std::string source = dir_.file("page.html");
        tarnbook::testing::writeBytes(source, content);
        const std::string temp = convertPageToSjis(source, flag);
        EXPECT_EQ(std::filesystem::path(temp).filename().string().rfind("QLT", 0), 0u) << temp;
        const std::string result = tarnbook::testing::readBytes(temp);
        tarnbook::platform::deleteFile(temp);
        return result;
    }
    tarnbook::testing::TempDir dir_;
};

TEST_F(ConvertPage, EucPageIsDeclaredAndWrittenAsShiftJis) {
    const std::string page =
        "<HTML><HEAD>\n"
        "<META http-equiv=\"Content-Type\" content=\"text/html; charset=euc-jp\">\n"
        "<TITLE>" +
        kEucKanji +
        "</TITLE></HEAD>\n"
        "<BODY>" +
        kEucA + "</BODY></HTML>";
    EXPECT_EQ(convert(page, true),
              "<HTML><HEAD>\r\n"
              "<META http-equiv=\"Content-Type\" content=\"text/html; charset=shift-jis\">\r\n"
              "<TITLE>" +
                  kSjisKanji +
                  "</TITLE></HEAD>\r\n"
                  "<BODY>" +
                  kSjisA + "</BODY></HTML>\r\n");
}

TEST_F(ConvertPage, DeclarationInCapitalsIsRewrittenToo) {
    EXPECT_EQ(convert("<meta content=\"text/html; CHARSET=EUC-JP\">" + kEucA, true),
              "<meta content=\"text/html; charset=shift-jis\">" + kSjisA + "\r\n");
}

TEST_F(ConvertPage, DeclarationIsNotMatchedInsideADoubleByteCharacter) {
    // 0x82 0x63 is one character; the "c" is its trail byte, not the start of "charset".
    const std::string line =
        "\x82"
        "charset=euc-jp" +
        kSjisKanji;
    EXPECT_EQ(convert(line, true), line + "\r\n");
}

TEST_F(ConvertPage, WithoutTheFlagLinesAreCopiedUnchanged) {
    const std::string page = "charset=euc-jp\n" + kEucA + "\r\n";
    EXPECT_EQ(convert(page, false), "charset=euc-jp\r\n" + kEucA + "\r\n");
}

TEST_F(ConvertPage, MissingSourceThrows) {
    EXPECT_THROW(convertPageToSjis(dir_.file("absent.html"), true), tarnbook::platform::IoError);
}
