#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contents/NodeSelection.h"
#include "contents/treeops/TreeText.h"
#include "platform/Files.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::contents;
using project::TreeNode;
using tarnbook::testing::buildTree;
using tarnbook::testing::findTitle;
using tarnbook::testing::treeText;
using tarnbook::testing::WorkspaceFixture;
using tarnbook::testing::writeBytes;

namespace {

// An open project with a template folder holding the fixed pages, and hooks that record.
struct Selection : WorkspaceFixture {
    std::string res, templ, def;
    std::vector<std::string> calls;
    TreeHooks hooks;
    bool editorShowing = false;

    Selection() {
        EXPECT_TRUE(project::openProject(ws, makeProjectFile("P")));
        res = ws.projectFolder() + "/_RESOURCE";
        templ = dir.file("tmpl");
        def = templ + "/Default.HTML";
        for (const char* page : {"/Default.HTML", "/NotFound.HTML", "/Remote.HTML"})
            writeBytes(templ + page, "fixed");
        ws.settings.writeString("SYSTEM", "TEMPLATE", templ);
        ws.settings.writeString("SYSTEM", "DefHTML", def);
        hooks.highlightTags = [this] { calls.push_back("highlight"); };
        hooks.editorPageShowing = [this] { return editorShowing; };
        hooks.openContextMenu = [this] { calls.push_back("menu"); };
        hooks.editHtml = [this] { calls.push_back("edit"); };
        hooks.scrollHorizontally = [this](int s) { calls.push_back("scroll" + std::to_string(s)); };
        buildTree(ws.tree, "a b c");
    }
    TreeNode* node(const char* title, const std::string& html, int icon = 8) {
        TreeNode* n = findTitle(ws.tree, title);
        n->data.HTML = html;
        n->data.ImageIndex = icon;
        return n;
    }
    void click(TreeNode* n) {
        treeMouseDown(ws, {n, false, true}, hooks);
        ws.tree.selectOnly(n);
        showSelectedNode(ws, hooks);
    }
    bool called(const std::string& what) const {
        return std::find(calls.begin(), calls.end(), what) != calls.end();
    }
};

}  // namespace

TEST(ShowSelectedNode, LoadsAnExistingPageIntoEditorAndPreview) {
    Selection s;
    writeBytes(s.res + "/page.htm", "<p><a name=\"sec\">x</a>");
    TreeNode* a = s.node("a", "page.htm");
    a->data.Anchor = "sec";
    s.editorShowing = true;
    const std::size_t before = s.preview.shown.size();
    s.click(a);
    EXPECT_EQ(s.editor.text, "<p><a name=\"sec\">x</a>");
    EXPECT_FALSE(s.editor.isReadOnly);
    EXPECT_TRUE(s.called("highlight"));
    EXPECT_EQ(s.editor.selStart, 3);
    EXPECT_EQ(s.editor.selLength, 12);
    EXPECT_EQ(s.status.panes[0], s.res + "/page.htm#sec");
    EXPECT_EQ(s.preview.last(), s.res + "/page.htm#sec");
    EXPECT_EQ(s.ws.currentPage, s.res + "/page.htm");
    // Clicking again with an anchor navigates again.
    s.click(a);
    EXPECT_EQ(s.preview.shown.size(), before + 2);
}

TEST(ShowSelectedNode, StandInPagesForWebMissingAndSpecialFiles) {
    Selection s;
    s.editor.text = "old";
    s.click(s.node("a", "http://example.com/", 13));
    EXPECT_EQ(s.preview.last(), s.templ + "/Remote.HTML");
    EXPECT_FALSE(s.called("highlight"));

    s.click(s.node("b", "gone.htm"));
    EXPECT_EQ(s.preview.last(), s.templ + "/NotFound.HTML");
    EXPECT_TRUE(s.prompts.shown.empty());

    writeBytes(s.res + "/doc.RTF", "{\\rtf1}");
    s.click(s.node("c", "doc.RTF"));
    EXPECT_EQ(s.editor.richTextPath, s.res + "/doc.RTF");
    EXPECT_EQ(s.ws.currentPage, s.def);

    writeBytes(s.res + "/doc.rtf", "{\\rtf1 lower}");
    s.click(s.node("c", "doc.rtf"));
    EXPECT_EQ(s.editor.text, "{\\rtf1 lower}");

    writeBytes(s.res + "/arch.mht", "MIME");
    s.click(s.node("c", "arch.mht"));
    EXPECT_EQ(s.editor.text, "");
    EXPECT_EQ(s.preview.last(), s.res + "/arch.mht");

    s.click(s.node("a", ""));
    EXPECT_TRUE(s.editor.isReadOnly);
    EXPECT_EQ(s.preview.last(), s.def);
}

TEST(ShowSelectedNode, MissingDefaultPageWarnsAndKeepsCurrentPage) {
    Selection s;
    s.ws.settings.writeString("SYSTEM", "DefHTML", s.templ + "/none.html");
    s.ws.currentPage = "before";
    s.ws.tree.selectOnly(nullptr);
    showSelectedNode(s.ws, s.hooks);
    EXPECT_TRUE(s.prompts.sawText("none.html ] が見つかりません。"));
    EXPECT_EQ(s.ws.currentPage, "before");
}

TEST(TreeMouse, RightClickSelectsAndOpensTheMenuWithoutLoading) {
    Selection s;
    writeBytes(s.res + "/page.htm", "text");
    TreeNode* b = s.node("b", "page.htm");
    const std::size_t before = s.preview.shown.size();
    treeMouseDown(s.ws, {b, true, false}, s.hooks);
    EXPECT_EQ(s.ws.tree.focused(), b);
    EXPECT_TRUE(s.called("menu"));
    EXPECT_EQ(s.preview.shown.size(), before);
    EXPECT_EQ(s.editor.text, "");

    s.ws.settings.writeBool("SYSTEM", "RClickRefresh", true);
    treeMouseDown(s.ws, {b, true, false}, s.hooks);
    EXPECT_EQ(s.preview.last(), s.res + "/page.htm");

    treeMouseDown(s.ws, {b, false, true, true}, s.hooks);
    EXPECT_TRUE(s.ws.isMultiSelect);
    treeMouseDown(s.ws, {b, false, true, true, true}, s.hooks);
    EXPECT_FALSE(s.ws.isMultiSelect);
    treeMouseDown(s.ws, {nullptr, false, true}, s.hooks);
    EXPECT_EQ(s.ws.tree.focused(), nullptr);
    EXPECT_FALSE(s.status.pageVisible[ui::Page::Editor]);
}

TEST(TreeKeys, EnterShowsCtrlKeysEditMoveAndToggle) {
    Selection s;
    writeBytes(s.res + "/page.htm", "text");
    TreeNode* b = s.node("b", "page.htm");
    s.ws.tree.selectOnly(b);
    s.ws.isMultiSelect = true;
    treeKeyDown(s.ws, {TreeKey::Enter, false, true}, s.hooks);
    EXPECT_FALSE(s.ws.isMultiSelect);
    EXPECT_EQ(s.preview.last(), s.res + "/page.htm");
    EXPECT_TRUE(s.called("edit"));

    // The remote page is showing: no external editing.
    s.calls.clear();
    s.node("b", "http://x/", 12);
    treeKeyDown(s.ws, {TreeKey::Enter, false, true}, s.hooks);
    EXPECT_EQ(s.ws.currentPage, s.templ + "/Remote.HTML");
    EXPECT_FALSE(s.called("edit"));

    s.ws.saved = true;
    treeKeyDown(s.ws, {TreeKey::Left, false, true}, s.hooks);  // top level: nothing
    EXPECT_TRUE(s.ws.saved);
    treeKeyDown(s.ws, {TreeKey::Up, false, true}, s.hooks);
    EXPECT_EQ(treeText(s.ws.tree), "b a c");
    EXPECT_FALSE(s.ws.saved);
    b->data.ItemType = project::TData::kContent;
    treeKeyDown(s.ws, {TreeKey::Tab, false, true}, s.hooks);
    EXPECT_EQ(b->data.ImageIndex, 13);

    treeKeyDown(s.ws, {TreeKey::Down, true, false}, s.hooks);
    EXPECT_TRUE(s.ws.isMultiSelect);
    treeKeyDown(s.ws, {TreeKey::Right, false, false}, s.hooks);
    EXPECT_FALSE(s.ws.isMultiSelect);
    EXPECT_TRUE(s.called("scroll1"));

    buildTree(s.ws.tree, "d(e(f))");
    treeKeyDown(s.ws, {TreeKey::A, true, true}, s.hooks);
    EXPECT_TRUE(findTitle(s.ws.tree, "e")->expanded());
}

TEST(TreeDrop, ProjectFileOpensAndOtherFilesAreImportedAfterTheTitleQuestion) {
    Selection s;
    std::vector<std::string> imported;
    std::optional<int> answer;  // cancelled
    int asked = 0;
    s.hooks.isDropImportable = [](const std::string& p) { return p.ends_with(".htm"); };
    s.hooks.askTitleSource = [&] {
        ++asked;
        return answer;
    };
    s.hooks.nodeAtDropPoint = [&] { return findTitle(s.ws.tree, "b"); };
    s.hooks.importOneFile = [&](const std::string& p, TreeNode* parent, int mode,
                                const std::string& sub) {
        imported.push_back(p + "|" + parent->data.Title + "|" + std::to_string(mode) + "|" + sub);
    };
    const std::string one = s.dir.file("one.htm"), two = s.dir.file("two.htm");
    writeBytes(one, "1");
    writeBytes(two, "2");
    const std::vector<std::string> drop{s.dir.file("skip.zip"), one, two};

    dropOnTree(s.ws, drop, s.hooks);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(imported.empty());
    EXPECT_TRUE(s.ws.saved);

    answer = -1;  // no choice counts as the title element
    dropOnTree(s.ws, drop, s.hooks);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(imported, (std::vector<std::string>{one + "|b|1|", two + "|b|1|"}));
    EXPECT_FALSE(s.ws.saved);

    // A single project file opens it instead.
    WorkspaceFixture other;
    const std::string xhp = other.makeProjectFile("Q");
    std::string remembered;
    s.ws.rememberRecentProject = [&](const std::string& p) { remembered = p; };
    s.prompts.answers.push_back(ui::Answer::No);  // do not save the changed contents
    dropOnTree(s.ws, {xhp}, s.hooks);
    EXPECT_EQ(s.ws.projectFile(), xhp);
    EXPECT_EQ(remembered, platform::upperCaseSjis(xhp));
    EXPECT_EQ(imported.size(), 2u);
}
