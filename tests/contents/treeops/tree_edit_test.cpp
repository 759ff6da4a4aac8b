#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "contents/CommandTable.h"
#include "contents/TreeOps.h"
#include "contents/treeops/TreeText.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::contents;
using project::TData;
using project::TreeNode;
using tarnbook::testing::buildTree;
using tarnbook::testing::findTitle;
using tarnbook::testing::levelsAgree;
using tarnbook::testing::readBytes;
using tarnbook::testing::treeText;
using tarnbook::testing::WorkspaceFixture;
using tarnbook::testing::writeBytes;

namespace {

struct OpenProject : WorkspaceFixture {
    std::string pdir;
    std::string res;
    explicit OpenProject(const std::string& extra = "Version=249\r\n") {
        const std::string xhp = makeProjectFile("P", extra);
        EXPECT_TRUE(project::openProject(ws, xhp));
        pdir = ws.projectFolder();
        res = pdir + "/_RESOURCE";
    }
    // A page writer that records its call and writes a small file.
    std::vector<std::string> written;
    NewPageWriter writer() {
        return [this](const std::string& path, const std::string& title) {
            written.push_back(path);
            platform::createFolders(platform::folderPart(path));
            platform::writeFileAtomic(path, "<title>" + title + "</title>");
            return path;
        };
    }
};

TData titled(const std::string& title) {
    TData d;
    d.Title = title;
    return d;
}

}  // namespace

TEST(InsertNodeAfter, PlacesTheNewNodeAfterTheSelectionsSubtree) {
    WorkspaceFixture f;
    insertNodeAfter(f.ws, titled("a"));  // nothing selected: end of the top level
    buildTree(f.ws.tree, "h(x(y)) z");
    f.ws.tree.selectOnly(findTitle(f.ws.tree, "h"));
    insertNodeAfter(f.ws, titled("n1"));
    f.ws.tree.selectOnly(findTitle(f.ws.tree, "y"));
    insertNodeAfter(f.ws, titled("n2"));
    f.ws.tree.selectOnly(nullptr);
    insertNodeAfter(f.ws, titled("n3"));
    EXPECT_EQ(treeText(f.ws.tree), "a h(x(y n2)) n1 z n3");
    EXPECT_TRUE(levelsAgree(f.ws.tree));
}

TEST(AddItem, PageTextDecidesBetweenCopyWebAddressAndNewPage) {
    OpenProject p;
    const std::string outside = p.dir.file("src");
    writeBytes(outside + "/logo.htm", "page");
    writeBytes(outside + "/logo_files/pic.gif", "gif");
    writeBytes(p.res + "/logo.htm", "older");
    writeBytes(p.res + "/inside.htm", "in");

    ItemForm form{"T", outside + "/logo.htm", platform::utf8ToCp932("指定無し"), 2};
    TreeNode* copied = addItem(p.ws, ItemKind::Content, &form, p.writer());
    EXPECT_EQ(copied->data.HTML, "logo(1).htm");
    EXPECT_EQ(readBytes(p.res + "/logo(1).htm"), "page");
    EXPECT_EQ(readBytes(p.res + "/logo_files/pic.gif"), "gif");
    EXPECT_EQ(copied->data.Anchor, "");
    EXPECT_EQ(copied->data.ImageIndex, 10);
    EXPECT_EQ(copied->data.KeyWord, u"T");
    EXPECT_FALSE(p.ws.saved);

    form = {"In", p.res + "/inside.htm", "sec", 0};
    TreeNode* inside = addItem(p.ws, ItemKind::Heading, &form, p.writer());
    EXPECT_EQ(inside->data.HTML, "inside.htm");
    EXPECT_EQ(inside->data.Anchor, "sec");
    EXPECT_EQ(inside->selectedIndex, 1);
    EXPECT_FALSE(platform::fileExists(p.res + "/inside(1).htm"));

    form = {"W", "http://example.com/x", "", 0};
    TreeNode* web = addItem(p.ws, ItemKind::Heading, &form, p.writer());
    EXPECT_EQ(web->data.HTML, "http://example.com/x");
    EXPECT_EQ(web->imageIndex, 12);
    EXPECT_EQ(web->selectedIndex, 12);
    form = {"W2", "HTTP://example.com/y", "", 5};
    EXPECT_EQ(addItem(p.ws, ItemKind::Content, &form, p.writer())->imageIndex, 13);

    // A secure address is a web link like any other.
    form = {"S", "https://example.com/z.htm", "", 0};
    TreeNode* secure = addItem(p.ws, ItemKind::Content, &form, p.writer());
    EXPECT_EQ(secure->data.HTML, "https://example.com/z.htm");
    EXPECT_EQ(secure->imageIndex, 12);

    // Anything else names a new page, written inside the resource folder.
    form = {"N", "sub\\new.htm", "", 0};
    TreeNode* fresh = addItem(p.ws, ItemKind::Content, &form, p.writer());
    ASSERT_EQ(p.written.size(), 1u);
    EXPECT_EQ(p.written[0], p.res + "/sub/new.htm");
    EXPECT_EQ(fresh->data.HTML, "sub\\new.htm");
    EXPECT_TRUE(platform::fileExists(p.res + "/sub/new.htm"));
    EXPECT_TRUE(levelsAgree(p.ws.tree));

    // Without a writer of its own the page comes from the project's page settings.
    // Sub-folders the page text names are made.
    form = {"Fresh", "fresh.htm", "", 0};
    EXPECT_EQ(addItem(p.ws, ItemKind::Content, &form)->data.HTML, "fresh.htm");
    EXPECT_NE(readBytes(p.res + "/fresh.htm").find("Fresh"), std::string::npos);
    form = {"Deep", "a\\b\\deep.htm", "", 0};
    EXPECT_EQ(addItem(p.ws, ItemKind::Content, &form)->data.HTML, "a\\b\\deep.htm");
    EXPECT_NE(readBytes(p.res + "/a/b/deep.htm").find("Deep"), std::string::npos);
}

TEST(AddItem, RefusesPagesOutsideTheResourceFolderAndCancelOnlyRefreshes) {
    OpenProject p;
    ItemForm form{"E", "..\\..\\evil.htm", "", 0};
    EXPECT_EQ(addItem(p.ws, ItemKind::Content, &form, p.writer()), nullptr);
    EXPECT_TRUE(p.written.empty());
    EXPECT_TRUE(p.prompts.sawText("evil.htm"));
    EXPECT_TRUE(p.ws.tree.empty());
    EXPECT_EQ(addItem(p.ws, ItemKind::Content, nullptr, p.writer()), nullptr);
    EXPECT_TRUE(p.ws.saved);
}

TEST(DeleteSelection, RemovesSelectedSubtreesAndSelectsTheNodeBefore) {
    OpenProject p;
    buildTree(p.ws.tree, "h(a(b c) d) z");
    // A selected parent together with its selected child.
    p.ws.tree.setSelected(findTitle(p.ws.tree, "b"), true);
    p.ws.tree.setFocused(findTitle(p.ws.tree, "a"));
    p.ws.tree.setSelected(findTitle(p.ws.tree, "a"), true);
    p.ws.currentPage = "x";
    deleteSelection(p.ws, {});
    EXPECT_EQ(treeText(p.ws.tree), "h(d) z");
    EXPECT_EQ(p.ws.tree.focused(), findTitle(p.ws.tree, "h"));
    EXPECT_FALSE(p.ws.saved);
    EXPECT_FALSE(p.prompts.sawText("全てのコンテンツ"));
    EXPECT_EQ(p.ws.currentPage, "");

    // The remembered node was deleted too: nothing stays selected.
    p.ws.tree.selectOnly(findTitle(p.ws.tree, "z"));
    p.ws.tree.setSelected(findTitle(p.ws.tree, "d"), true);
    deleteSelection(p.ws, {});
    EXPECT_EQ(treeText(p.ws.tree), "h");
    EXPECT_EQ(p.ws.tree.focused(), nullptr);
}

TEST(DeleteSelection, TheFirstNodeAsksFirstAndAnEmptyTreeHidesTheEditor) {
    OpenProject p;
    buildTree(p.ws.tree, "a b");
    p.ws.tree.selectOnly(findTitle(p.ws.tree, "a"));
    p.prompts.answers.push_back(ui::Answer::No);
    deleteSelection(p.ws, {});
    EXPECT_EQ(treeText(p.ws.tree), "a b");
    EXPECT_TRUE(p.ws.saved);
    ASSERT_EQ(p.prompts.shown.size(), 1u);
    EXPECT_EQ(p.prompts.shown[0].buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(p.prompts.sawText("削除してよろしいですか？"));

    p.ws.tree.setSelected(findTitle(p.ws.tree, "b"), true);
    p.prompts.answers.push_back(ui::Answer::Yes);
    deleteSelection(p.ws, {});
    EXPECT_TRUE(p.ws.tree.empty());
    EXPECT_FALSE(p.status.pageVisible[ui::Page::Editor]);
}

TEST(SortNodes, ComparesUpperCasedShiftJisBytes) {
    OpenProject p;
    buildTree(p.ws.tree, "b(b abc ABD) abc ABD");
    sortNodes(p.ws, false);
    EXPECT_EQ(treeText(p.ws.tree), "abc ABD b(abc ABD b)");
    sortNodes(p.ws, true);
    EXPECT_EQ(treeText(p.ws.tree), "b(b ABD abc) ABD abc");
    EXPECT_FALSE(p.ws.saved);
    EXPECT_TRUE(levelsAgree(p.ws.tree));

    // Trail bytes are not letters: 0x83 0x72 sorts after 0x83 0x53.
    const std::u16string high = platform::decodeCp932("\x83\x72");
    const std::u16string low = platform::decodeCp932("\x83\x53");
    EXPECT_GT(compareCaptions(high, low), 0);
    EXPECT_LT(compareCaptions(u"ab", u"ABC"), 0);
    EXPECT_EQ(compareCaptions(u"abc", u"ABC"), 0);
}

TEST(SortNodes, SelectedNodesTradeRecordsWhileChildrenStay) {
    OpenProject p;
    buildTree(p.ws.tree, "c(x) b a");
    TreeNode* c = findTitle(p.ws.tree, "c");
    TreeNode* a = findTitle(p.ws.tree, "a");
    a->data.ItemType = TData::kContent;
    a->data.ImageIndex = 9;
    p.ws.tree.setSelected(c, true);
    p.ws.tree.setSelected(a, true);
    p.ws.tree.setFocused(c);
    sortNodes(p.ws, false);
    EXPECT_EQ(treeText(p.ws.tree), "a(x) b c");
    TreeNode* first = p.ws.tree.topLevel(0);
    EXPECT_EQ(first->caption, u"a");
    EXPECT_EQ(first->imageIndex, 9);
    EXPECT_EQ(first->selectedIndex, 9);
    EXPECT_EQ(p.ws.tree.topLevel(2)->selectedIndex, 1);
    EXPECT_TRUE(levelsAgree(p.ws.tree));
}

TEST(SortNodes, FindingEverythingInOrderLeavesTheProjectSaved) {
    struct Case {
        const char* tree;
        const char* selected;  // titles, the first focused; empty: the whole tree
        bool descending;
        bool changes;
        const char* after;
    };
    const Case cases[] = {
        {"a(x y) B", "", false, false, "a(x y) B"},
        {"a(y x) b", "", false, true, "a(x y) b"},  // only a nested level is out of order
        {"b a", "", true, false, "b a"},
        {"a b", "", true, true, "b a"},
        {"a b c", "a c", false, false, "a b c"},
        {"c(x) b a", "c a", false, true, "a(x) b c"},
        {"a A", "A a", false, false, "a A"},  // equal captions keep their places
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.tree) + " / " + c.selected);
        OpenProject p;
        buildTree(p.ws.tree, c.tree);
        std::istringstream titles(c.selected);
        for (std::string t; titles >> t;) {
            TreeNode* n = findTitle(p.ws.tree, t);
            p.ws.tree.setSelected(n, true);
            if (!p.ws.tree.focused()) p.ws.tree.setFocused(n);
        }
        ASSERT_TRUE(p.ws.saved);
        sortNodes(p.ws, c.descending);
        EXPECT_EQ(treeText(p.ws.tree), c.after);
        EXPECT_EQ(p.ws.saved, !c.changes);
    }
}

TEST(KindAndIcons, ChangeKindKeepsChildrenAndToggleSwitchesVariants) {
    OpenProject p("Version=249\r\nNodeIcon=1\r\n");
    buildTree(p.ws.tree, "h(a)");
    TreeNode* h = findTitle(p.ws.tree, "h");
    p.ws.tree.selectOnly(h);
    changeKind(p.ws);
    EXPECT_EQ(h->data.ItemType, TData::kContent);
    EXPECT_EQ(h->imageIndex, 10);
    EXPECT_EQ(h->selectedIndex, 10);
    EXPECT_EQ(treeText(p.ws.tree), "h(a)");
    changeKind(p.ws);
    EXPECT_EQ(h->imageIndex, 4);
    EXPECT_EQ(h->selectedIndex, 5);

    toggleNodeIcon(p.ws);
    EXPECT_EQ(h->data.ImageIndex, 6);
    h->data.ImageIndex = 2;
    toggleNodeIcon(p.ws);
    EXPECT_EQ(h->data.ImageIndex, 0);
    EXPECT_EQ(h->selectedIndex, 1);
    h->data.ImageIndex = 12;
    toggleNodeIcon(p.ws);
    EXPECT_EQ(h->data.ImageIndex, 12);

    TreeNode* a = findTitle(p.ws.tree, "a");
    a->data.ItemType = TData::kContent;
    a->data.ImageIndex = 8;
    p.ws.tree.selectOnly(a);
    toggleNodeIcon(p.ws);
    EXPECT_EQ(a->imageIndex, 9);
    EXPECT_EQ(a->selectedIndex, 9);
    toggleNodeIcon(p.ws);
    EXPECT_EQ(a->imageIndex, 8);
}

TEST(ExpandOrCollapse, TogglesTheSubtreeOrTheWholeTree) {
    OpenProject p;
    buildTree(p.ws.tree, "a(b(c)) d(e)");
    p.ws.tree.selectOnly(findTitle(p.ws.tree, "a"));
    expandOrCollapse(p.ws);
    EXPECT_TRUE(findTitle(p.ws.tree, "b")->expanded());
    EXPECT_FALSE(findTitle(p.ws.tree, "d")->expanded());
    expandOrCollapse(p.ws);
    EXPECT_FALSE(findTitle(p.ws.tree, "a")->expanded());

    p.ws.tree.selectOnly(nullptr);
    expandOrCollapse(p.ws);
    EXPECT_TRUE(p.ws.tree.allExpanded());
    expandOrCollapse(p.ws);
    EXPECT_FALSE(p.ws.tree.allExpanded());
    EXPECT_FALSE(findTitle(p.ws.tree, "d")->expanded());
    EXPECT_TRUE(p.ws.saved);
}

// The window's one rule set, evaluated as the window does: from the workspace's state.
bool on(const project::Workspace& ws, std::string_view id) {
    return ruleEnabled(findCommand(id)->rule, enableStateOf(ws));
}

TEST(EnableRules, FollowProjectSelectionAndMultiSelect) {
    WorkspaceFixture none;
    EXPECT_FALSE(on(none.ws, "TbAddHeader"));
    EXPECT_TRUE(on(none.ws, "ActSortItemUp"));

    OpenProject p;
    buildTree(p.ws.tree, "a(b) c");
    EXPECT_TRUE(on(p.ws, "TbAddContent"));
    EXPECT_FALSE(on(p.ws, "TbDelItem"));
    p.ws.tree.selectOnly(findTitle(p.ws.tree, "a"));
    EXPECT_FALSE(on(p.ws, "TbMoveUp"));
    EXPECT_TRUE(on(p.ws, "TbMoveDown"));
    EXPECT_FALSE(on(p.ws, "TbMoveLeft"));
    EXPECT_FALSE(on(p.ws, "EditHTML"));
    p.ws.tree.selectOnly(findTitle(p.ws.tree, "b"));
    EXPECT_TRUE(on(p.ws, "TbMoveLeft"));
    findTitle(p.ws.tree, "b")->data.HTML = "b.htm";
    EXPECT_TRUE(on(p.ws, "EditHTML"));
    findTitle(p.ws.tree, "b")->data.ImageIndex = 14;
    EXPECT_FALSE(on(p.ws, "ViewRedraw"));
    p.ws.isMultiSelect = true;
    EXPECT_FALSE(on(p.ws, "TbMoveRight"));
    EXPECT_FALSE(on(p.ws, "TbCngProperty"));
    EXPECT_TRUE(on(p.ws, "TbDelItem"));
    EXPECT_TRUE(on(p.ws, "CngType"));
    EXPECT_TRUE(on(p.ws, "TBSortItem"));
}
