#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "folderimport/PageFilters.h"
#include "support/TempDir.h"

using namespace tarnbook::folderimport;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {

struct LineCase {
    const char* in;
    const char* out;  // equal to `in` when the line must keep its bytes
};

TEST(PageFilters, ScriptsAreDisabledOnlyWhereTheirTagIsOnTheLine) {
    const std::vector<LineCase> cases = {
        {"<script src=\"a.js\"></script>", "<script src=\"a.jss\"></script>"},
        {"<SCRIPT SRC=\"Menu.JS\"></SCRIPT>", "<SCRIPT SRC=\"Menu.JSs\"></SCRIPT>"},
        {"<script src=\"a.js\"></script><script src=\"b.js\">",
         "<script src=\"a.jss\"></script><script src=\"b.jss\">"},
        {"see file.js here", "see file.js here"},  // no script tag
        {"<a href=x onMouseOver=\"f()\" onmouseout=\"g()\">",
         "<a href=x _onMouseOver=\"f()\" _onmouseout=\"g()\">"},
        {"<img onmouseover=\"f()\">", "<img onmouseover=\"f()\">"},  // not an anchor line
        {"<p>Plain Text, Mixed Case</p>", "<p>Plain Text, Mixed Case</p>"},
    };
    for (const LineCase& c : cases) {
        std::string line = c.in;
        const bool changed = disableScriptsInLine(line);
        EXPECT_EQ(line, c.out) << c.in;
        EXPECT_EQ(changed, std::string(c.in) != c.out) << c.in;
    }
}

TEST(PageFilters, EachListedUrlIsNeutralisedOncePerOccurrence) {
    const std::vector<std::string> urls = {"http://ads.example.com", "tracker.test"};
    const std::vector<LineCase> cases = {
        {"<a href=\"http://ads.example.com/x\">", "<a href=\"_http://ads.example.com/x\">"},
        {"<A HREF=\"HTTP://Ads.Example.com\">", "<A HREF=\"_HTTP://Ads.Example.com\">"},
        // An anchor and an image on one line: still one mark per occurrence.
        {"<a href=\"http://tracker.test\"><img src=\"http://tracker.test/p.gif\"></a>",
         "<a href=\"http://_tracker.test\"><img src=\"http://_tracker.test/p.gif\"></a>"},
        {"<img src=\"http://ads.example.com/b.png\">",
         "<img src=\"_http://ads.example.com/b.png\">"},
        {"text http://ads.example.com", "text http://ads.example.com"},  // no tag
        {"<a href=\"other.htm\">", "<a href=\"other.htm\">"},
    };
    for (const LineCase& c : cases) {
        std::string line = c.in;
        EXPECT_EQ(neutraliseUrlsInLine(line, urls), std::string(c.in) != c.out) << c.in;
        EXPECT_EQ(line, c.out) << c.in;
    }
}

struct PageCase {
    const char* name;
    std::string bytes;
    PageConversions conversions;
    std::string expected;
};

TEST(PageFilters, PagesInOtherJapaneseEncodingsBecomeShiftJis) {
    // "日本" in EUC-JP, ISO-2022-JP and Shift_JIS.
    const std::string euc = "\xC6\xFC\xCB\xDC";
    const std::string jis = "\x1B$BF|K\\\x1B(B";
    const std::string sjis = "\x93\xFA\x96\x7B";
    PageConversions toSjis;
    toSjis.toSjis = true;
    PageConversions everything = toSjis;
    everything.killScripts = true;
    everything.urlFilters = {"bad.example"};
    const std::vector<PageCase> cases = {
        {"euc", "<meta charset=EUC-JP>\n<p>" + euc + "</p>\n", toSjis,
         "<meta charset=shift-jis>\r\n<p>" + sjis + "</p>\r\n"},
        {"iso2022", "<p>" + jis + "</p>\r\n", toSjis, "<p>" + sjis + "</p>\r\n"},
        {"all",
         "<title>" + euc + "</title>\n<script src=x.js></script>\n<a href=http://bad.example>\n",
         everything,
         "<title>" + sjis +
             "</title>\r\n<script src=x.jss></script>\r\n<a href=http://_bad.example>\r\n"},
    };
    TempDir dir;
    for (const PageCase& c : cases) {
        const std::string path = dir.file(std::string(c.name) + ".htm");
        writeBytes(path, c.bytes);
        const auto out = convertPage(path, c.conversions);
        ASSERT_TRUE(out.has_value()) << c.name;
        EXPECT_EQ(*out, c.expected) << c.name;
    }
    const std::string plain = dir.file("plain.htm");
    writeBytes(plain, "<p>" + euc + "</p>\n");
    EXPECT_FALSE(convertPage(plain, PageConversions{}).has_value())
        << "with no conversion chosen the page is copied as it is";
}

}  // namespace
