// Writes the bundled sample project (examples/sample): a small Japanese help in Shift_JIS
// with headings, sub-folders, anchors, keywords with sub-keywords, context IDs and a map
// file, an added resource with a keyword, a web-link node, a style sheet and pictures.
//
// Usage: make_sample OUTDIR   (the folder is created; existing files are replaced)
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
#include "project/ContentTree.h"
#include "project/ContentsFile.h"

namespace {

using namespace tarnbook;
using platform::utf8ToCp932;

struct Page {
    const char* file;   // relative to _RESOURCE, '/' separated
    const char* title;  // UTF-8
    const char* body;   // UTF-8 HTML of the body
};

const Page kPages[] = {
    {"index.htm", "はじめに",
     "<h1>はじめに</h1>\n<p><img src=\"images/logo.gif\" alt=\"ロゴ\"></p>\n"
     "<p>このヘルプはサンプルプロジェクトです。目次から各ページを開いてください。</p>\n"
     "<p><a href=\"basics/overview.htm\">基本操作</a>と<a href=\"faq.htm#q1\">よくある質問</a>"
     "もご覧ください。</p>"},
    {"basics/overview.htm", "基本操作の概要",
     "<h1>基本操作の概要</h1>\n<p>インストールから設定までの流れを説明します。</p>\n"
     "<ol><li><a href=\"install.htm\">インストール</a></li>"
     "<li><a href=\"settings.htm\">設定</a></li>"
     "<li><a href=\"screen.htm\">画面の説明</a></li></ol>"},
    {"basics/install.htm", "インストール",
     "<h1>インストール</h1>\n<h2><a name=\"require\">必要な環境</a></h2>\n"
     "<p>日本語を表示できる環境が必要です。</p>\n"
     "<h2><a name=\"steps\">手順</a></h2>\n<p>配布ファイルを展開し、プログラムを起動します。</p>"},
    {"basics/settings.htm", "設定",
     "<h1>設定</h1>\n<p>「環境設定」ダイアログで表示や保存先を変更できます。</p>\n"
     "<table border=\"1\"><tr><th>項目</th><th>説明</th></tr>"
     "<tr><td>保存先</td><td>コンパイル後のコピー先フォルダ</td></tr></table>"},
    {"basics/screen.htm", "画面の説明",
     "<h1>画面の説明</h1>\n<p><img src=\"../images/diagram.gif\" alt=\"画面構成\"></p>\n"
     "<p>左に目次、右にプレビューとエディタが表示されます。</p>"},
    {"advanced/keywords.htm", "キーワード",
     "<h1>キーワード</h1>\n<p>キーワードは索引タブに表示されます。"
     "サブキーワードは一段下に並びます。</p>"},
    {"advanced/contextid.htm", "コンテキストID",
     "<h1>コンテキストID</h1>\n<p>アプリケーションは番号でヘルプのページを呼び出します。"
     "番号はマップファイル Sample.MAP に定義されています。</p>"},
    {"faq.htm", "よくある質問",
     "<h1>よくある質問</h1>\n<h2><a name=\"q1\">Q1. 文字化けします</a></h2>\n"
     "<p>ページの文字コードを Shift_JIS にしてください。</p>\n"
     "<h2><a name=\"q2\">Q2. 索引に表示されません</a></h2>\n"
     "<p>目次項目にキーワードを設定してください。</p>"},
    {"glossary.htm", "用語集",
     "<h1>用語集</h1>\n<dl><dt>目次</dt><dd>ヘルプの章立て。</dd>"
     "<dt>索引</dt><dd>キーワードの一覧。</dd></dl>"},
    {"extra/license.htm", "使用許諾",
     "<h1>使用許諾</h1>\n<p>このサンプルは自由に複製、改変できます。</p>"},
};

const char* kStyleSheet =
    "body { font-family: \"MS UI Gothic\", sans-serif; font-size: 10pt; margin: 12px; }\r\n"
    "h1 { font-size: 14pt; color: #224488; border-bottom: 1px solid #224488; }\r\n"
    "h2 { font-size: 11pt; color: #335599; }\r\n"
    "table { border-collapse: collapse; }\r\n";

// A small picture (16x16): a frame of one colour around a white field. The image data is
// LZW with 3-bit codes kept from growing by a clear code before every pair of pixels.
std::string gif(unsigned char r, unsigned char g, unsigned char b) {
    std::string s = "GIF89a";
    s += std::string("\x10\x00\x10\x00\x80\x00\x00", 7);  // 16x16, 2-colour table
    s += {static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
    s += std::string("\xFF\xFF\xFF", 3);
    s += std::string("\x2C\x00\x00\x00\x00\x10\x00\x10\x00\x00", 10);
    std::string data;
    unsigned bits = 0, filled = 0;
    auto code = [&](unsigned c) {
        bits |= c << filled;
        filled += 3;
        while (filled >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            filled -= 8;
        }
    };
    for (int i = 0; i < 256; i += 2) {
        code(4);  // clear
        for (int k = i; k < i + 2; ++k) {
            const int x = k % 16, y = k / 16;
            code(x < 2 || y < 2 || x > 13 || y > 13 ? 0 : 1);
        }
    }
    code(5);  // end of information
    if (filled) data += static_cast<char>(bits & 0xFF);
    s += '\x02';  // minimum code size
    s += static_cast<char>(data.size());
    s += data;
    s += std::string("\x00\x3B", 2);
    return s;
}

std::string pageHtml(const Page& p) {
    std::string depth;
    for (const char* c = p.file; *c; ++c)
        if (*c == '/') depth += "../";
    const std::string text =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        "<HTML><HEAD>\n"
        "<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
        "<TITLE>" +
        std::string(p.title) +
        "</TITLE>\n"
        "<LINK rel=\"stylesheet\" href=\"" +
        depth +
        "style.css\" type=\"text/css\">\n"
        "</HEAD>\n<BODY>\n" +
        p.body + "\n</BODY></HTML>\n";
    std::vector<std::string> lines = platform::splitLines(utf8ToCp932(text));
    return platform::joinLinesCrLf(lines);
}

project::TreeNode* add(project::ContentTree& tree, project::TreeNode* parent, const char* title,
                       const char* html, int image, const char* keywords = "",
                       const char* subKeywords = "", const char* contextId = "",
                       const char* anchor = "") {
    auto node = std::make_unique<project::TreeNode>();
    project::TData& d = node->data;
    d.ItemType = image < 8 ? project::TData::kHeading : project::TData::kContent;
    d.Title = utf8ToCp932(title);
    d.HTML = utf8ToCp932(html);
    d.ImageIndex = image;
    d.KeyWord = platform::utf8ToUtf16(keywords);
    d.SubKeyWord = platform::utf8ToUtf16(subKeywords);
    d.ContextID = contextId;
    d.Anchor = anchor;
    node->syncViewFromData();
    return tree.appendChild(parent, std::move(node));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTDIR\n");
        return 2;
    }
    const std::string out = platform::coreArgumentPath(argv[1]);
    const std::string res = platform::joinPath(out, "_RESOURCE");
    for (const char* sub : {"", "/basics", "/advanced", "/images", "/extra"})
        if (!platform::createFolders(res + sub)) {
            std::fprintf(stderr, "make_sample: cannot create %s%s\n", argv[1], sub);
            return 1;
        }

    for (const Page& p : kPages)
        platform::writeFileAtomic(platform::joinPath(res, p.file), pageHtml(p));
    platform::writeFileAtomic(platform::joinPath(res, "style.css"), kStyleSheet);
    platform::writeFileAtomic(platform::joinPath(res, "images/logo.gif"), gif(0x22, 0x44, 0x88));
    platform::writeFileAtomic(platform::joinPath(res, "images/diagram.gif"), gif(0x88, 0x44, 0x22));

    project::ContentTree tree;
    add(tree, nullptr, "はじめに", "index.htm", 8, "はじめに,概要", "", "IDH_INTRO");
    auto* basics = add(tree, nullptr, "基本操作", "basics\\overview.htm", 0, "基本操作");
    add(tree, basics, "インストール", "basics\\install.htm", 8, "インストール", "必要な環境,手順",
        "IDH_INSTALL");
    add(tree, basics, "設定", "basics\\settings.htm", 8, "設定,\"環境設定, 保存先\"", "",
        "IDH_SETTINGS");
    add(tree, basics, "画面の説明", "basics\\screen.htm", 10, "画面");
    auto* advanced = add(tree, nullptr, "応用", "", 2);
    add(tree, advanced, "キーワード", "advanced\\keywords.htm", 8, "キーワード,索引",
        "サブキーワード");
    add(tree, advanced, "コンテキストID", "advanced\\contextid.htm", 8, "コンテキストID", "",
        "IDH_CONTEXT");
    auto* faq = add(tree, advanced, "よくある質問", "faq.htm", 4, "FAQ");
    add(tree, faq, "文字化けします", "faq.htm", 8, "文字化け", "", "IDH_FAQ_Q1", "q1");
    add(tree, faq, "索引に表示されません", "faq.htm", 8, "質問", "索引", "", "q2");
    add(tree, nullptr, "用語集", "glossary.htm", 8, "用語集");
    add(tree, nullptr, "サポートサイト", "http://example.com/support/", 12);
    tree.refreshNodeStatus();

    const std::string xhc = platform::joinPath(out, "Sample.XHC");
    const std::size_t count = project::writeContentsFile(xhc, tree);

    // PDir, XHP and XHC name the folder the project is opened from; opening a project
    // found elsewhere rewrites them, so "." is enough here.
    platform::IniFile ini;
    auto put = [&ini](const char* key, const std::string& value) {
        ini.writeString("XHP", key, utf8ToCp932(value));
    };
    ini.writeInteger("XHP", "Version", 249);
    ini.writeInteger("XHP", "Count", static_cast<long long>(count));
    put("PDir", ".");
    put("Name", "Sample");
    put("XHP", "Sample.XHP");
    put("XHC", "Sample.XHC");
    put("HelpName", "サンプルヘルプ");
    put("FileName", "Sample.chm");
    put("Default", "_RESOURCE\\index.htm");
    put("FontName", "MS UI Gothic");
    ini.writeInteger("XHP", "FontSize", 10);
    ini.writeInteger("XHP", "PosX", 120);
    ini.writeInteger("XHP", "PosY", 80);
    ini.writeInteger("XHP", "Width", 800);
    ini.writeInteger("XHP", "Height", 600);
    ini.writeInteger("XHP", "FrameWidth", 220);
    for (const char* b : {"BTView", "BTBack", "BTNext", "BTPrint", "BTOption", "BTSync"})
        ini.writeBool("XHP", b, true);
    ini.writeBool("XHP", "BToc", false);
    ini.writeBool("XHP", "FullTextSearch", true);
    ini.writeBool("XHP", "TabKeyword", true);
    ini.writeBool("XHP", "TabSearch", true);
    ini.writeBool("XHP", "Visible", false);
    ini.writeBool("XHP", "NodeSquare", true);
    ini.writeBool("XHP", "NodeLines", true);
    ini.writeInteger("XHP", "LangNum", 14);
    put("LangStr", "0411 Japanese");
    ini.writeBool("XHP", "UseCSS", true);
    put("CSS", "_RESOURCE\\style.css");
    ini.writeBool("XHP", "UseMap", true);
    put("MAP", "Sample.MAP");
    ini.writeInteger("XHP", "Merge", 0);
    ini.writeInteger("Addition", "Count", 4);
    ini.writeString("Addition", "File1", "_RESOURCE\\style.css");
    ini.writeString("Addition", "File2", "_RESOURCE\\images\\logo.gif");
    ini.writeString("Addition", "File3", "_RESOURCE\\images\\diagram.gif");
    ini.writeString("Addition", "File4", "_RESOURCE\\extra\\license.htm");
    ini.writeString("Addition", "Key4", utf8ToCp932("使用許諾"));
    ini.saveAs(platform::joinPath(out, "Sample.XHP"));

    // The map file the application includes: one number per context ID.
    platform::writeLinesCrLf(
        platform::joinPath(out, "Sample.MAP"),
        {"#define IDH_INTRO 1000", "#define IDH_INSTALL 1010", "#define IDH_SETTINGS 1020",
         "#define IDH_CONTEXT 1030", "#define IDH_FAQ_Q1 1040"});
    std::printf("sample project written to %s (%zu nodes)\n", argv[1], count);
    return 0;
}
