#include <gtest/gtest.h>

#include <filesystem>

#include "SiteCheck.h"
#include "authoring/ResourceRegistry.h"
#include "compile/SitemapWriter.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "project/ProjectJson.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"
#include "webexport/ExportWebForm.h"
#include "webexport/HtmlScanner.h"

namespace tarnbook::webexport {
namespace {

namespace fs = std::filesystem;

// The bundled sample, exported from a copy as the dialog's OK would do it.
TEST(SampleExport, EveryPageNodeAndKeywordReachesTheSite) {
    testing::WorkspaceFixture w;
    const std::string folder = w.dir.file("Sample");
    fs::copy(std::string(TARNBOOK_SOURCE_DIR) + "/examples/sample", folder,
             fs::copy_options::recursive);
    ASSERT_TRUE(project::openProject(w.ws, folder + "/Sample.XHP"));
    ASSERT_GT(w.ws.tree.count(), 0u);

    auto form = ExportWebForm::fromProject(*w.ws.project);
    form.outputFolder = w.dir.file("web");
    const auto result =
        runWebExport(form, *w.ws.project, w.ws.projectFolder(), w.ws.tree, w.prompts);
    ASSERT_TRUE(result) << (w.prompts.shown.empty() ? "" : w.prompts.shown.back().text);
    EXPECT_EQ(result->brokenLinks, 0u);

    const auto check = testing::checkSite(form.outputFolder);
    EXPECT_TRUE(check.brokenLinks.empty()) << check.brokenLinks.front();

    const std::string toc = testing::readText(form.outputFolder + "/_tarnbook/toc.js");
    std::size_t pagesNamed = 0;
    for (const project::TreeNode* node : w.ws.tree.preorder()) {
        const std::string title = platform::cp932ToUtf8(node->data.Title);
        EXPECT_NE(toc.find("{\"t\":" + project::jsonString(title)), std::string::npos) << title;
        if (node->data.HTML.empty() || node->data.HTML.rfind("http", 0) == 0) continue;
        ++pagesNamed;
        const std::string page = platform::cp932ToUtf8(platform::slashSeparators(node->data.HTML));
        EXPECT_TRUE(fs::is_regular_file(form.outputFolder + "/" + page)) << page;
    }
    EXPECT_GE(check.tocUrls.size(), pagesNamed);

    const std::string keywords = testing::readText(form.outputFolder + "/_tarnbook/keywords.html");
    std::size_t keywordCount = 0;
    for (const project::TreeNode* node : w.ws.tree.preorder()) {
        if (node->data.HTML.empty()) continue;
        for (const auto& list : {node->data.KeyWord, node->data.SubKeyWord})
            for (const auto& k : compile::splitKeywordText(list)) {
                ++keywordCount;
                // As the index shows it: without quotes and surrounding blanks.
                std::string text = platform::utf16ToUtf8(k);
                std::erase(text, '"');
                text = text.substr(text.find_first_not_of(' '));
                EXPECT_NE(keywords.find("<dt>" + escapeHtml(text) + "</dt>"), std::string::npos)
                    << text;
            }
    }
    for (const auto& a : authoring::readAdditions(*w.ws.project)) {
        if (a.key.empty()) continue;
        ++keywordCount;
        EXPECT_NE(keywords.find("<dt>" + platform::cp932ToUtf8(a.key) + "</dt>"),
                  std::string::npos);
    }
    EXPECT_GT(keywordCount, 5u);

    // The dialog's two settings live in the project file now.
    const std::string xhp = platform::cp932ToUtf8(testing::readText(folder + "/Sample.XHP"));
    EXPECT_NE(xhp.find("WebFolder=" + form.outputFolder), std::string::npos);
    EXPECT_NE(xhp.find("WebCSS="), std::string::npos);
}

}  // namespace
}  // namespace tarnbook::webexport
