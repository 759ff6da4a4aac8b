#include <gtest/gtest.h>

#include "chm/SystemFiles.h"
#include "viewer/EntryTypes.h"
#include "viewer/HelpLibrary.h"
#include "viewer/HelpSystemFiles.h"
#include "viewer/IndexOrder.h"
#include "viewer/PageSearch.h"
#include "viewer/PopupTexts.h"
#include "viewer/ViewerArguments.h"

#include <stdexcept>

using namespace tarnbook;
using namespace tarnbook::viewer;

namespace {

std::string entry(const std::vector<chm::ChmFile>& files, const char* name) {
    for (const auto& f : files)
        if (f.name == name) return f.data;
    return {};
}

}  // namespace

// Terms are all required, case and width are folded, Japanese is found inside running text
// without word breaks, a single kanji finds its pages, and a title hit ranks before an earlier body
// hit.
TEST(PageSearch, FindsEveryTermWithTitleHitsFirst) {
    PageSearch s;
    s.add(10, {"Install", "インストール手順を説明します。Setup wizard."});
    s.add(11, {"設定", "画面の設定とインストール後の確認"});
    s.add(12, {"FAQ", "Ｓｅｔｕｐ fails? See install."});
    s.add(13, {"Wizard guide", "steps"});
    struct Case {
        const char* query;
        std::vector<std::size_t> pages;
    };
    const Case cases[] = {
        {"インストール", {10, 11}},
        {"setup", {10, 12}},
        {"SETUP install", {10, 12}},
        {"設定", {11}},
        {"画", {11}},
        {"手順 確認", {}},
        {"確認 設定", {11}},
        {"wizard", {13, 10}},
        {"　", {}},
        {"", {}},
        {"xyz", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        EXPECT_EQ(s.find(c.query), c.pages);
    }
}

TEST(PageText, TakesTitleAndVisibleTextInThePagesOwnEncoding) {
    const PageText sjis = extractPageText(
        "<HTML><HEAD><TITLE>\x93\xFA\x96\x7B\r\n  page</TITLE><script>var x;</script></HEAD>"
        "<BODY>\x96\x7B\x95\xB6 &amp; more</BODY></HTML>");
    EXPECT_EQ(sjis.title, "日本 page");
    EXPECT_EQ(sjis.text, "本文 & more");
    const PageText euc = extractPageText(
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=EUC-JP\">"
        "<title>\xC6\xFC\xCB\xDC</title>");
    EXPECT_EQ(euc.title, "日本");
}

TEST(EntryTypes, ServesPagesWithACharsetTheViewHonours) {
    struct Case {
        std::string in, out;
    };
    const Case cases[] = {
        {"<p>ascii</p>", "<p>ascii</p>"},
        {"<meta charset=shift_jis>\x93\xFA", "<meta charset=shift_jis>\x93\xFA"},
        {"<!DOCTYPE html>\n<p>\xE6\x97\xA5</p>",
         "<!DOCTYPE html><meta charset=\"utf-8\">\n<p>\xE6\x97\xA5</p>"},
        {"<p>\x93\xFA</p>",
         "<meta charset=\"utf-8\"><p>\xE6\x97\xA5</p>\r\n"},  // converted by line
        {"\xEF\xBB\xBF<p>\xE6\x97\xA5</p>", "\xEF\xBB\xBF<p>\xE6\x97\xA5</p>"},
    };
    for (const auto& c : cases) EXPECT_EQ(pageForView(c.in, 0x411), c.out) << c.in;
    // A Chinese help's undeclared GB2312 page is read in its language's code page.
    EXPECT_EQ(pageForView("<p>\xBA\xDA\xB0\xD7</p>", 0x804), "<meta charset=\"utf-8\"><p>黑白</p>");
    EXPECT_EQ(mimeTypeOf("a/B.HTM"), "text/html");
    EXPECT_EQ(mimeTypeOf("img.d/pic.GIF"), "image/gif");
    EXPECT_EQ(mimeTypeOf("x.d/noext"), "application/octet-stream");
}

TEST(EntryPaths, NeverClimbAboveTheRoot) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a/b.htm", "a/b.htm"},
        {"a/./b/../c.htm", "a/c.htm"},
        {"../../etc/passwd", "etc/passwd"},
        {"a//b", "a/b"},
        {"/..", ""},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(normalizeEntryPath(in), out) << in;
}

// The system entries as our own compiler writes them: the default window's caption,
// rectangle and pages win over #SYSTEM, context numbers point at their pages, merged files
// are listed; damaged entries yield what they can.
TEST(HelpSystemInfo, ReadsTheWindowTitlePagesContextNumbersAndMerges) {
    chm::SystemInput in;
    in.languageId = 0x411;
    in.title = "System title";
    in.defaultTopic = "top.htm";
    in.defaultWindow = "main";
    in.windows = {{"other", {"Other", "o.hhc", "", "o.htm"}},
                  {"main",
                   {"Window caption", "w.hhc", "w.hhk", "w.htm", "", "", "", "", "", "", "", "",
                    "[10,20,810,620]"}}};
    in.aliases = {{1000, "html/a.htm"}, {5, "b.htm"}};
    in.mergeFiles = {"one.chm", "two.chm"};
    const auto files = chm::buildSystemFiles(in);
    const std::string system = entry(files, "/#SYSTEM"), windows = entry(files, "/#WINDOWS"),
                      strings = entry(files, "/#STRINGS"), ivb = entry(files, "/#IVB"),
                      idxhdr = entry(files, "/#IDXHDR");
    const HelpSystemInfo info = readHelpSystemInfo({system, windows, strings, ivb, idxhdr});
    EXPECT_EQ(info.title, "Window caption");
    EXPECT_EQ(info.contentsFile, "w.hhc");
    EXPECT_EQ(info.indexFile, "w.hhk");
    EXPECT_EQ(info.defaultTopic, "w.htm");
    EXPECT_EQ(info.languageId, 0x411u);
    ASSERT_TRUE(info.window);
    EXPECT_EQ(info.window->left, 10);
    EXPECT_EQ(info.window->width(), 800);
    EXPECT_EQ(info.window->height(), 600);
    EXPECT_EQ(info.contextTargets,
              (std::map<std::uint32_t, std::string>{{5, "b.htm"}, {1000, "html/a.htm"}}));
    EXPECT_EQ(info.mergeFiles, (std::vector<std::string>{"one.chm", "two.chm"}));

    // Cut anywhere, the entries still read without fault.
    for (std::size_t cut = 0; cut < windows.size(); cut += 7) {
        const HelpSystemInfo part = readHelpSystemInfo(
            {std::string_view(system).substr(0, cut), std::string_view(windows).substr(0, cut),
             std::string_view(strings).substr(0, cut), std::string_view(ivb).substr(0, cut),
             std::string_view(idxhdr).substr(0, cut)});
        EXPECT_LE(part.contextTargets.size(), 2u);
    }
}

TEST(ViewerArguments, TakesAFileAndEitherAContextNumberOrATopic) {
    const auto a = parseViewerArguments({"--context", "0x10", "h.chm"});
    EXPECT_EQ(a.file, "h.chm");
    EXPECT_EQ(a.context, 16u);
    const auto b = parseViewerArguments({"--context=40", "--", "-odd.chm"});
    EXPECT_EQ(b.file, "-odd.chm");
    EXPECT_EQ(b.context, 40u);
    const auto c = parseViewerArguments({"h.chm", "html/a.htm"});
    EXPECT_EQ(c.topic, "html/a.htm");
    EXPECT_FALSE(c.context);
    EXPECT_TRUE(parseViewerArguments({"--help"}).help);
    EXPECT_TRUE(parseViewerArguments({"--index", "h.chm"}).index);
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"--context", "h.chm"},
        {"--context"},
        {"--context=x1", "h.chm"},
        {"--context=1", "h.chm", "a.htm"},
        {"a.chm", "b", "c"},
        {"--zoom", "h.chm"},
    };
    for (const auto& args : refused)
        EXPECT_THROW(parseViewerArguments(args), std::invalid_argument)
            << ::testing::PrintToString(args);
}

// Texts run from their ".topic" line to the next one, trimmed of blank lines at the ends but
// keeping paragraph breaks; numbers the program cannot ask for start texts nobody can reach.
TEST(PopupTexts, SplitsTheFileIntoNumberedTexts) {
    const PopupTexts t = PopupTexts::parse(
        "stray text before any topic\r\n"
        ".topic 7\r\n\r\n  first line  \r\n\r\nsecond paragraph\r\n\r\n"
        ".TOPIC\t8\nunix line ends\n"
        ".topic IDH_NAMED\nunreachable\n"
        ".topic 7\nrepeat loses\n"
        ".topic 99999999999\ntoo large\n"
        ".topics 9\n"
        ".topic 10\n"
        "\x83\x5c\x83\x74\x83\x67");  // Shift_JIS with a 0x5C trail byte, no final line end
    const std::pair<std::uint32_t, std::optional<std::string>> cases[] = {
        {7, "first line\n\nsecond paragraph"},
        {8, "unix line ends"},
        {10, "\x83\x5c\x83\x74\x83\x67"},
        {0, std::nullopt},
        {9, std::nullopt},
    };
    for (const auto& [id, text] : cases) EXPECT_EQ(t.text(id), text) << id;
    EXPECT_EQ(t.size(), 3u);
}

// Keywords sort with their sub-keywords in tow; case, width and kana kind do not count, and
// equal keywords keep their order (targets tell them apart here).
TEST(IndexOrder, SortsKeywordsCarryingTheirSubKeywords) {
    auto item = [](const char* keyword, int level, const char* page = "") {
        IndexItem i;
        i.keyword = keyword;
        i.level = level;
        if (*page) i.targets.push_back({0, page, {}});
        return i;
    };
    std::vector<IndexItem> index = {
        item("beta", 0),  item("zz sub", 1), item("aa sub", 1), item("アンカー", 0, "1.htm"),
        item("Alpha", 0), item("あい", 0),   item("ＡＢ", 0),   item("アンカー", 0, "2.htm"),
        item("漢字", 0),
    };
    sortIndexForDisplay(index);
    std::vector<std::string> shown;
    for (const IndexItem& i : index)
        shown.push_back(std::string(i.level, '-') + i.keyword +
                        (i.targets.empty() ? "" : "@" + i.targets[0].path));
    const std::vector<std::string> expected = {
        "ＡＢ", "Alpha",          "beta",           "-zz sub", "-aa sub",
        "あい", "アンカー@1.htm", "アンカー@2.htm", "漢字",
    };
    EXPECT_EQ(shown, expected);
}
