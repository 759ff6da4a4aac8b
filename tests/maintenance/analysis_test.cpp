#include <gtest/gtest.h>

#include <algorithm>

#include "CraftedProject.h"
#include "maintenance/ReferenceViews.h"
#include "platform/Files.h"
#include "project/ContentTree.h"

namespace tarnbook::maintenance {
namespace {

using testing::CraftedProject;
using testing::writeBytes;

std::vector<std::string> captions(const std::vector<ViewRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.caption);
    return out;
}

TEST(Analysis, CraftedProjectHasExactlyOneUnusedFile) {
    CraftedProject p;
    const auto result = analyze(p.input());
    ASSERT_TRUE(result);
    EXPECT_EQ(result->unusedRelative, std::vector<std::string>{"unused.gif"});
    EXPECT_EQ(result->unusedFiles, std::vector<std::string>{p.resource + "/unused.gif"});
    EXPECT_EQ(result->scannedPages,
              (std::vector<std::string>{"index.htm", "sub\\page.htm", "style.css"}));
    EXPECT_FALSE(result->hasBroken());

    EXPECT_EQ(captions(viewRows(*result, View::Pages)),
              (std::vector<std::string>{"index.htm", "sub\\page.htm"}));
    EXPECT_EQ(captions(viewRows(*result, View::Files)),
              (std::vector<std::string>{"img\\a.gif", "img\\paper.gif", "style.css", "sub\\bg.gif",
                                        "sub\\img\\b.gif", "sub\\IMG\\C.GIF", "sub\\pic.gif"}));
    const auto external = viewRows(*result, View::External);
    ASSERT_EQ(external.size(), 1u);
    EXPECT_EQ(external[0].caption, "https://example.org/x.gif");
    EXPECT_EQ(external[0].icon, kIconExternal);
    EXPECT_EQ(viewRows(*result, View::Unused).at(0).icon, kIconUnused);

    const Counters c = countersOf(*result);
    EXPECT_EQ(c.pages, 2u);
    EXPECT_EQ(c.files, 7u);
    EXPECT_EQ(c.external, 1u);
    EXPECT_EQ(c.all, 10u);
    EXPECT_EQ(c.unused, 1u);
}

TEST(Analysis, ReportsMissingAndEscapingReferencesWithTheirPageAndLine) {
    CraftedProject p;
    p.put("sub/page.htm", "<p>\n<img src=\"gone.gif\">\n<img src=\"../../up.gif\">");
    const auto result = analyze(p.input());
    ASSERT_TRUE(result);
    ASSERT_TRUE(result->hasBroken());
    std::vector<std::string> broken;
    for (const Reference& r : result->references)
        if (r.broken())
            broken.push_back(r.from + ":" + std::to_string(r.line) + ":" + r.target.path +
                             (r.target.outside ? ":outside" : ":missing"));
    EXPECT_EQ(broken, (std::vector<std::string>{"sub\\page.htm:2:sub\\gone.gif:missing",
                                                "sub\\page.htm:3:..\\up.gif:outside"}));
}

TEST(Analysis, NodesAndAddedResourcesCountAsReferences) {
    CraftedProject p;
    p.put("sub/page.htm", "no references");
    project::ContentTree tree;
    auto node = std::make_unique<project::TreeNode>();
    node->data.Title = "Page";
    node->data.HTML = "SUB\\PAGE.HTM";  // letter case of a Windows project
    tree.appendChild(nullptr, std::move(node));
    auto missing = std::make_unique<project::TreeNode>();
    missing->data.Title = "Lost";
    missing->data.HTML = "lost.htm";
    tree.appendChild(nullptr, std::move(missing));
    platform::IniFile ini;
    ini.writeInteger("Addition", "Count", 2);
    ini.writeString("Addition", "File1", "_resource\\img\\a.gif");
    ini.writeString("Addition", "File2", "elsewhere\\unused.gif");

    const std::string projectFolder = p.dir.path();
    const auto result = analyze(projectAnalysisInput(projectFolder, tree, ini));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->scannedPages, std::vector<std::string>{"SUB\\PAGE.HTM"});
    // index.htm and everything only it led to are now unused; a.gif is an added resource.
    std::vector<std::string> unused = result->unusedRelative;
    std::sort(unused.begin(), unused.end());
    EXPECT_EQ(unused, (std::vector<std::string>{"img\\paper.gif", "index.htm", "style.css",
                                                "sub\\bg.gif", "sub\\img\\b.gif", "sub\\img\\c.gif",
                                                "sub\\pic.gif", "unused.gif"}));
    ASSERT_TRUE(result->hasBroken());
    for (const Reference& r : result->references)
        if (r.broken()) {
            EXPECT_EQ(r.origin, Origin::ContentsNode);
            EXPECT_EQ(r.from, "Lost");
        }
}

TEST(Analysis, NestedResourceFolderMakesNothingUnused) {
    CraftedProject p;
    p.put("old/_resource/x.gif", "x");
    const auto result = analyze(p.input());
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->nestedResourceFolder);
    EXPECT_TRUE(result->unusedFiles.empty());
}

TEST(Analysis, ReportsEveryPhaseAndStopsWhenCancelled) {
    CraftedProject p;
    std::vector<Phase> phases;
    const auto all = analyze(p.input(), [&](Phase ph, std::size_t done, std::size_t total) {
        EXPECT_LE(done, total);
        if (phases.empty() || phases.back() != ph) phases.push_back(ph);
        return true;
    });
    ASSERT_TRUE(all);
    EXPECT_EQ(phases, (std::vector<Phase>{Phase::CollectReferences, Phase::FindUnused,
                                          Phase::DistinctReferences}));
    for (Phase stopAt : phases) {
        const auto cancelled =
            analyze(p.input(), [&](Phase ph, std::size_t, std::size_t) { return ph != stopAt; });
        EXPECT_FALSE(cancelled);
    }
}

}  // namespace
}  // namespace tarnbook::maintenance
