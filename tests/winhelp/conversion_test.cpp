#include <chm_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "authoring/ResourceRegistry.h"
#include "compile/BuildTestSupport.h"
#include "compile/CompileLogPage.h"
#include "compile/CompileRun.h"
#include "platform/Cp932.h"
#include "winhelp/HpjConversion.h"

namespace tarnbook::testing {
namespace {

namespace fs = std::filesystem;
using namespace tarnbook::winhelp;

const std::string kSample = std::string(WINHELP_DATA_DIR) + "/sample";
const std::string kDriver = std::string(TARNBOOK_BINARY_DIR) + "/src/apps/hhc/tarnbook-hhc";

std::string sj(const char* utf8) {
    return platform::utf8ToCp932(utf8);
}

struct Converted : BuildFixture {
    std::string hpj;
    Converted() {
        fs::copy(kSample, dir.file("src"), fs::copy_options::recursive);
        hpj = dir.file("src/sample.hpj");
    }
    ProjectTarget target() { return {folder(), *ws.project, ws.tree, prompts}; }
    // As the command does: new nodes mark the contents changed.
    ConversionResult convert() {
        ConversionResult r = convertWinHelpProject(hpj, target());
        if (r.nodes > 0) ws.markChanged();
        return r;
    }
    std::string page(const std::string& name) { return readBytes(inFolder("_RESOURCE/" + name)); }
};

bool contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

TEST(Conversion, SampleProjectGivesNodesPagesMapAndAddedResources) {
    Converted c;
    std::vector<int> progress;
    const ConversionResult r =
        convertWinHelpProject(c.hpj, c.target(), [&](int p) { progress.push_back(p); });
    ASSERT_FALSE(r.cancelled);
    EXPECT_EQ(r.summary(), "5 topics, 8 keywords, 5 context IDs, 5 warnings");
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);

    // The contents file's books and topics; the entry of another help file is left out.
    struct Node {
        int level;
        const char* title;
        const char* html;
        const char* contextId;
        const char* keywords;
    };
    const Node expected[] = {
        {0, "はじめに", "", "", ""},
        {1, "ようこそ", "IDH_WELCOME.htm", "IDH_WELCOME", "はじめに,welcome,\"start, getting\""},
        {1, "インストール", "IDH_INSTALL.htm", "IDH_INSTALL", "install,setup"},
        {0, "リファレンス", "", "", ""},
        {1, "詳細", "IDH_DETAILS.htm", "IDH_DETAILS", "details,more"},
        // Through the alias; the page's ID stays with its first node.
        {1, "古い名前", "IDH_WELCOME.htm", "", ""},
    };
    const auto nodes = c.ws.tree.preorder();
    ASSERT_EQ(nodes.size(), std::size(expected));
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const auto& d = nodes[i]->data;
        EXPECT_EQ(nodes[i]->depth(), expected[i].level) << i;
        EXPECT_EQ(d.Level, expected[i].level) << i;
        EXPECT_EQ(d.Title, sj(expected[i].title)) << i;
        EXPECT_EQ(d.HTML, expected[i].html) << i;
        EXPECT_EQ(d.ContextID, expected[i].contextId) << i;
        EXPECT_EQ(platform::utf16ToUtf8(d.KeyWord), expected[i].keywords) << i;
        EXPECT_EQ(d.isHeading(), *expected[i].html == 0) << i;
    }

    // Pages: Shift_JIS text, links, popups, pictures, escaped markup.
    const std::string welcome = c.page("IDH_WELCOME.htm");
    EXPECT_TRUE(contains(welcome, "<TITLE>" + sj("ようこそ") + "</TITLE>"));
    EXPECT_TRUE(contains(welcome, "charset=Shift_JIS"));
    EXPECT_TRUE(contains(welcome, "<a href=\"IDH_INSTALL.htm\">" + sj("インストール") + "</a>"));
    EXPECT_TRUE(contains(welcome, "<a href=\"IDH_DETAILS.htm\">Details</a>"));
    EXPECT_TRUE(contains(welcome, "TextPopup('A glossary term explained in one line.'"));
    EXPECT_TRUE(contains(welcome, "<OBJECT id=\"hhctrlP\""));
    EXPECT_TRUE(contains(welcome, "<param name=\"ALink Name\" value=\"welcome_alink\">"));
    EXPECT_TRUE(contains(welcome, "<p align=\"center\"><img src=\"logo.png\""));
    EXPECT_TRUE(contains(welcome, "&lt;help&gt; &amp;"));
    EXPECT_TRUE(contains(welcome, "<font color=\"#FF0000\">red</font>"));
    EXPECT_TRUE(contains(welcome, "Euro &#8364; and &#65533; done"));
    EXPECT_TRUE(contains(welcome, "External"));  // a jump into another help file stays text
    EXPECT_FALSE(contains(welcome, "IDH_X"));
    EXPECT_FALSE(contains(welcome, "BUILD_TAG"));
    const std::string install = c.page("IDH_INSTALL.htm");
    EXPECT_TRUE(contains(install, "<td valign=\"top\">one</td><td valign=\"top\">two</td></tr>"));
    EXPECT_TRUE(contains(install, "<a href=\"IDH_WELCOME.htm\">Back</a>"));
    EXPECT_TRUE(contains(install, "<a href=\"IDH_WELCOME.htm\"><img src=\"logo.png\""));
    EXPECT_TRUE(fs::exists(c.inFolder("_RESOURCE/logo.png")));
    EXPECT_TRUE(contains(c.page("IDH_DETAILS.htm"), "[missing.shg]"));

    // The map numbers, with each topic's title as comment.
    EXPECT_EQ(
        readBytes(c.inFolder("sample.MAP")),
        sj("// ようこそ\r\n#define IDH_WELCOME 10\r\n// インストール\r\n#define IDH_INSTALL 20\r\n"
           "// Glossary term\r\n#define IDH_GLOSSARY_TERM 40\r\n// Details\r\n"
           "#define IDH_DETAILS 30\r\n"));
    const auto saved = platform::IniFile::load(c.ws.projectFile());
    EXPECT_EQ(saved.readString("XHP", "MAP"), "sample.MAP");
    EXPECT_TRUE(saved.readBool("XHP", "UseMap"));

    // Topics outside the contents, and the picture, stay in the help as added resources.
    const auto added = authoring::readAdditions(saved);
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(added[0].file, "_RESOURCE\\IDH_GLOSSARY_TERM.htm");
    EXPECT_EQ(added[0].key, "term");
    EXPECT_EQ(added[1].file, "_RESOURCE\\IDH_HIDDEN.htm");
    EXPECT_EQ(added[2].file, "_RESOURCE\\logo.png");
}

TEST(Conversion, ExistingPagesAreReplacedRenamedOrLeftAloneAsTheAuthorAnswers) {
    Converted c;
    c.convert();
    const std::string before = c.page("IDH_WELCOME.htm");
    writeBytes(c.inFolder("_RESOURCE/IDH_WELCOME.htm"), "mine");

    c.prompts.answers = {ui::Answer::Cancel};
    const auto cancelled = c.convert();
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(c.page("IDH_WELCOME.htm"), "mine");
    EXPECT_EQ(c.ws.tree.count(), 6u);
    EXPECT_TRUE(c.prompts.sawText("IDH_WELCOME.htm"));

    c.prompts.answers = {ui::Answer::No};
    const auto renamed = c.convert();
    EXPECT_EQ(c.page("IDH_WELCOME.htm"), "mine");
    EXPECT_TRUE(contains(c.page("IDH_INSTALL(1).htm"), "href=\"IDH_WELCOME(1).htm\""));
    EXPECT_EQ(c.ws.tree.count(), 12u);
    EXPECT_EQ(c.ws.tree.preorder()[7]->data.HTML, "IDH_WELCOME(1).htm");
    // The unchanged picture is not a conflict and is not copied again.
    EXPECT_FALSE(fs::exists(c.inFolder("_RESOURCE/logo(1).png")));

    c.prompts.answers = {ui::Answer::Yes};
    c.convert();
    EXPECT_EQ(c.page("IDH_WELCOME.htm"), before);
}

TEST(Conversion, MapNumbersJoinAnExistingMapFile) {
    Converted c;
    c.ws.project->writeString("XHP", "MAP", "app.map");
    writeBytes(c.inFolder("app.map"), "#define IDH_WELCOME 10\r\n#define IDH_INSTALL 99\r\n");
    const auto r = c.convert();
    const std::string map = readBytes(c.inFolder("app.map"));
    EXPECT_TRUE(contains(map, "#define IDH_INSTALL 99\r\n"));
    EXPECT_FALSE(contains(map, "IDH_INSTALL 20"));
    EXPECT_TRUE(contains(map, "#define IDH_DETAILS 30\r\n"));
    EXPECT_EQ(std::count(map.begin(), map.end(), '\n'), 6);  // two definitions with comments
    bool warned = false;
    for (const auto& w : r.warnings) warned = warned || contains(w, "IDH_INSTALL is defined as 99");
    EXPECT_TRUE(warned);
}

TEST(Conversion, WithoutContentsFileBrowseSequencesThenTopicOrder) {
    TempDir d;
    writeBytes(
        d.file("b.rtf"),
        "{\\rtf1 #{\\footnote IDH_A}+{\\footnote s:2}A\\page #{\\footnote IDH_B}B\\page"
        "#{\\footnote IDH_C}+{\\footnote s:1}C\\page #{\\footnote IDH_D}+{\\footnote auto}D}");
    writeBytes(d.file("b.hpj"), "[FILES]\nb.rtf\n");
    BuildFixture f;
    const auto r =
        convertWinHelpProject(d.file("b.hpj"), {f.folder(), *f.ws.project, f.ws.tree, f.prompts});
    std::vector<std::string> shape;
    for (auto* n : f.ws.tree.preorder())
        shape.push_back(std::to_string(n->depth()) + n->data.Title);
    EXPECT_EQ(shape, (std::vector<std::string>{"0s", "1IDH_C", "1IDH_A", "0IDH_B", "0IDH_D"}));
    EXPECT_TRUE(r.mapFile.empty());
}

TEST(Conversion, AProjectWithoutTopicFilesConvertsNothing) {
    TempDir d;
    writeBytes(d.file("x.hpj"), "[OPTIONS]\nTITLE=x\n[FILES]\nnone.rtf\n");
    BuildFixture f;
    const auto r =
        convertWinHelpProject(d.file("x.hpj"), {f.folder(), *f.ws.project, f.ws.tree, f.prompts});
    EXPECT_EQ(r.topics, 0u);
    EXPECT_TRUE(f.ws.tree.empty());
    EXPECT_EQ(r.warnings.size(), 2u);
}

// Real help sources (see each folder's SOURCE.md); the expected numbers are the footnotes
// their topic files hold.
TEST(Conversion, PublicWinHelpSourcesConvertWithEveryTopicKeywordAndContextId) {
    struct Case {
        const char* hpj;
        std::size_t topics, keywords, contextIds, nodes;
    };
    const Case cases[] = {
        {"vispy-filever/FileVer.hpj", 29, 55, 29, 17},          // the contents file's entries
        {"ddablib-verinfo/PJVersionInfo.hpj", 40, 89, 40, 40},  // no .cnt: topic order
    };
    for (const Case& k : cases) {
        BuildFixture f;
        const auto r = convertWinHelpProject(std::string(WINHELP_DATA_DIR) + "/" + k.hpj,
                                             {f.folder(), *f.ws.project, f.ws.tree, f.prompts});
        EXPECT_EQ(r.topics, k.topics) << k.hpj;
        EXPECT_EQ(r.keywords, k.keywords) << k.hpj;
        EXPECT_EQ(r.contextIds, k.contextIds) << k.hpj;
        EXPECT_EQ(r.pages.size(), k.topics) << k.hpj;
        EXPECT_EQ(f.ws.tree.count(), k.nodes) << k.hpj;
        for (const auto& w : r.warnings) EXPECT_FALSE(contains(w, "no such topic")) << w;
    }
}

TEST(Conversion, TheConvertedSampleCompilesAndItsLinksResolveInTheHelpFile) {
    ASSERT_TRUE(fs::exists(kDriver)) << "the compiler driver " << kDriver << " is not built";
    Converted c;
    c.ws.settings.writeString("SYSTEM", "HHC", kDriver);
    c.convert();
    const auto built = compile::goCompile(c.ws);
    ASSERT_EQ(built.outcome, compile::CompileOutcome::Succeeded)
        << readBytes(c.inFolder("Compile.Log"));
    for (const auto& finding : compile::compileLogFindings(built.logPath))
        EXPECT_FALSE(finding.error) << finding.line;

    chmFile* chm = chm_open(built.chmPath.c_str());
    ASSERT_NE(chm, nullptr);
    auto read = [&](const std::string& name) -> std::optional<std::string> {
        chmUnitInfo ui;
        if (chm_resolve_object(chm, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS) return {};
        std::string bytes(static_cast<std::size_t>(ui.length), '\0');
        chm_retrieve_object(chm, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(ui.length));
        return bytes;
    };
    std::size_t links = 0;
    const std::regex href("(href|src)=\"([^\"#:]+)\"");
    for (const auto& page : {"IDH_WELCOME.htm", "IDH_INSTALL.htm", "IDH_DETAILS.htm",
                             "IDH_GLOSSARY_TERM.htm", "IDH_HIDDEN.htm"}) {
        const auto bytes = read(std::string("/_RESOURCE/") + page);
        ASSERT_TRUE(bytes) << page;
        for (std::sregex_iterator it(bytes->begin(), bytes->end(), href), end; it != end; ++it) {
            ++links;
            EXPECT_TRUE(read("/_RESOURCE/" + (*it)[2].str())) << page << " -> " << (*it)[2];
        }
    }
    EXPECT_GE(links, 5u);
    // The map numbers of the topics in the contents answer calls by number.
    const auto ivb = read("/#IVB");
    ASSERT_TRUE(ivb);
    std::vector<std::uint32_t> numbers;
    for (std::size_t at = 4; at + 8 <= ivb->size(); at += 8)
        numbers.push_back(static_cast<unsigned char>((*ivb)[at]) |
                          (static_cast<unsigned char>((*ivb)[at + 1]) << 8));
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<std::uint32_t>{10, 20, 30}));
    chm_close(chm);
}

}  // namespace
}  // namespace tarnbook::testing
