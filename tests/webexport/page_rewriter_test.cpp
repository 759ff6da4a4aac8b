#include <gtest/gtest.h>

#include <map>

#include "webexport/PageRewriter.h"

namespace tarnbook::webexport {
namespace {

const std::string kControl =
    R"(type="application/x-oleobject"classid="clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11"codebase="hhctrl.ocx" width="10" height="10")";

PageContext fakeContext() {
    PageContext c;
    c.rootPrefix = "../";
    c.rewriteUrl = [](std::string_view url) -> std::optional<std::string> {
        static const std::map<std::string, std::string, std::less<>> known{
            {"a.htm", "a.htm"},
            {"C:\\PRJ\\_RESOURCE\\sub\\b.htm", "sub/b.htm"},
            {"ms-its:Sample.chm::/_RESOURCE/c.htm#x", "../c.htm#x"},
            {"pic.gif", "pic.gif"},
            {"Pic.GIF", "pic.gif"}};
        auto it = known.find(url);
        if (it == known.end()) return std::nullopt;
        return it->second;
    };
    c.keywordTopics = [](bool alink, std::string_view keyword) {
        std::vector<TopicLink> out;
        if (alink && keyword == "Named") out.push_back({"Named page", "../n.htm"});
        if (!alink && keyword == "Setup") out.push_back({"Setup <1>", "../s.htm"});
        if (!alink && keyword == "Other") out.push_back({"Other", "../o.htm"});
        return out;
    };
    return c;
}

struct Case {
    const char* name;
    std::string page;
    std::vector<std::string> present;
    std::vector<std::string> absent;
    std::size_t notes = 0;
};

TEST(PageRewriter, ControlObjectsBecomeWorkingHtml) {
    const Case cases[] = {
        {"related topics",
         "<!-- Related Link :) --><OBJECT id=hhctrlR " + kControl +
             R"(><param name="Command" value="Related Topics, MENU"><PARAM name="Button" value="Text:関連トピック"><param name="Item1" value="A;a.htm"><param name="Item2" value="B;C:\PRJ\_RESOURCE\sub\b.htm"><param name="Item3" value="Gone;C:\PRJ\_RESOURCE\gone.htm"><PARAM name="Font" value="Helvetica,12,,,PLAIN"></OBJECT><!-- end -->)",
         {R"(<p class="tb-links-title">関連トピック</p>)", R"(<li><a href="a.htm">A</a></li>)",
          R"(<li><a href="sub/b.htm">B</a></li>)", "<li>Gone</li>", R"(id="tbc-hhctrlR")"},
         {"<OBJECT", "hhctrl.ocx"}},
        {"klink with two keywords, one unknown",
         "<OBJECT id=hhctrlK " + kControl +
             R"(><param name="Command" value="KLink, MENU"><PARAM name="Button" value="Text:Links"><PARAM name="Item1" value=""><param name="Item2" value="Setup;Nothing;Other"></OBJECT>)",
         {R"(<a href="../s.htm">Setup &lt;1&gt;</a>)", R"(<a href="../o.htm">Other</a>)",
          ">Links</p>"},
         {"<OBJECT"}},
        {"alink without matches says so",
         "<OBJECT id=hhctrlA " + kControl +
             R"(><param name="Command" value="ALink"><PARAM name="Button" value="Icon:a.ico"><PARAM name="Item1" value=""><param name="Item2" value="Missing"></OBJECT>)",
         {"tb-links-none"},
         {"<OBJECT"}},
        {"keyword objects vanish",
         R"(<head><!-- A Link Key :) --><Object type="application/x-oleobject" classid="clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e"><param name="ALink Name" value="Named"><PARAM name="Flags" value=",,1"></OBJECT><!-- end --></head>)",
         {},
         {"<Object", "ALink Name"}},
        {"shortcut, close, version and splash go with a note",
         "<OBJECT id=hhctrlX " + kControl +
             R"(><param name="Command" value="ShortCut"><PARAM name="Button" value="Bitmap:shortcut"><PARAM name="Item1" value=",notepad.exe,"></OBJECT>)"
             "<OBJECT id=hhctrlI " +
             kControl +
             R"(><param name="Command" value="Close"><PARAM name="Button" value="Text:閉じる"></OBJECT>)"
             "<OBJECT id=hhctrlV " +
             kControl +
             R"(><param name="Command" value="HH Version"><PARAM name="Text" value="Text:v"></OBJECT>)"
             "<OBJECT id=hhctrlS " +
             kControl +
             R"(><param name="Command" value="Splash"><PARAM name="Item1" value="_RESOURCE\s.gif"></OBJECT>)",
         {"<!-- ショートカット", "<!-- 「ヘルプを閉じる」", "<!-- HHCtrl.ocx", "<!-- スプラッシュ"},
         {"<OBJECT", "notepad.exe"},
         4},
        {"text popups become pop-overs",
         R"(<head><!-- TextPopup :) --><OBJECT id="hhctrlP" )" + kControl +
             R"(></OBJECT><!-- end --></head><p><script>FFace="Helvetica,12,,bold"</script><A href=javascript:id=hhctrlP.TextPopup("one\ntwo &amp; three",FFace,9,9,10,10)>see</A></p>)",
         {R"(<a href="#tbp-1" class="tb-popup-link" data-popup="tbp-1">see</A>)",
          R"(<span class="tb-popup" id="tbp-1" role="tooltip">one<br>two &amp; three</span>)"},
         {"FFace", "javascript:", "<OBJECT"}},
        {"a script link that pressed a control jumps to its list",
         "<OBJECT id=hhctrlR " + kControl +
             R"~(><param name="Command" value="Related Topics"><param name="Item1" value="A;a.htm"></OBJECT><a href="JavaScript:hhctrlR.Click()">more</a>)~",
         {R"(<a href="#tbc-hhctrlR">more</a>)"},
         {"JavaScript:"}},
        {"links, pictures and style urls point at the exported files",
         R"~(<a href="ms-its:Sample.chm::/_RESOURCE/c.htm#x">c</a><img src=Pic.GIF><div style="background:url('pic.gif')"><a href="http://example.com/">e</a><a href="#top">t</a><a href="missing.htm">m</a>)~",
         {R"(<a href="../c.htm#x">)", R"(<img src="pic.gif">)", "url('pic.gif')",
          R"(href="http://example.com/")", R"(href="#top")", R"(href="missing.htm")"},
         {"ms-its:", "Pic.GIF"}},
    };
    for (const Case& c : cases) {
        const RewrittenPage out = rewritePage(c.page, fakeContext());
        for (const auto& p : c.present)
            EXPECT_NE(out.html.find(p), std::string::npos) << c.name << ": no " << p << "\n"
                                                           << out.html;
        for (const auto& a : c.absent)
            EXPECT_EQ(out.html.find(a), std::string::npos) << c.name << ": still " << a << "\n"
                                                           << out.html;
        EXPECT_EQ(out.notes.size(), c.notes) << c.name;
    }
}

TEST(PageRewriter, CharsetBecomesUtf8AndTheSiteIsLinkedIn) {
    const struct {
        const char* name;
        std::string page;
        std::string charsetBefore;  // the text the declaration must come before
    } cases[] = {
        {"html4 page",
         "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<HTML><HEAD>\n"
         "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
         "<TITLE>t</TITLE></HEAD><BODY>x</BODY></HTML>",
         "<TITLE>"},
        {"html5 meta", "<html><head><meta charset=\"shift_jis\"><title>t</title></head></html>",
         "<title>"},
        {"no head", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><html><body>x</body></html>",
         "<body>"},
        {"bare fragment", "<p>only text</p>", "<p>"},
    };
    for (const auto& c : cases) {
        const std::string html = rewritePage(c.page, fakeContext()).html;
        const std::size_t meta = html.find("charset=utf-8");
        ASSERT_NE(meta, std::string::npos) << c.name;
        EXPECT_EQ(html.find("charset=", meta + 1), std::string::npos) << c.name << html;
        EXPECT_EQ(html.find("Shift_JIS"), std::string::npos) << c.name;
        EXPECT_LT(meta, html.find(c.charsetBefore)) << c.name << html;
        EXPECT_NE(html.find(R"(href="../_tarnbook/site.css")"), std::string::npos) << c.name;
        EXPECT_NE(html.find(R"(src="../_tarnbook/site.js")"), std::string::npos) << c.name;
        EXPECT_LT(html.find("site.js"),
                  html.find("</body>") == std::string::npos ? html.size() : html.find("</body>"));
    }
}

TEST(PageRewriter, TheChosenStyleSheetComesAfterThePagesOwn) {
    PageContext c = fakeContext();
    c.userStyleSheet = true;
    const std::string html =
        rewritePage("<html><head><link rel=stylesheet href=a.css></head></html>", c).html;
    EXPECT_LT(html.find("a.css"), html.find("_tarnbook/custom.css"));
}

TEST(PageRewriter, ReferencesOfAPage) {
    const auto refs = pageReferences(
        R"(<a href="a.htm">a</a><img SRC='p.gif'><body background=bg.jpg><style>@import "s.css"; p{background:url(q.png)}</style><object data="m.swf"></object>)"
        "<OBJECT " +
        kControl +
        R"(><param name="Command" value="Related Topics"><param name="Item1" value="T;r.htm"></OBJECT>)");
    const std::vector<std::string> expected{"a.htm", "p.gif", "bg.jpg", "s.css",
                                            "q.png", "m.swf", "r.htm"};
    for (const auto& e : expected)
        EXPECT_NE(std::find(refs.begin(), refs.end(), e), refs.end()) << e;
}

}  // namespace
}  // namespace tarnbook::webexport
