#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "winhelp/ContentsPlan.h"
#include "winhelp/HpjConversion.h"
#include "winhelp/MapMerge.h"
#include "winhelp/TopicPage.h"

namespace tarnbook::testing {
namespace {

using namespace tarnbook::winhelp;

std::u16string u(const char* utf8) {
    return platform::utf8ToUtf16(utf8);
}

bool contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

TEST(TopicPage, TextIsEscapedAndWhatShiftJisLacksIsANumericReference) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"a<b>&\"c\"", "a&lt;b&gt;&amp;&quot;c&quot;"},
        {"  two  blanks", "&nbsp;&nbsp;two &nbsp;blanks"},
        {"line\nbreak\ttab", "line<br>break&nbsp;&nbsp;&nbsp;&nbsp;tab"},
        {"日本語", "日本語"},
        {"€ é 😀", "&#8364; &#233; &#128512;"},
        {"ctl\x01", "ctl"},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::cp932ToUtf8(htmlText(u(c.in))), c.out) << c.in;
}

TEST(TopicPage, LinksGroupTheirRunsAndUnknownTargetsStayText) {
    Topic t;
    t.title = u("T");
    Block b;
    auto run = [](const char* text, LinkKind kind, const char* target, bool bold = false) {
        winhelp::Run r;
        r.text = platform::utf8ToUtf16(text);
        r.link = kind;
        r.target = target;
        r.format.bold = bold;
        r.format.doubleUnderline = kind == LinkKind::Jump;
        return r;
    };
    b.runs = {run("go ", LinkKind::Jump, "A"), run("bold", LinkKind::Jump, "A", true),
              run(" and ", LinkKind::None, ""), run("lost", LinkKind::Jump, "NOWHERE"),
              run(" pop", LinkKind::Popup, "P")};
    t.body.push_back(b);
    PageLinks links;
    links.link = [](const std::string& target, LinkKind) -> std::optional<LinkTarget> {
        if (target == "A") return LinkTarget{"a.htm", {}};
        if (target == "P") return LinkTarget{"p.htm", u"say 'hi'\n\\"};
        return std::nullopt;
    };
    std::vector<std::string> warnings;
    const std::string page = renderTopicPage(t, links, &warnings);
    EXPECT_TRUE(contains(page, "<p><a href=\"a.htm\">go <b>bold</b></a> and lost<a href="));
    EXPECT_TRUE(contains(page, "TextPopup('say \\'hi\\'\\n\\\\','',9,9,-1,-1)\"> pop</a>"));
    EXPECT_TRUE(contains(page, "<OBJECT id=\"hhctrlP\""));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(contains(warnings[0], "NOWHERE"));
}

TEST(ContentsPlan, ContentsFileLevelsThatJumpHangUnderTheLastNode) {
    std::vector<Topic> topics(2);
    topics[0].contextIds = {"A"};
    topics[1].contextIds = {"B", "B2"};
    CntFile cnt;
    cnt.entries = {{3, false, "deep", "A", "", "", false},
                   {1, true, "book", "", "", "", false},
                   {4, false, "b", "b2", "", "", false},
                   {2, false, "again", "A", "", "", false},
                   {2, false, "gone", "X", "", "", false}};
    const auto plan = planContents(
        topics, &cnt,
        [](const std::string& id) {
            if (id == "A") return 0;
            if (id == "B" || id == "b2") return 1;
            return -1;
        },
        [](const std::string& s) { return platform::decodeCp932(s); });
    ASSERT_EQ(plan.nodes.size(), 5u);
    const int levels[] = {0, 0, 1, 1, 1};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(plan.nodes[i].level, levels[i]) << i;
    EXPECT_EQ(plan.nodes[2].contextId, "B");  // the topic's own ID, not the entry's spelling
    EXPECT_EQ(plan.nodes[3].contextId, "");   // the page's ID stays with its first node
    EXPECT_EQ(plan.nodes[4].topic, -1);
    ASSERT_EQ(plan.warnings.size(), 1u);
    EXPECT_TRUE(contains(plan.warnings[0], "unknown topic X"));
    EXPECT_EQ(plan.topicInContents, (std::vector<bool>{true, true}));
}

TEST(MapMerge, NewIdsAppendedExistingOnesKeptConflictsReported) {
    const auto r = mergeMapDefinitions("// mine\r\n#define A 1\r\n#define b 0x2\r\n",
                                       {{"a", 1}, {"B", 3}, {"C", 4}}, {"", "", "Title C"});
    EXPECT_EQ(r.lines, (std::vector<std::string>{"// mine", "#define A 1", "#define b 0x2",
                                                 "// Title C", "#define C 4"}));
    EXPECT_EQ(r.added, 1u);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_TRUE(contains(r.warnings[0], "B is defined as 2"));
}

TEST(HpjConversion, PageNamesAndCodePages) {
    EXPECT_EQ(safePageBase("IDH_Main-1.x"), "IDH_Main-1.x");
    EXPECT_EQ(safePageBase("a b/c\\d:e"), "a_b_c_d_e");
    EXPECT_EQ(safePageBase("..\\..\\x"), "_._.._x");
    EXPECT_EQ(safePageBase("con"), "_con");
    EXPECT_EQ(safePageBase("LPT1.txt"), "_LPT1.txt");
    EXPECT_EQ(safePageBase(std::string(100, 'x')).size(), 60u);

    struct Case {
        int lcid, charset, codePage;
    };
    const Case cases[] = {{0, -1, 932},      {0x411, -1, 932}, {0x809, -1, 1252},
                          {0x419, -1, 1251}, {0x804, -1, 936}, {0x404, -1, 950},
                          {0x409, 128, 932}, {0x411, 0, 1252}, {0x412, -1, 949}};
    for (const Case& c : cases) {
        HpjProject p;
        p.lcid = c.lcid;
        p.charset = c.charset;
        EXPECT_EQ(codePageOfProject(p), c.codePage) << c.lcid << " " << c.charset;
    }
}

}  // namespace
}  // namespace tarnbook::testing
