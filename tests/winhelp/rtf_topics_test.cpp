#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "winhelp/RtfTopics.h"

namespace tarnbook::testing {
namespace {

using namespace tarnbook::winhelp;

std::u16string u(const char* utf8) {
    return platform::utf8ToUtf16(utf8);
}

RtfReadResult read(const std::string& body, int codePage = 932) {
    return readRtfTopics("{\\rtf1\\ansi " + body + "}", codePage, "t.rtf");
}

TEST(RtfTopics, EveryFootnoteKindAndTheMarksLeaveTheText) {
    const auto r = read(
        "{\\super #}{\\footnote {\\super #} IDH_ONE}"
        "#{\\footnote # IDH_TWO}"
        "${\\footnote $ Title one}"
        "K{\\footnote K alpha; beta ;;gamma, sub}"
        "A{\\footnote A link1;link2}"
        "+{\\footnote + seq:005}"
        "*{\\footnote * TAG}!{\\footnote ! Macro()}"
        "Body\\par\\page Second\\par");
    ASSERT_EQ(r.topics.size(), 2u);
    const Topic& t = r.topics[0];
    EXPECT_EQ(t.contextIds, (std::vector<std::string>{"IDH_ONE", "IDH_TWO"}));
    EXPECT_EQ(t.title, u"Title one");
    EXPECT_EQ(t.keywords, (std::vector<std::u16string>{u"alpha", u"beta", u"gamma, sub"}));
    EXPECT_EQ(t.alinks, (std::vector<std::u16string>{u"link1", u"link2"}));
    EXPECT_EQ(t.browse, u"seq:005");
    EXPECT_EQ(plainText(t.body), u"Body");
    EXPECT_TRUE(r.topics[1].contextIds.empty());
    EXPECT_EQ(plainText(r.topics[1].body), u"Second");
}

TEST(RtfTopics, HotTextFollowedByHiddenTextBecomesJumpOrPopup) {
    struct Case {
        const char* rtf;
        LinkKind kind;
        const char* target;
        const char* text;
    };
    const Case cases[] = {
        {"{\\uldb Go there}{\\v IDH_A}", LinkKind::Jump, "IDH_A", "Go there"},
        {"{\\strike Go}{\\v IDH_B>win}", LinkKind::Jump, "IDH_B>win", "Go"},
        {"{\\ul Term}{\\v IDH_C}", LinkKind::Popup, "IDH_C", "Term"},
        {"{\\uldb Plain}{\\v %IDH_D}", LinkKind::Jump, "IDH_D", "Plain"},
        {"\\uldb split {\\b bold}\\uldb0\\v IDH_E\\v0 after", LinkKind::Jump, "IDH_E",
         "split bold"},
        {"{\\uldb Other}{\\v IDH_F@other.hlp}", LinkKind::Jump, "IDH_F@other.hlp", "Other"},
        {"\\{button Go, JumpID(`x.hlp', IDH_G)\\}", LinkKind::Jump, "IDH_G", "[Go]"},
        {"\\{button , PI(, IDH_H)\\}", LinkKind::Popup, "IDH_H", ">>"},
        {"{\\strike Site}{\\v !ExecFile(\"http://example.org/\")}", LinkKind::Web,
         "http://example.org/", "Site"},
    };
    for (const Case& c : cases) {
        const auto r = read(std::string("x ") + c.rtf + "\\par");
        ASSERT_EQ(r.topics.size(), 1u) << c.rtf;
        std::u16string linked;
        for (const winhelp::Run& run : r.topics[0].body[0].runs) {
            if (run.link == LinkKind::None) continue;
            EXPECT_EQ(run.link, c.kind) << c.rtf;
            EXPECT_EQ(run.target, c.target) << c.rtf;
            linked += run.text;
        }
        EXPECT_EQ(linked, u(c.text)) << c.rtf;
        // Hidden text never shows.
        EXPECT_EQ(plainText(r.topics[0].body).find(u"IDH_"), std::u16string::npos) << c.rtf;
    }
}

TEST(RtfTopics, UnderlineWithoutHiddenTextStaysFormattingAndOtherMacrosLoseTheLinkLook) {
    const auto r = read("{\\ul under} and {\\uldb double}\\par {\\uldb m}{\\v !KLink(x)}\\par");
    const auto& first = r.topics[0].body[0].runs;
    for (const winhelp::Run& run : first) EXPECT_EQ(run.link, LinkKind::None);
    EXPECT_TRUE(first[0].format.underline);
    const winhelp::Run& macro = r.topics[0].body[1].runs.back();
    EXPECT_EQ(macro.link, LinkKind::None);
    EXPECT_FALSE(macro.format.hot());
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("KLink"), std::string::npos);
}

TEST(RtfTopics, CodePagesFromFontsAnsicpgAndEscapes) {
    struct Case {
        std::string rtf;
        int defaultCodePage;
        const char* text;
    };
    const Case cases[] = {
        // Shift_JIS bytes as escapes, the document's code page.
        {"\\ansicpg932 \\'82\\'a0\\'82\\'a2", 1252, "あい"},
        // A Shift_JIS pair split over an escape and a raw byte.
        {"\\ansicpg932 \\'82"
         "\xa0",
         1252, "あ"},
        // The font's character set wins over the document's code page.
        {"\\ansicpg932{\\fonttbl{\\f1\\fcharset0 Arial;}}\\f1 caf\\'e9", 932, "café"},
        {"{\\fonttbl{\\f0\\fcharset204 Arial Cyr;}}\\f0 \\'c4\\'e0", 932, "Да"},
        // No code page given: the project's.
        {"\\'93\\'fa", 932, "日"},
        // \u with its fallback character skipped; \uc2 skips two.
        {"\\u8364?x\\uc2\\u26085\\'93\\'fay", 932, "€x日y"},
        {"\\u-3?", 932, "\xEF\xBF\xBD"},
        {"a\\~b\\emdash c\\{d\\}", 932,
         "a\xC2\xA0"
         "b—c{d}"},
        // Symbol fonts hold glyph numbers: Wingdings check mark, Symbol Greek and arrow.
        {"{\\fonttbl{\\f2\\fnil\\fcharset2 Wingdings;}{\\f3\\ftech Symbol;}}"
         "{\\f2 \\'fc}{\\f3 a\\'ae}x",
         932, "✓α→x"},
    };
    for (const Case& c : cases) {
        const auto r = read(c.rtf + "\\par", c.defaultCodePage);
        ASSERT_EQ(r.topics.size(), 1u) << c.rtf;
        EXPECT_EQ(platform::utf16ToUtf8(plainText(r.topics[0].body)), c.text) << c.rtf;
    }
}

TEST(RtfTopics, BitmapReferencesInEveryPlacementAndInsideAJump) {
    const auto r = read(
        "\\{bmc a.bmp\\} \\{bml B.SHG\\}\\{bmrt c.bmp\\}{\\uldb \\{bmc d.bmp\\}}{\\v IDH_D}"
        "\\{ewc x.dll, c, d\\}\\{not a picture\\}\\par");
    ASSERT_EQ(r.topics.size(), 1u);
    std::vector<std::pair<char, std::string>> pictures;
    for (const winhelp::Run& run : r.topics[0].body[0].runs)
        if (run.imagePlacement) pictures.emplace_back(run.imagePlacement, run.imageFile);
    EXPECT_EQ(pictures, (std::vector<std::pair<char, std::string>>{
                            {'c', "a.bmp"}, {'l', "B.SHG"}, {'r', "c.bmp"}, {'c', "d.bmp"}}));
    EXPECT_EQ(r.topics[0].body[0].runs[4].link, LinkKind::Jump);
    EXPECT_NE(plainText(r.topics[0].body).find(u"{not a picture}"), std::u16string::npos);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("ewc"), std::string::npos);
}

TEST(RtfTopics, TablesParagraphFormatsAndSkippedDestinations) {
    const auto r = read(
        "{\\stylesheet{\\s1 Heading;}}{\\info{\\title T}}{\\*\\generator W;}"
        "\\pard\\qc Centred\\par\\trowd\\cellx100\\pard\\intbl a\\cell b\\cell\\row\\pard "
        "after\\par");
    ASSERT_EQ(r.topics.size(), 1u);
    const auto& body = r.topics[0].body;
    ASSERT_EQ(body.size(), 5u);
    EXPECT_EQ(body[0].align, 'c');
    EXPECT_EQ(body[1].kind, Block::Kind::CellEnd);
    EXPECT_EQ(body[2].kind, Block::Kind::CellEnd);
    EXPECT_EQ(body[3].kind, Block::Kind::RowEnd);
    EXPECT_FALSE(body[4].inTable);
    EXPECT_EQ(plainText(body), u"Centred\na\nb\nafter");
}

TEST(RtfTopics, DamagedInputGivesWarningsNotACrash) {
    struct Case {
        std::string rtf;
        const char* warning;
    };
    const Case cases[] = {
        {"plain text", "not an RTF file"},
        {"{\\rtf1 unclosed {\\b group", "unclosed"},
        {"{\\rtf1 a}}}b", "without its '{'"},
        {"{\\rtf1 " + std::string(300, '{') + "x" + std::string(300, '}') + "}", "too deeply"},
        {"{\\rtf1 \\bin999999999 ", "unclosed"},
        {"{\\rtf1 \\'", "unclosed"},
        {"{\\rtf1 \\ansicpg77777 \\'e9}", "77777"},
    };
    for (const Case& c : cases) {
        const auto r = readRtfTopics(c.rtf, 932, "bad.rtf");
        bool found = false;
        for (const auto& w : r.warnings) found = found || w.find(c.warning) != std::string::npos;
        EXPECT_TRUE(found) << c.rtf.substr(0, 40);
    }
}

}  // namespace
}  // namespace tarnbook::testing
