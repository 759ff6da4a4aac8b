#include <gtest/gtest.h>

#include "maintenance/HtmlReferences.h"

namespace tarnbook::maintenance {
namespace {

std::string joined(const std::vector<HtmlReference>& refs) {
    std::string out;
    for (const auto& r : refs) out += (out.empty() ? "" : "|") + r.attribute + "=" + r.value;
    return out;
}

TEST(HtmlReferences, ReadsOnlyAttributesOfStartTags) {
    struct Case {
        const char* html;
        const char* expected;
    };
    const Case cases[] = {
        {R"(<a href="a.htm">x</a>)", "href=a.htm"},
        {R"(<IMG SRC='b.gif' ALT="it's">)", "src=b.gif"},
        {"<body background=c.gif bgcolor=#fff>", "background=c.gif"},
        {"<a href = \"d.htm\"\n title=x>", "href=d.htm"},
        {"<img src=e.gif/>", "src=e.gif/"},
        {"<img src=\"f.gif\"/><br/>", "src=f.gif"},
        {"source=x.gif and href=\"y.htm\" in prose", ""},
        {"<!-- <img src=\"old.gif\"> --><img src=\"new.gif\">", "src=new.gif"},
        {"<script src=\"s.js\">var s='<img src=\"no.gif\">';</script><img src=yes.gif>",
         "src=s.js|src=yes.gif"},
        {"<style>p{background:url(bg.gif)} a[href=\"x\"]{}</STYLE><a href=z.htm>",
         "url=bg.gif|href=z.htm"},
        {"<p style=\"background: url(&quot;q.gif&quot;)\">", "url=q.gif"},
        {"<!DOCTYPE html><?xml src=\"p.gif\"?></a href=\"q.htm\">", ""},
        {"<img data-src=\"lazy.gif\" srcset=\"a.gif 2x\" src=\"real.gif\">", "src=real.gif"},
        {"<a href=\"p.htm?a=1&amp;b=2\" title='&lt;'>", "href=p.htm?a=1&b=2"},
        {"<a href=\"&#112;&#x2E;htm\">", "href=p.htm"},
        {"<a href=\"  spaced.htm \">", "href=spaced.htm"},
        {"<a href>bare</a><a href=\"\">empty</a>", "href="},
        {"1 < 2 and <3 <a href=ok.htm>", "href=ok.htm"},
        {"<a href=\"never-closed.htm>", "href=never-closed.htm>"},
        {"<img src=", ""},
        {"<", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(joined(htmlReferences(c.html)), c.expected) << c.html;
}

TEST(HtmlReferences, CountsLinesAndKeepsDoubleByteValues) {
    // 0x95 0x5C is one CP932 character whose trail byte is a backslash.
    const std::string html = "<p>\r\n<img\nsrc=\"\x95\x5C.gif\">\n\n<a href='x.htm'>";
    const auto refs = htmlReferences(html);
    ASSERT_EQ(refs.size(), 2u);
    EXPECT_EQ(refs[0].value, "\x95\x5C.gif");
    EXPECT_EQ(refs[0].line, 3u);
    EXPECT_EQ(refs[1].line, 5u);
}

TEST(HtmlReferences, StyleSheetUrlsSkipCommentsAndCountLines) {
    const std::string css =
        "@import \"base.css\";\n/* url(old.gif) */ p { background: url( 'a b.gif' ) }\n"
        "@import url(more.css) screen;\nq{list-style:URL(dot.gif)}";
    const auto refs = cssReferences(css);
    std::string seen;
    for (const auto& r : refs) seen += r.value + "@" + std::to_string(r.line) + " ";
    EXPECT_EQ(seen, "base.css@1 a b.gif@2 more.css@3 dot.gif@4 ");
    // A style block's lines continue those of the page.
    const auto inPage = htmlReferences("<p>\n<style>\n\nb{background:url(x.gif)}</style>");
    ASSERT_EQ(inPage.size(), 1u);
    EXPECT_EQ(inPage[0].line, 4u);
}

}  // namespace
}  // namespace tarnbook::maintenance
