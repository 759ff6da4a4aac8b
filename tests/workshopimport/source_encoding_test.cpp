#include <gtest/gtest.h>

#include "sitemap/SourceEncoding.h"
#include "workshopimport/WorkshopFiles.h"

namespace {

using namespace tarnbook::sitemap;

struct DecisionCase {
    const char* what;
    std::string bytes;
    const char* charset;
    std::optional<unsigned> lcid;
    SourceEncoding encoding;
    EncodingBasis basis;
};

class Decisions : public testing::TestWithParam<DecisionCase> {};

TEST_P(Decisions, FollowBomCharsetUtf8LanguageThenValidity) {
    const DecisionCase& c = GetParam();
    const EncodingDecision d = decideEncoding(c.bytes, c.charset, c.lcid);
    EXPECT_EQ(d.encoding, c.encoding) << c.what;
    EXPECT_EQ(d.basis, c.basis) << c.what;
}

const std::string kSjis = "\x93\xFA\x96\x7B\x8C\xEA";         // 日本語
const std::string kGbk = "\xD0\xB4\xD4\xDA\xC7\xB0\xC3\xE6";  // 写在前面 (not Shift_JIS)
const std::string kUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC";         // 日本

const DecisionCase kCases[] = {
    {"UTF-8 BOM beats a Japanese LCID", "\xEF\xBB\xBF" + kSjis, "", 0x411, SourceEncoding::Utf8,
     EncodingBasis::ByteOrderMark},
    {"UTF-16 BOM", std::string("\xFF\xFE<\0", 4), "", std::nullopt, SourceEncoding::Utf16Le,
     EncodingBasis::ByteOrderMark},
    {"declared charset that fits", kGbk, "gb2312", 0x411, SourceEncoding::Gbk,
     EncodingBasis::DeclaredCharset},
    {"declared charset that does not fit is ignored", kGbk, "shift_jis", 0x804, SourceEncoding::Gbk,
     EncodingBasis::LanguageId},
    {"plain ASCII needs no conversion", "<UL></UL>", "", 0x409, SourceEncoding::ShiftJis,
     EncodingBasis::Validity},
    {"valid UTF-8 without BOM beats a Japanese LCID", kUtf8, "", 0x411, SourceEncoding::Utf8,
     EncodingBasis::ValidUtf8},
    {"Chinese LCID", kGbk, "", 0x804, SourceEncoding::Gbk, EncodingBasis::LanguageId},
    {"Japanese LCID for text that is also valid GBK", kSjis, "", 0x411, SourceEncoding::ShiftJis,
     EncodingBasis::LanguageId},
    {"English LCID gives Latin-1", "caf\xE9", "", 0x809, SourceEncoding::Latin1,
     EncodingBasis::LanguageId},
    {"no hint: Shift_JIS first", kSjis, "", std::nullopt, SourceEncoding::ShiftJis,
     EncodingBasis::Validity},
    {"no hint, not Shift_JIS: EUC-JP before GBK", "\xC6\xFC\xCB\xDC", "", std::nullopt,
     SourceEncoding::EucJp, EncodingBasis::Validity},
    {"Korean LCID", "\xC7\xD1\xB1\xDB", "", 0x412, SourceEncoding::Cp949,
     EncodingBasis::LanguageId},
};

INSTANTIATE_TEST_SUITE_P(Encoding, Decisions, testing::ValuesIn(kCases));

TEST(SourceEncoding, DecodesEachFormAndFindsTheLanguageAndCharset) {
    EXPECT_EQ(decodeSource("\xEF\xBB\xBFx", SourceEncoding::Utf8).text, "x");
    EXPECT_EQ(decodeSource(kSjis, SourceEncoding::ShiftJis).text, kSjis);
    EXPECT_EQ(decodeSource(kSjis, SourceEncoding::ShiftJis).form, TextForm::Cp932);
    EXPECT_EQ(decodeSource(kGbk, SourceEncoding::Gbk).text, "写在前面");
    EXPECT_EQ(decodeSource("\x80\xE9", SourceEncoding::Latin1).text, "€é");
    // A damaged UTF-16 text keeps what is readable.
    EXPECT_EQ(decodeSource(std::string("\xFF\xFEh\0i\0\x00", 7), SourceEncoding::Utf16Le).text,
              "hi\xEF\xBF\xBD");
    EXPECT_EQ(parseLanguageId("0x411 日本語"), 0x411u);
    EXPECT_EQ(parseLanguageId(" 0x0809 English"), 0x809u);
    EXPECT_EQ(parseLanguageId("1041"), 1041u);
    EXPECT_EQ(parseLanguageId("Japanese"), std::nullopt);
    using tarnbook::workshopimport::declaredCharset;
    EXPECT_EQ(declaredCharset("<meta content=\"text/html; CHARSET=GB2312\">"), "gb2312");
    EXPECT_EQ(declaredCharset("<meta charset='utf-8'>"), "utf-8");
    EXPECT_EQ(declaredCharset("no declaration"), "");
}

}  // namespace
