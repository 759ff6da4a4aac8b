#include <gtest/gtest.h>

#include "compile/BuildTestSupport.h"
#include "compile/SitemapWriter.h"

namespace tarnbook::testing {
namespace {

using compile::contentsFileText;
using compile::indexFileText;
using compile::splitKeywordText;

std::vector<std::string> split(const std::string& utf8) {
    std::vector<std::string> out;
    for (const auto& k : splitKeywordText(platform::utf8ToUtf16(utf8)))
        out.push_back(platform::utf16ToUtf8(k));
    return out;
}

using V = std::vector<std::string>;

// The lines after the common head (lines 1-5).
V body(const std::string& text) {
    V lines = platform::splitLines(text);
    EXPECT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[2], "<meta name=\"GENERATOR\" content=\"Tarnbook 2.4.0\">");
    return V(lines.begin() + 5, lines.end());
}

TEST(SplitKeywordText, CommasLineBreaksAndQuotes) {
    EXPECT_EQ(split("a, b"), (V{"a", " b"}));
    EXPECT_EQ(split("\"a,b\""), (V{"\"a,b\""}));
    EXPECT_EQ(split("x,'p, q',y"), (V{"x", "'p, q'", "y"}));
    EXPECT_EQ(split("a,,b,"), (V{"a", "b"}));
    EXPECT_EQ(split("one\r\ntwo\nthree\rfour"), (V{"one", "two", "three", "four"}));
    EXPECT_EQ(split("\"open, to the end"), (V{"\"open, to the end"}));
    EXPECT_EQ(split("日本語,索引"), (V{"日本語", "索引"}));
    EXPECT_TRUE(split("").empty());
    EXPECT_TRUE(split(",\r\n,").empty());
}

TEST(ContentsFile, WorkedExample) {
    BuildFixture f;
    f.add(nullptr, "A", "a.htm", 8);
    auto* b = f.add(nullptr, "B", "b.htm", 8);
    f.add(b, "C", "c.htm", 10, "x");
    const V expected = {
        "<OBJECT type=\"text/site properties\">",
        "<param name=\"ImageType\" value=\"Folder\">",
        "<param name=\"Window Styles\" value=\"0x800025\">",
        "</OBJECT><UL>",
        "\t\t<LI><OBJECT type=\"text/sitemap\">",
        "\t\t<param name=\"Name\" value=\"A\">",
        "\t\t<param name=\"Local\" value=\"_RESOURCE\\a.htm\">",
        "\t\t<param name=\"ImageNumber\" value=\"9\">",
        "\t\t</OBJECT>",
        "\t\t<LI><OBJECT type=\"text/sitemap\">",
        "\t\t<param name=\"Name\" value=\"B\">",
        "\t\t<param name=\"Local\" value=\"_RESOURCE\\b.htm\">",
        "\t\t<param name=\"ImageNumber\" value=\"9\">",
        "\t\t</OBJECT>",
        "\t\t\t<UL>",
        "",
        "\t\t\t<LI><OBJECT type=\"text/sitemap\">",
        "\t\t\t<param name=\"Name\" value=\"C\">",
        "\t\t\t<param name=\"Local\" value=\"_RESOURCE\\c.htm#x\">",
        "\t\t\t<param name=\"ImageNumber\" value=\"11\">",
        "\t\t\t</OBJECT>",
        "</UL>",
        "</UL>",
        "</BODY></HTML>",
    };
    const std::string text = contentsFileText(f.ws);
    EXPECT_EQ(body(text), expected);
    EXPECT_EQ(text.substr(text.size() - 16), "</BODY></HTML>\r\n");
}

TEST(ContentsFile, ListsCloseWithIndentsAndAfterADeepLastNode) {
    BuildFixture f;
    auto* a = f.add(nullptr, "A", "", 0);
    auto* b = f.add(a, "B", "", 0);
    f.add(b, "C", "c.htm");
    f.add(nullptr, "D", "d.htm");
    auto* e = f.add(nullptr, "E", "", 0);
    auto* g = f.add(e, "F", "", 0);
    f.add(g, "G", "g.htm");
    const V lines = body(contentsFileText(f.ws));
    // From level 2 back to 0: two lines, indents 4 and 2, then an empty line.
    const std::string c = "\t\t\t\t</OBJECT>";
    auto at = std::find(lines.begin(), lines.end(), c);
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), "\t\t\t\t</UL>");
    EXPECT_EQ(*(at + 2), "\t\t</UL>");
    EXPECT_EQ(*(at + 3), "");
    EXPECT_EQ(*(at + 4), "\t\t<LI><OBJECT type=\"text/sitemap\">");
    // A heading without a page has no Local line and ImageNumber 1.
    EXPECT_EQ(lines[5], "\t\t<param name=\"Name\" value=\"A\">");
    EXPECT_EQ(lines[6], "\t\t<param name=\"ImageNumber\" value=\"1\">");
    // The last node lies at level 2: three unindented closing lines.
    const V tail(lines.end() - 5, lines.end());
    EXPECT_EQ(tail, (V{"\t\t\t\t</OBJECT>", "</UL>", "</UL>", "</UL>", "</BODY></HTML>"}));
}

TEST(ContentsFile, WebLinkNodesAndCutFields) {
    BuildFixture f;
    f.set("NodeLines", "1");
    f.set("OneClick", "1");
    f.set("NodeSquare", "0");
    f.add(nullptr, "Site", "http://example.com/", 12);
    f.add(nullptr, "Site part", "http://example.com/p.htm", 13, "top");
    const std::string longTitle = std::string(249, 'T') + "\x88\x9F";  // a double-byte char at 249
    f.add(nullptr, longTitle, "p.htm", 8, std::string(120, 'a'));
    const V lines = body(contentsFileText(f.ws));
    EXPECT_EQ(lines[2], "<param name=\"Window Styles\" value=\"0x800426\">");
    EXPECT_EQ(
        V(lines.begin() + 4, lines.begin() + 10),
        (V{"\t\t<LI><OBJECT type=\"text/sitemap\">", "\t\t<param name=\"Name\" value=\"Site\">",
           "<param name=\"Local\" value=\"http://example.com/\">",
           "\t\t<param name=\"WindowName\" value=\"$global_web\">",
           "\t\t<param name=\"ImageNumber\" value=\"13\">", "\t\t</OBJECT>"}));
    EXPECT_EQ(lines[12],
              "\t\t<param name=\"Local\" value=\"_RESOURCE\\http://example.com/p.htm#top\">");
    EXPECT_EQ(lines[13], "\t\t<param name=\"WindowName\" value=\"$global_web\">");
    EXPECT_EQ(lines[17], "\t\t<param name=\"Name\" value=\"" + std::string(249, 'T') + "\x88\">");
    EXPECT_EQ(lines[18], "\t\t<param name=\"Local\" value=\"_RESOURCE\\p.htm#" +
                             std::string(100, 'a') + "\">");
}

TEST(ContentsFile, MergeObjectsFollowTheClosedList) {
    BuildFixture f;
    f.add(nullptr, "A", "a.htm");
    f.set("Merge", "2");
    f.set("Merge1", "C:\\help\\One.chm");
    f.set("Merge2", "/x/Two.chm");
    const V lines = body(contentsFileText(f.ws));
    const V tail(lines.end() - 8, lines.end());
    EXPECT_EQ(tail, (V{"</UL>", "<OBJECT type=\"text/sitemap\">",
                       "<PARAM name=\"Merge\" value=\"One.chm::One.hhc\">", "</OBJECT>",
                       "<OBJECT type=\"text/sitemap\">",
                       "<PARAM name=\"Merge\" value=\"Two.chm::Two.hhc\">", "</OBJECT>",
                       "</BODY></HTML>"}));
}

TEST(IndexFile, KeywordsSubKeywordsAndAddedResources) {
    BuildFixture f;
    f.add(nullptr, "Two by two", "p.htm", 8, "sec", "k1,\"k,2\"", "s1,s2");
    f.add(nullptr, "No page", "", 0, "", "lost");
    f.add(nullptr, "No keyword", "q.htm", 8, "", "", "sub only");
    f.add(nullptr, "Japanese", "r.htm", 8, "", "索引");
    f.addResource(1, "_RESOURCE\\img\\a.gif", "\"Pic, one\"");
    f.addResource(2, "_RESOURCE\\img\\b.gif");
    const V expected = {
        "<UL>",
        "<LI><OBJECT type=\"text/sitemap\">",
        "<param name=\"Name\" value=\"k1\">",
        "<param name=\"Local\" value=\"_RESOURCE\\p.htm#sec\">",
        "</OBJECT>",
        "<UL>",
        "\t<LI><OBJECT type=\"text/sitemap\">",
        "\t<param name=\"Name\" value=\"s1\">",
        "\t<param name=\"Local\" value=\"_RESOURCE\\p.htm#sec\">",
        "\t</OBJECT>",
        "\t<LI><OBJECT type=\"text/sitemap\">",
        "\t<param name=\"Name\" value=\"s2\">",
        "\t<param name=\"Local\" value=\"_RESOURCE\\p.htm#sec\">",
        "\t</OBJECT>",
        "</UL>",
        "<LI><OBJECT type=\"text/sitemap\">",
        "<param name=\"Name\" value=\"k,2\">",
        "<param name=\"Local\" value=\"_RESOURCE\\p.htm#sec\">",
        "</OBJECT>",
        "<UL>",
        "\t<LI><OBJECT type=\"text/sitemap\">",
        "\t<param name=\"Name\" value=\"s1\">",
        "\t<param name=\"Local\" value=\"_RESOURCE\\p.htm#sec\">",
        "\t</OBJECT>",
        "\t<LI><OBJECT type=\"text/sitemap\">",
        "\t<param name=\"Name\" value=\"s2\">",
        "\t<param name=\"Local\" value=\"_RESOURCE\\p.htm#sec\">",
        "\t</OBJECT>",
        "</UL>",
        "<LI><OBJECT type=\"text/sitemap\">",
        "<param name=\"Name\" value=\"" + platform::utf8ToCp932("索引") + "\">",
        "<param name=\"Local\" value=\"_RESOURCE\\r.htm\">",
        "</OBJECT>",
        "<LI><OBJECT type=\"text/sitemap\">",
        "<param name=\"Name\" value=\"\"Pic, one\"\">",
        "<param name=\"Local\" value=\"_RESOURCE\\img\\a.gif\">",
        "</OBJECT>",
        "</UL>",
        "</BODY></HTML>",
    };
    EXPECT_EQ(body(indexFileText(f.ws)), expected);
}

TEST(IndexFile, WebLinkNodesNameTheirAddress) {
    BuildFixture f;
    f.add(nullptr, "Site", "http://example.com/", 12, "", "web");
    const V lines = body(indexFileText(f.ws));
    EXPECT_EQ(lines[3], "<param name=\"Local\" value=\"http://example.com/\">");
}

TEST(Sitemaps, WrittenBesideTheProjectAndOnlyTheNodesCounted) {
    BuildFixture f;
    f.add(nullptr, "A", "a.htm", 8, "", "ka");
    f.add(nullptr, "B", "b.htm", 8, "", "kb");
    f.set("Count", "1");  // the project promises one node
    compile::writeIndexFile(f.ws);
    compile::writeContentsFile(f.ws);
    const std::string hhk = readBytes(f.inFolder("Help.hhk"));
    const std::string hhc = readBytes(f.inFolder("Help.hhc"));
    EXPECT_NE(hhk.find("ka"), std::string::npos);
    EXPECT_EQ(hhk.find("kb"), std::string::npos);
    EXPECT_EQ(hhc.find("b.htm"), std::string::npos);
}

}  // namespace
}  // namespace tarnbook::testing
