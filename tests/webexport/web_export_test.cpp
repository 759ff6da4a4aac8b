#include <gtest/gtest.h>

#include <filesystem>

#include "SiteCheck.h"
#include "platform/Cp932.h"
#include "support/TempDir.h"
#include "webexport/PageCharset.h"
#include "webexport/WebExport.h"

namespace tarnbook::webexport {
namespace {

using testing::readText;
using testing::writeBytes;

std::string sjis(const std::string& utf8) {
    return platform::utf8ToCp932(utf8);
}

const std::string kControl =
    R"(type="application/x-oleobject"classid="clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11"codebase="hhctrl.ocx" width="10" height="10")";

std::string page(const std::string& title, const std::string& head, const std::string& body) {
    return sjis(
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<HTML><HEAD>\r\n"
        "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\r\n<TITLE>" +
        title + "</TITLE>\r\n" + head + "</HEAD>\r\n<BODY>\r\n" + body + "\r\n</BODY></HTML>\r\n");
}

project::TreeNode* addNode(project::ContentTree& tree, project::TreeNode* parent,
                           const std::string& title, const std::string& html,
                           const std::u16string& keyword = {}, bool heading = false) {
    auto node = std::make_unique<project::TreeNode>();
    node->data.Title = sjis(title);
    node->data.HTML = html;
    node->data.KeyWord = keyword;
    node->data.ItemType = heading ? project::TData::kHeading : project::TData::kContent;
    node->data.ImageIndex = heading ? 0 : html.rfind("http://", 0) == 0 ? 12 : 8;
    return tree.appendChild(parent, std::move(node));
}

// A project whose pages use every kind of control object, a picture, a style sheet with a
// url, links in the compiled help's own form and a web-link node.
struct Fixture {
    testing::TempDir dir;
    std::string projectFolder = dir.path() + "/Prj";
    std::string out = dir.path() + "/site";
    project::ContentTree tree;
    platform::IniFile ini;

    Fixture() {
        const std::string r = projectFolder + "/_RESOURCE/";
        writeBytes(
            r + "index.htm",
            page("はじめに", "<LINK rel=\"stylesheet\" href=\"Style.css\" type=\"text/css\">",
                 "<p>ようこそ。<img src=\"img/Logo.gif\"></p>"
                 "<a href=\"ms-its:Prj.chm::/_RESOURCE/Sub/Setup.htm#steps\">設定</a>"
                 "<!-- Related Link :) --><OBJECT id=hhctrlR " +
                     kControl +
                     "><param name=\"Command\" value=\"Related Topics, MENU\"><PARAM "
                     "name=\"Button\" value=\"Text:関連\">"
                     "<param name=\"Item1\" value=\"設定;" +
                     sjis("C:\\PRJ\\_RESOURCE\\Sub\\Setup.htm") +
                     "\"></OBJECT><!-- end -->"
                     "<OBJECT id=hhctrlK " +
                     kControl +
                     "><param name=\"Command\" value=\"KLink\"><PARAM name=\"Item1\" "
                     "value=\"\"><param name=\"Item2\" value=\"設定方法\"></OBJECT>"
                     "<OBJECT id=hhctrlA " +
                     kControl +
                     "><param name=\"Command\" value=\"ALink\"><PARAM name=\"Item1\" "
                     "value=\"\"><param name=\"Item2\" value=\"faq\"></OBJECT>"
                     "<OBJECT id=hhctrlI " +
                     kControl +
                     "><param name=\"Command\" value=\"Close\"><PARAM name=\"Button\" "
                     "value=\"Text:閉じる\"></OBJECT>"
                     "<a href=\"../../outside.htm\">外</a>"));
        writeBytes(
            r + "Sub/Setup.htm",
            page(
                "設定のしかた",
                "<Object type=\"application/x-oleobject\" "
                "classid=\"clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e\"><param name=\"ALink Name\" "
                "value=\"faq\"></OBJECT>",
                "<h2><a name=\"steps\">手順</a></h2><p>保存先フォルダを選びます。</p>"
                "<script>FFace=\"Helvetica,12,,bold\"</script><A "
                "href=javascript:id=hhctrlP.TextPopup(\"ポップ\\nアップ\",FFace,9,9,10,10)>用語</A>"
                "<a href=\"../index.htm\">戻る</a><a href=\"Missing.htm\">無い</a>"));
        writeBytes(r + "Style.css", "body { background: url(\"img/bg.gif\") }");
        writeBytes(r + "img/Logo.gif", "GIF89a");
        writeBytes(r + "img/bg.gif", "GIF89a");
        writeBytes(r + "unused.htm", "never linked");
        writeBytes(dir.path() + "/outside.htm", "not part of the project");
        auto* top = addNode(tree, nullptr, "はじめに", "index.htm", u"はじめに");
        auto* head = addNode(tree, nullptr, "設定", "", {}, true);
        addNode(tree, head, "設定のしかた", "Sub\\Setup.htm", u"設定方法,保存先");
        addNode(tree, head, "サイト", "http://example.com/");
        addNode(tree, top, "無いページ", "nothing.htm");
        ini.writeString("XHP", "Name", "Prj");
        ini.writeString("XHP", "HelpName", sjis("テストヘルプ"));
        ini.writeString("XHP", "Default", "_RESOURCE\\index.htm");
    }

    WebExportResult run(const std::string& css = {}, const WebExportProgress& progress = {}) {
        return exportWebSite({projectFolder, tree, ini}, {"", css, out}, progress);
    }
};

TEST(WebExport, WritesAWorkingSite) {
    Fixture f;
    const WebExportResult r = f.run();
    EXPECT_EQ(r.pages, 2u);
    const auto check = testing::checkSite(f.out);
    EXPECT_EQ(check.brokenLinks, std::vector<std::string>{"Sub/Setup.htm: Missing.htm"});
    EXPECT_EQ(r.brokenLinks, 1u);

    for (const char* file :
         {"index.htm", "Sub/Setup.htm", "Style.css", "img/Logo.gif", "img/bg.gif", "index.html",
          "_tarnbook/site.js", "_tarnbook/toc.js", "_tarnbook/keywords.html",
          "_tarnbook/search.html", "_tarnbook/search-index.json", "_tarnbook/search-index.js"})
        EXPECT_TRUE(std::filesystem::is_regular_file(f.out + "/" + file)) << file;
    EXPECT_FALSE(std::filesystem::exists(f.out + "/unused.htm"));

    const std::string index = readText(f.out + "/index.htm");
    EXPECT_TRUE(isValidUtf8(index));
    for (const char* expected :
         {"ようこそ", "charset=utf-8", R"(href="Sub/Setup.htm#steps")",
          R"(<li><a href="Sub/Setup.htm">設定</a></li>)",  // related topics
          R"(<a href="Sub/Setup.htm">設定のしかた</a>)",   // KLink by node keyword
          R"(id="tbc-hhctrlA")", "<!-- 「ヘルプを閉じる」", "<a >外</a>"})
        EXPECT_NE(index.find(expected), std::string::npos) << expected << "\n" << index;
    EXPECT_EQ(index.find("Shift_JIS"), std::string::npos);
    EXPECT_EQ(index.find("outside.htm"), std::string::npos);
    // The ALink list leads to the page that carries the name.
    const std::string alink = index.substr(index.find("tbc-hhctrlA"));
    EXPECT_NE(alink.find("Sub/Setup.htm"), std::string::npos);

    const std::string setup = readText(f.out + "/Sub/Setup.htm");
    EXPECT_NE(setup.find(
                  "<span class=\"tb-popup\" id=\"tbp-1\" role=\"tooltip\">ポップ<br>アップ</span>"),
              std::string::npos)
        << setup;
    EXPECT_NE(setup.find(R"(src="../_tarnbook/site.js")"), std::string::npos);
    EXPECT_NE(readText(f.out + "/Style.css").find("url(\"img/bg.gif\")"), std::string::npos);

    const std::string toc = readText(f.out + "/_tarnbook/toc.js");
    for (const char* expected :
         {R"("title":"テストヘルプ")", R"("start":"index.htm")", R"({"t":"設定","c":[)",
          R"({"t":"サイト","u":"http://example.com/","x":1})", R"({"t":"無いページ"})"})
        EXPECT_NE(toc.find(expected), std::string::npos) << expected << "\n" << toc;

    const std::string keywords = readText(f.out + "/_tarnbook/keywords.html");
    for (const char* k : {"<dt>はじめに</dt>", "<dt>設定方法</dt>", "<dt>保存先</dt>"})
        EXPECT_NE(keywords.find(k), std::string::npos) << k;
    EXPECT_NE(readText(f.out + "/_tarnbook/search-index.json").find("\"保存\":["),
              std::string::npos);

    bool missingPageReported = false, closeReported = false, outsideReported = false;
    for (const auto& w : r.warnings) {
        missingPageReported |= w.find("nothing.htm") != std::string::npos;
        closeReported |= w.find("ヘルプを閉じる") != std::string::npos;
        outsideReported |= w.find("outside.htm") != std::string::npos;
    }
    EXPECT_TRUE(missingPageReported && closeReported && outsideReported);
}

TEST(WebExport, WritesNothingOutsideTheOutputFolder) {
    Fixture f;
    f.run();
    std::size_t outside = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(f.dir.path())) {
        const std::string p = e.path().string();
        if (p.rfind(f.out, 0) != 0 && p.rfind(f.projectFolder, 0) != 0 &&
            p != f.dir.path() + "/outside.htm")
            ++outside;
    }
    EXPECT_EQ(outside, 0u);
    EXPECT_FALSE(std::filesystem::exists(f.out + "/outside.htm"));
}

TEST(WebExport, RefusesOutputFoldersThatWouldMixWithTheProject) {
    Fixture f;
    writeBytes(f.dir.path() + "/afile", "x");
    const struct {
        std::string folder;
        const char* message;
    } cases[] = {
        {"", "出力フォルダを指定してください。"},
        {"relative/site", "出力フォルダは絶対パスで指定してください。"},
        {f.projectFolder, "プロジェクトフォルダ、またはそれを含むフォルダには出力できません。"},
        {f.dir.path(), "プロジェクトフォルダ、またはそれを含むフォルダには出力できません。"},
        {f.projectFolder + "/_resource/web", "リソースフォルダの中には出力できません。"},
        {f.dir.path() + "/afile", "出力フォルダと同じ名前のファイルがあります。"},
    };
    for (const auto& c : cases) {
        try {
            exportWebSite({f.projectFolder, f.tree, f.ini}, {"", "", c.folder});
            ADD_FAILURE() << "exported into " << c.folder;
        } catch (const WebExportError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.folder;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(f.projectFolder + "/_RESOURCE/web"));
    EXPECT_EQ(checkOutputFolder(f.projectFolder, f.out), "");
}

TEST(WebExport, AppliesTheChosenStyleSheetAndReportsProgress) {
    Fixture f;
    writeBytes(f.dir.path() + "/web.css",
               "@charset \"shift_jis\";\nh1 { font-family: \"" + sjis("ＭＳ ゴシック") + "\" }");
    std::vector<std::size_t> seen;
    std::size_t last = 0;
    f.run(f.dir.path() + "/web.css", [&](std::size_t done, std::size_t total) {
        seen.push_back(done);
        last = total;
    });
    EXPECT_EQ(readText(f.out + "/_tarnbook/custom.css"), "\nh1 { font-family: \"ＭＳ ゴシック\" }");
    EXPECT_NE(readText(f.out + "/index.htm").find("_tarnbook/custom.css"), std::string::npos);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), last);

    EXPECT_THROW(f.run(f.dir.path() + "/none.css"), WebExportError);
}

}  // namespace
}  // namespace tarnbook::webexport
