#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "contents/GeneratedPages.h"
#include "contents/IndexPage.h"
#include "contents/treeops/TreeText.h"
#include "platform/Files.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using tarnbook::testing::buildTree;
using tarnbook::testing::findTitle;
using tarnbook::testing::readBytes;
using tarnbook::testing::writeBytes;

namespace {

// "目次" and "■" in Shift_JIS.
const std::string kMokuji = "\x96\xDA\x8E\x9F";
const std::string kMark = "\x81\xA1";

struct IndexPage : ::testing::Test, tarnbook::testing::WorkspaceFixture {
    IndexPage() {
        EXPECT_TRUE(project::openProject(ws, makeProjectFile("P")));
        buildTree(ws.tree, "X A B");
        findTitle(ws.tree, "A")->data.HTML = "a.html";
        findTitle(ws.tree, "B")->data.HTML = "sub\\b.html";
        ws.tree.setSelected(findTitle(ws.tree, "A"), true);
        ws.tree.setSelected(findTitle(ws.tree, "B"), true);
    }
    std::vector<std::string> idxPages() const {
        std::vector<std::string> pages;
        for (const auto& e : std::filesystem::directory_iterator(dir.file("P/_RESOURCE")))
            if (e.path().filename().string().starts_with("IDX")) pages.push_back(e.path());
        return pages;
    }
    std::string body(const std::string& page) const {
        const std::string text = readBytes(page);
        const std::string start = std::string(contents::generatedComment()) + "\r\n";
        const auto b = text.find(start) + start.size();
        return text.substr(b, text.find("</BODY></HTML>") - b);
    }
};

TEST_F(IndexPage, RowsFollowTheTemplateOrTheBuiltInFormAndEachRunAddsAPageAndAHeading) {
    struct Case {
        const char* name;
        const char* templateFile;  // nullptr: no AutoIndex setting
        std::string expectedBody;
    };
    const std::string a = "<a href=\"a.html\">A</a>";
    const std::string b = "<a href=\"sub\\b.html\">B</a>";
    const std::vector<Case> cases = {
        {"no template", nullptr, kMark + a + "<br>\r\n" + kMark + b + "<br>\r\n"},
        {"template over two lines", "<li>\r\n$HREF$</li>\r\n",
         "<li>" + a + "</li>\r\n<li>" + b + "</li>\r\n"},
        {"placeholder twice", "$HREF$|$HREF$", a + "|" + a + "\r\n" + b + "|" + b + "\r\n"},
        {"template without the placeholder", "<li>x</li>\r\n",
         kMark + a + "<br>\r\n" + kMark + b + "<br>\r\n"},
    };
    std::size_t runs = 0;
    for (const Case& c : cases) {
        if (c.templateFile) {
            writeBytes(dir.file("row.txt"), c.templateFile);
            ws.project->writeString("XHP", "AutoIndex", dir.file("row.txt"));
        }
        const auto before = idxPages();
        ws.saved = true;
        project::TreeNode* heading = contents::generateIndexPage(ws);
        ++runs;
        ASSERT_NE(heading, nullptr) << c.name;
        EXPECT_FALSE(ws.saved);
        const auto after = idxPages();
        ASSERT_EQ(after.size(), before.size() + 1) << c.name;
        std::string page;
        for (const std::string& p : after)
            if (std::find(before.begin(), before.end(), p) == before.end()) page = p;
        EXPECT_EQ(body(page), c.expectedBody) << c.name;
        EXPECT_TRUE(readBytes(page).starts_with("<!DOCTYPE HTML")) << c.name;

        // The heading stands first, above the earlier ones and the original nodes.
        EXPECT_EQ(ws.tree.topLevel(0), heading);
        EXPECT_EQ(heading->data.Title, kMokuji);
        EXPECT_TRUE(heading->data.isHeading());
        EXPECT_TRUE(heading->data.KeyWord.empty());
        EXPECT_EQ(heading->data.HTML, std::filesystem::path(page).filename().string());
        for (std::size_t i = 0; i < runs; ++i) EXPECT_EQ(ws.tree.topLevel(i)->data.Title, kMokuji);
        EXPECT_EQ(ws.tree.topLevel(runs)->data.Title, "X");
    }
}

TEST_F(IndexPage, NothingSelectedWritesNothingAndTheTemplateIconSettingIsFollowed) {
    ws.tree.clearSelection();
    EXPECT_EQ(contents::generateIndexPage(ws), nullptr);
    EXPECT_TRUE(idxPages().empty());
    EXPECT_EQ(ws.tree.count(), 3u);

    ws.tree.setSelected(findTitle(ws.tree, "A"), true);
    ws.settings.writeInteger("TEMPLATE", "DEFAULT", 2);
    ws.settings.writeInteger("TEMPLATE2", "NodeIcon", 1);
    const project::TreeNode* heading = contents::generateIndexPage(ws);
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->data.ImageIndex, 4);
    EXPECT_EQ(heading->selectedIndex, 5);
}

}  // namespace
