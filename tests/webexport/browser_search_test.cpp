#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Cp932.h"
#include "platform/Process.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"
#include "webexport/ExportWebForm.h"
#include "webexport/SiteLinks.h"

namespace tarnbook::webexport {
namespace {

namespace fs = std::filesystem;

// The exported sample opened in a real browser (headless Chromium from the distribution):
// the scripts draw the side bar and answer a Japanese search from the shipped index.
class BrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        browser_ = platform::findExecutable("chromium");
        ASSERT_FALSE(browser_.empty())
            << "chromium is not installed (tools/install-deps.sh installs it)";
        fs::copy(std::string(TARNBOOK_SOURCE_DIR) + "/examples/sample", w_.dir.file("Sample"),
                 fs::copy_options::recursive);
        ASSERT_TRUE(project::openProject(w_.ws, w_.dir.file("Sample/Sample.XHP")));
        auto form = ExportWebForm::fromProject(*w_.ws.project);
        form.outputFolder = site_ = w_.dir.file("web");
        ASSERT_TRUE(
            runWebExport(form, *w_.ws.project, w_.ws.projectFolder(), w_.ws.tree, w_.prompts));
    }

    // The document after its scripts ran.
    std::string dom(const std::string& relativeUrl) {
        std::string out;
        const int rc = platform::runAndCapture(
            browser_,
            {"--headless", "--no-sandbox", "--disable-gpu",
             "--user-data-dir=" + w_.dir.file("profile"), "--virtual-time-budget=5000",
             "--dump-dom", "file://" + encodeUrlPath(site_) + "/" + relativeUrl},
            "", &out);
        EXPECT_EQ(rc, 0) << out;
        return out;
    }

    testing::WorkspaceFixture w_;
    std::string browser_;
    std::string site_;
};

TEST_F(BrowserTest, SearchFindsAJapaneseWordOfAPage) {
    const struct {
        const char* query;  // percent-encoded UTF-8
        const char* page;   // must be among the results
        const char* count;
    } cases[] = {
        {"%E4%BF%9D%E5%AD%98%E5%85%88", "basics/settings.htm", "「保存先」: 1 件"},  // 保存先
        {"%E6%96%87%E5%AD%97%E5%8C%96%E3%81%91", "faq.htm", "「文字化け」: 1 件"},   // 文字化け
        {"%EF%BC%B3%EF%BC%A8%EF%BC%A9%EF%BC%A6%EF%BC%B4", "faq.htm",
         "「ＳＨＩＦＴ」: 1 件"},  // ＳＨＩＦＴ
    };
    for (const auto& c : cases) {
        const std::string html = dom(std::string("_tarnbook/search.html?q=") + c.query);
        EXPECT_NE(html.find(c.count), std::string::npos) << c.query << "\n" << html;
        EXPECT_NE(html.find(std::string("href=\"../") + c.page + "\""), std::string::npos)
            << c.query;
    }
}

TEST_F(BrowserTest, EveryPageShowsTheContentsSideBar) {
    const std::string html = dom("basics/install.htm");
    ASSERT_NE(html.find("id=\"tb-side\""), std::string::npos) << html;
    for (const project::TreeNode* node : w_.ws.tree.preorder())
        EXPECT_NE(html.find(">" + platform::cp932ToUtf8(node->data.Title) + "<"), std::string::npos)
            << platform::cp932ToUtf8(node->data.Title);
    EXPECT_NE(html.find("tb-current"), std::string::npos);  // this page is marked in the tree
}

}  // namespace
}  // namespace tarnbook::webexport
