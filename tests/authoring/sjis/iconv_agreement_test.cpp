// Checks the line conversion against iconv(3) on generated Japanese text and on every
// JIS X 0208 character.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "IconvCodec.h"
#include "authoring/SjisConvert.h"

using tarnbook::authoring::convertLineToSjis;
using tarnbook::testing::IconvCodec;

namespace {

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
        out += ' ';
    }
    return out;
}

// Every assigned JIS X 0208 kanji (rows 16-84), as UTF-8, taken from iconv's EUC-JP table.
std::vector<std::string> allKanji() {
    IconvCodec toUtf8("EUC-JP", "UTF-8");
    std::vector<std::string> kanji;
    for (int row = 0x30; row <= 0x74; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            const std::string euc{static_cast<char>(row | 0x80), static_cast<char>(cell | 0x80)};
            if (auto utf8 = toUtf8.convert(euc)) kanji.push_back(*utf8);
        }
    }
    return kanji;
}

// Lines of help-page-like Japanese: kanji words and random kanji of both levels, hiragana,
// katakana, half-width katakana, ASCII (markup included), punctuation and the symbol rows.
std::vector<std::string> makeJapaneseLines(std::size_t count, bool halfWidthKana) {
    static const std::vector<std::string> kanjiWords = {
        "日本語", "変換", "文字", "設定", "表示", "項目", "作成", "目次", "検索", "索引",
        "画面",   "編集", "保存", "印刷", "東京", "漢字", "情報", "機能", "操作", "説明",
        "使用",   "場合", "必要", "選択", "入力", "出力", "開始", "終了", "確認", "削除",
        "追加",   "変更", "見出", "本文", "参照", "関連", "鬱蒼", "薔薇", "齟齬", "蠢"};
    static const std::vector<std::string> hiragana = {
        "これは", "です",     "ます", "ください",   "について",   "あります", "します", "ように",
        "ことが", "できます", "ので", "から",       "まで",       "を",       "に",     "は",
        "が",     "の",       "と",   "ぁぃぅぇぉ", "っゃゅょゎ", "ゐゑ",     "ゞ"};
    static const std::vector<std::string> katakana = {
        "ヘルプ",         "ファイル", "プロジェクト", "コンテンツ", "ウィンドウ",
        "ボタン",         "メニュー", "ツールバー",   "キーワード", "テンプレート",
        "スタイルシート", "ヴァ",     "ヵヶ",         "ページ"};
    static const std::vector<std::string> halfWidth = {"ﾍﾙﾌﾟ",  "ﾌｧｲﾙ",  "ｶﾀｶﾅ", "ﾃｽﾄ",
                                                       "ｱｲｳｴｵ", "｡｢｣､･", "ｰﾞﾟ",  "ｯ"};
    static const std::vector<std::string> ascii = {
        "HTML",       "Help",    " ", "version 1.2", "<BR>", "&amp;", "http://example.com/a.html",
        "\"quoted\"", "(a+b)*c", "~", "\\",          "{x}",  "#1",    "\t"};
    static const std::vector<std::string> symbols = {
        "、", "。", "「", "」",     "（",     "）",     "・", "★",  "○", "◆", "※",  "→",
        "〒", "々", "ー", "！",     "？",     "：",     "＆", "〜", "―", "‖", "￥", "＄",
        "％", "＃", "＠", "＊",     "¶",      "†",      "‡",  "Å",  "‰", "α", "Ω",  "Д",
        "ж",  "┌",  "╋",  "ＡＢＣ", "ｘｙｚ", "１２３", "〓", "∵",  "≒"};
    static const std::vector<std::string> kanji = allKanji();

    std::mt19937 random(20240601);
    auto pick = [&random](const std::vector<std::string>& pool) -> const std::string& {
        return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
    };
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i) {
        std::string line;
        const int tokens = std::uniform_int_distribution<int>(1, 18)(random);
        for (int t = 0; t < tokens; ++t) {
            switch (std::uniform_int_distribution<int>(0, halfWidthKana ? 7 : 6)(random)) {
                case 0:
                    line += pick(kanjiWords);
                    break;
                case 1:
                    line += pick(kanji);
                    break;
                case 2:
                    line += pick(hiragana);
                    break;
                case 3:
                    line += pick(katakana);
                    break;
                case 4:
                    line += pick(ascii);
                    break;
                case 5:
                    line += pick(symbols);
                    break;
                case 6:
                    line += pick(hiragana) + pick(kanji);
                    break;
                default:
                    line += pick(halfWidth);
                    break;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

// A Shift_JIS line with a byte in 0x80-0x9F other than 0x8E cannot be EUC-JP, so it is
// always recognised. Lines whose high bytes all lie at 0xA0 and above (half-width katakana,
// lead bytes 0xE0 and up) are ambiguous with EUC-JP; the guess then prefers EUC-JP, so such
// Shift_JIS input is not returned unchanged. That is the guess working as designed.
bool unmistakablyShiftJis(const std::string& cp932) {
    for (unsigned char c : cp932) {
        if (c >= 0x80 && c <= 0x9F && c != 0x8E) return true;
    }
    return false;
}

bool hasHighByte(const std::string& bytes) {
    for (unsigned char c : bytes) {
        if (c >= 0x80) return true;
    }
    return false;
}

void expectAgreement(const std::vector<std::string>& lines, const char* jisEncoding) {
    IconvCodec toCp932("UTF-8", "CP932");
    IconvCodec toEuc("UTF-8", "EUC-JP");
    IconvCodec toJis("UTF-8", jisEncoding);
    std::size_t shiftJisChecked = 0;
    for (const auto& line : lines) {
        const auto cp932 = toCp932.convert(line);
        const auto euc = toEuc.convert(line);
        const auto jis = toJis.convert(line);
        ASSERT_TRUE(cp932 && euc && jis) << "iconv rejects the generated line " << line;

        EXPECT_EQ(hex(convertLineToSjis(*euc)), hex(*cp932)) << "EUC-JP line: " << line;
        EXPECT_EQ(hex(convertLineToSjis(*jis)), hex(*cp932)) << jisEncoding << " line: " << line;
        if (unmistakablyShiftJis(*cp932) || !hasHighByte(*cp932)) {
            EXPECT_EQ(hex(convertLineToSjis(*cp932)), hex(*cp932)) << "CP932 line: " << line;
            ++shiftJisChecked;
        }
    }
    // Ordinary Japanese text is nearly always unmistakable (hiragana and most kanji have
    // lead bytes 0x81-0x9F); keep the generated text that way.
    EXPECT_GT(shiftJisChecked, lines.size() * 9 / 10);
}

}  // namespace

TEST(IconvAgreement, GeneratedTextInAllThreeEncodings) {
    expectAgreement(makeJapaneseLines(3000, /*halfWidthKana=*/false), "ISO-2022-JP");
}

// ISO-2022-JP proper has no half-width katakana; iconv's ISO-2022-JP-3 writes them after
// ESC ( I, and JIS X 0208 characters after ESC $ B as usual.
TEST(IconvAgreement, GeneratedTextWithHalfWidthKatakana) {
    const auto lines = makeJapaneseLines(1500, /*halfWidthKana=*/true);
    IconvCodec toJis3("UTF-8", "ISO-2022-JP-3");
    for (const auto& line : lines) {
        const auto jis = toJis3.convert(line);
        ASSERT_TRUE(jis);
        // Only the designations the conversion knows may appear; JIS X 0213 ones would not.
        ASSERT_EQ(jis->find("\x1B$("), std::string::npos) << line;
    }
    expectAgreement(lines, "ISO-2022-JP-3");
}

TEST(IconvAgreement, EveryJisX0208Character) {
    IconvCodec eucToCp932("EUC-JP", "CP932");
    int compared = 0;
    for (int row = 0x21; row <= 0x7E; ++row) {
        std::string eucRow;
        std::string jisRow = "\x1B$B";
        std::string expectedRow;
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            const std::string euc{static_cast<char>(row | 0x80), static_cast<char>(cell | 0x80)};
            const auto cp932 = eucToCp932.convert(euc);
            if (!cp932) continue;  // unassigned in JIS X 0208
            ++compared;
            const std::string jis =
                "\x1B$B" + std::string{static_cast<char>(row), static_cast<char>(cell)} + "\x1B(B";
            ASSERT_EQ(hex(convertLineToSjis(euc)), hex(*cp932)) << "EUC " << hex(euc);
            ASSERT_EQ(hex(convertLineToSjis(jis)), hex(*cp932)) << "JIS " << hex(jis);
            eucRow += euc;
            jisRow += static_cast<char>(row);
            jisRow += static_cast<char>(cell);
            expectedRow += *cp932;
        }
        // A whole row in one line: the pairs stay aligned from start to end.
        EXPECT_EQ(hex(convertLineToSjis(eucRow)), hex(expectedRow));
        EXPECT_EQ(hex(convertLineToSjis(jisRow + "\x1B(B")), hex(expectedRow));
    }
    EXPECT_EQ(compared, 6879);
}

// The extended EUC-JP variant (EUC-JP-MS) adds the special characters of row 13 (circled
// numbers, Roman numerals, ...). They convert to the same CP932 codes, except where CP932 has
// the character in row 2 as well and iconv prefers that code; ours keeps row 13, which CP932
// shows as the same character. (Its user-defined rows 85-94 are not compared: iconv moves
// them to CP932's user-defined area 0xF040-0xF9FC, while the conversion applies the JIS X 0208
// arithmetic to every row alike.)
TEST(IconvAgreement, Row13SpecialCharactersConvertToTheSameCharacters) {
    IconvCodec eucToCp932("EUC-JP-MS", "CP932");
    IconvCodec cp932ToUtf8("CP932", "UTF-8");
    int compared = 0;
    for (int cell = 0x21; cell <= 0x7E; ++cell) {
        const std::string euc{static_cast<char>(0xAD), static_cast<char>(cell | 0x80)};
        const auto viaIconv = eucToCp932.convert(euc);
        if (!viaIconv) continue;
        ++compared;
        const std::string ours = convertLineToSjis(euc);
        EXPECT_EQ(cp932ToUtf8.convert(ours), cp932ToUtf8.convert(*viaIconv)) << hex(euc);
    }
    EXPECT_GT(compared, 80);
}

// Outside JIS X 0208 the two part ways by design. EUC-JP writes JIS X 0212 characters (and
// CP932's extension kanji, in EUC-JP-MS) as three bytes after 0x8F; a byte below
// 0xA0 other than 0x8E marks the line as Shift_JIS, so it is left as it is rather than
// turned into wrong characters.
TEST(IconvAgreement, ThreeByteEucCharactersLeaveTheLineAlone) {
    IconvCodec toEucMs("UTF-8", "EUC-JP-MS");
    for (const char* text : {"髙橋さん", "丂です", "ⅰⅱⅲ"}) {
        const auto euc = toEucMs.convert(text);
        ASSERT_TRUE(euc);
        ASSERT_NE(euc->find('\x8F'), std::string::npos) << text;
        EXPECT_EQ(hex(convertLineToSjis(*euc)), hex(*euc)) << text;
    }
}
