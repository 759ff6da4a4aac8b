#include <gtest/gtest.h>

#include <string>

#include "sitemap/SitemapReader.h"

using namespace tarnbook::sitemap;

namespace {

// The tree as "Name(child,child),Name"; an entry without a Name shows its kind.
std::string shape(const std::vector<Entry>& list) {
    std::string out;
    for (const Entry& e : list) {
        if (!out.empty()) out += ',';
        if (const std::string* n = e.value("Name"))
            out += *n;
        else
            out += e.kind == EntryKind::Merge ? "<merge>" : "<noname>";
        if (!e.children.empty()) out += "(" + shape(e.children) + ")";
    }
    return out;
}

struct LayoutCase {
    const char* what;
    const char* text;
    const char* shape;
    std::size_t warnings;
};

class Layouts : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layouts, GiveTheNestingAsWritten) {
    const LayoutCase& c = GetParam();
    const Sitemap s = readSitemap(c.text, TextForm::Utf8);
    EXPECT_EQ(shape(s.entries), c.shape) << c.what;
    EXPECT_EQ(s.warnings.size(), c.warnings) << c.what;
}

constexpr LayoutCase kLayouts[] = {
    {"our own writer's layout",
     "<HTML><HEAD></HEAD><BODY>\r\n<UL>\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n"
     "<param name=\"Name\" value=\"A\">\r\n</OBJECT>\r\n<UL>\r\n<LI> <OBJECT "
     "type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"B\">\r\n</OBJECT>\r\n</UL>\r\n"
     "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"C\">\r\n</OBJECT>\r\n"
     "</UL>\r\n</BODY></HTML>\r\n",
     "A(B),C", 0},
    {"all on one line, lower case, no wrapper",
     "<ul><li><object type=\"text/sitemap\"><param name=\"name\" value=\"A\"></object><ul><li>"
     "<object type=\"TEXT/SITEMAP\"><param name=\"name\" value=\"B\"></object></ul></ul>",
     "A(B)", 0},
    {"tags and attributes spread over lines",
     "<UL\n><LI><OBJECT\n type=\"text/sitemap\"\n><param\nname=\"Name\"\nvalue=\"A\"\n>"
     "</OBJECT\n></UL>",
     "A", 0},
    {"body before head, comments, doctype",
     "<!DOCTYPE HTML><BODY><HEAD><!-- <UL><param name=\"Name\" value=\"X\"> --></HEAD>"
     "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"></OBJECT></UL>",
     "A", 0},
    {"merge object outside any list",
     "<OBJECT type=\"text/sitemap\"><param name=\"Merge\" value=\"x.chm::/x.hhc\"></OBJECT>"
     "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"></OBJECT></UL>",
     "<merge>,A", 0},
    {"a list right inside a list has no parent entry: its entries move up",
     "<UL><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"></OBJECT>"
     "</UL><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\"></OBJECT>"
     "</UL></UL>",
     "A(B)", 1},
    {"missing </OBJECT> before the next item and the list end",
     "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\"><LI>"
     "<OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\"></UL>",
     "A,B", 2},
    {"stray </UL> and </OBJECT>, lists left open",
     "</UL></OBJECT><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
     "</OBJECT><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\">"
     "</OBJECT>",
     "A(B)", 3},
    {"unquoted and single-quoted values, extra attributes",
     "<UL><LI><OBJECT type=text/sitemap><param name=Name value=A><param name='ID' value=1>"
     "</OBJECT><LI><OBJECT type='text/sitemap'><param name='Name' value='B' x></OBJECT></UL>",
     "A,B", 0},
    {"object of another type and a nameless one",
     "<UL><LI><OBJECT type=\"application/x-oleobject\"></OBJECT><LI><OBJECT "
     "type=\"text/sitemap\"><param name=\"Local\" value=\"a.htm\"></OBJECT></UL>",
     "<noname>,<noname>", 0},
    {"a quote that never closes stops at the end of its tag",
     "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A>\n"
     "<param name=\"Local\" value=\"a.htm\"></OBJECT></UL>",
     "A", 1},
    {"a tag that lost its '>'",
     "<UL><LI><OBJECT type=\"text/sitemap\"<param name=\"Name\" value=\"A\"></OBJECT></UL>", "A",
     1},
    {"a stray '<' in text and an empty input", "a < b <UL></UL> <", "", 0},
};

INSTANTIATE_TEST_SUITE_P(Sitemap, Layouts, testing::ValuesIn(kLayouts));

TEST(SitemapReader, KeepsEveryParamInOrderAndDecodesReferences) {
    const Sitemap s = readSitemap(
        "<OBJECT type=\"text/site properties\"><param name=\"ImageType\" value=\"Folder\">"
        "</OBJECT><UL><LI><OBJECT type=\"text/sitemap\">"
        "<param name=\"Name\" value=\"Tom &amp; Jerry &lt;1&gt; &#x263A; &#65; &bogus; & x\">"
        "<param name=\"Name\" value=\"Second\"><param name=\"Local\" value=\"a\\b/../c.htm#x\">"
        "<param name=\"Keyword\" value=\"k\"><param name=\"See Also\" value=\"other\">"
        "<param name=\"Local\" value=\"https://example.org/?a=1&amp;b=2\"></OBJECT></UL>",
        TextForm::Utf8);
    ASSERT_EQ(s.properties.size(), 1u);
    EXPECT_EQ(s.properties[0].name, "ImageType");
    ASSERT_EQ(s.entries.size(), 1u);
    const Entry& e = s.entries[0];
    EXPECT_EQ(e.params.size(), 6u);
    EXPECT_EQ(*e.value("name"), "Tom & Jerry <1> \u263A A &bogus; & x");
    EXPECT_EQ(e.values("NAME"), (std::vector<std::string>{*e.value("Name"), "Second"}));
    EXPECT_EQ(e.values("Local"),
              (std::vector<std::string>{"a\\b/../c.htm#x", "https://example.org/?a=1&b=2"}));
    EXPECT_EQ(*e.value("see also"), "other");
    EXPECT_EQ(*e.value("KEYWORD"), "k");
    EXPECT_EQ(e.value("ImageNumber"), nullptr);
}

TEST(SitemapReader, Cp932FormKeepsBytesAndEncodesOnlyWhatItCanHold) {
    // "表" (0x95 0x5C) has '\' as its trail byte; &#12354; is "あ"; U+263A has no CP932 code.
    const Sitemap s = readSitemap(
        "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
        "value=\"\x95\x5C&#12354;&#x263A;\"></OBJECT></UL>",
        TextForm::Cp932);
    ASSERT_EQ(s.entries.size(), 1u);
    EXPECT_EQ(*s.entries[0].value("Name"), "\x95\x5C\x82\xA0&#x263A;");
}

TEST(SitemapReader, FindsTheDeclaredCharsetAndWarnsWithLineNumbers) {
    const Sitemap s = readSitemap(
        "<HTML>\n<HEAD><META http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=GB2312\">\n</HEAD>\n<param name=\"Name\" value=\"x\">\n",
        TextForm::Utf8);
    EXPECT_EQ(s.charset, "gb2312");
    ASSERT_EQ(s.warnings.size(), 1u);
    EXPECT_EQ(s.warnings[0].line, 4u);
    EXPECT_EQ(readSitemap("<meta charset='utf-8'>", TextForm::Utf8).charset, "utf-8");
}

TEST(SitemapReader, FlattensNestingBeyondItsDepthLimitInsteadOfOverflowing) {
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"n\"></OBJECT>";
    const Sitemap s = readSitemap(text, TextForm::Utf8);
    EXPECT_EQ(s.countEntries(), 100000u);
    std::size_t depth = 0;
    for (const Entry* e = &s.entries.at(0); !e->children.empty(); e = &e->children.back()) ++depth;
    EXPECT_LE(depth, 300u);
}

}  // namespace
