#include <gtest/gtest.h>

#include "webexport/HtmlScanner.h"

namespace tarnbook::webexport {
namespace {

std::string describe(std::string_view html) {
    std::string out;
    for (const HtmlToken& t : scanHtml(html)) {
        switch (t.kind) {
            case HtmlToken::Kind::Text:
                out += "T(" + std::string(html.substr(t.begin, t.end - t.begin)) + ")";
                break;
            case HtmlToken::Kind::StartTag:
                out += "<" + t.name;
                for (const auto& a : t.attributes)
                    out += " " + a.name + (a.hasValue ? "=" + a.value : "");
                out += ">";
                break;
            case HtmlToken::Kind::EndTag:
                out += "</" + t.name + ">";
                break;
            case HtmlToken::Kind::Comment:
                out += "C";
                break;
            case HtmlToken::Kind::Declaration:
                out += "D";
                break;
        }
    }
    return out;
}

TEST(HtmlScanner, ReadsPagesAsTheyAreWritten) {
    const struct {
        const char* html;
        const char* expected;
    } cases[] = {
        {"<A HREF=a.htm>x</A>", "<a href=a.htm>T(x)</a>"},
        {"<img src='b c.gif' ALT=\"&lt;&#x41;&amp;\">", "<img src=b c.gif alt=<A&>"},
        {"<OBJECT id=hhctrlR type=\"x\"classid=\"clsid:1\">",
         "<object id=hhctrlR type=x classid=clsid:1>"},
        {"a < b <3 <!-- <p> --> c",
         "T(a < b <3 )C"
         "T( c)"},
        {"<script>if (a<b) document.write('</p>')</script>x",
         "<script>T(if (a<b) document.write('</p>'))</script>T(x)"},
        {"<STYLE>p{}</Style>", "<style>T(p{})</style>"},
        {"<p class=x", "<p class=x>"},
        {"<!-- never closed <a href=x>", "C"},
        {"<!DOCTYPE html><?xml version='1.0'?><br/>", "DD<br>"},
        {"<input checked disabled=>", "<input checked disabled=>"},
        {"&#0;&#xD800;&bogus;&amp", "T(&#0;&#xD800;&bogus;&amp)"},
    };
    for (const auto& c : cases) EXPECT_EQ(describe(c.html), c.expected) << c.html;
}

TEST(HtmlScanner, TokensCoverTheInputWithoutGaps) {
    const std::string html = "x<a b='1' c=2 d>y</a><!--z--><? ?>\n<p";
    std::size_t pos = 0;
    for (const HtmlToken& t : scanHtml(html)) {
        EXPECT_EQ(t.begin, pos);
        pos = t.end;
    }
    EXPECT_EQ(pos, html.size());
}

TEST(HtmlScanner, AttributeSpansNameTheValueAsWritten) {
    const std::string html = R"(<a href="x.htm" title='t' name=n>)";
    const auto tokens = scanHtml(html);
    ASSERT_EQ(tokens.size(), 1u);
    const auto& a = tokens[0].attributes;
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(html.substr(a[0].valueBegin, a[0].valueEnd - a[0].valueBegin), "\"x.htm\"");
    EXPECT_EQ(html.substr(a[1].valueBegin, a[1].valueEnd - a[1].valueBegin), "'t'");
    EXPECT_EQ(html.substr(a[2].valueBegin, a[2].valueEnd - a[2].valueBegin), "n");
}

}  // namespace
}  // namespace tarnbook::webexport
