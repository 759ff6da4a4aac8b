#include <gtest/gtest.h>

#include <random>
#include <string>

#include "contents/TreeOps.h"
#include "contents/treeops/TreeText.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::contents;
using project::ContentTree;
using project::TreeNode;
using tarnbook::testing::buildTree;
using tarnbook::testing::findTitle;
using tarnbook::testing::levelsAgree;
using tarnbook::testing::treeText;

namespace {

struct MoveCase {
    const char* tree;
    const char* node;
    bool (*move)(project::Workspace&);
    const char* expected;
    bool marks;  // whether the saved flag must be cleared
};

std::string runMove(const MoveCase& c, bool* saved) {
    tarnbook::testing::WorkspaceFixture f;
    buildTree(f.ws.tree, c.tree);
    TreeNode* s = findTitle(f.ws.tree, c.node);
    f.ws.tree.selectOnly(s);
    c.move(f.ws);
    *saved = f.ws.saved;
    EXPECT_TRUE(levelsAgree(f.ws.tree)) << c.tree << " / " << c.node;
    if (c.marks) {
        EXPECT_EQ(f.ws.tree.focused(), s) << c.tree << " / " << c.node;
    }
    return treeText(f.ws.tree);
}

void expectMoves(const std::vector<MoveCase>& cases) {
    for (const auto& c : cases) {
        bool saved = true;
        EXPECT_EQ(runMove(c, &saved), c.expected) << c.tree << " / " << c.node;
        EXPECT_EQ(saved, !c.marks) << c.tree << " / " << c.node;
    }
}

}  // namespace

TEST(LevelSearch, AgreesWithThePreorderScanOnRandomTrees) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        ContentTree t;
        std::vector<TreeNode*> nodes;
        const int size = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < size; ++i) {
            TreeNode* parent =
                nodes.empty() || rng() % 4 == 0 ? nullptr : nodes[rng() % nodes.size()];
            nodes.push_back(t.appendChild(parent, std::make_unique<TreeNode>()));
        }
        int maxDepth = 0;
        for (TreeNode* n : nodes) maxDepth = std::max(maxDepth, n->depth());
        for (TreeNode* n : nodes)
            for (int level = -1; level <= maxDepth + 1; ++level) {
                ASSERT_EQ(levelNodeBefore(level, n), t.findLevelNode(level, 0, n));
                ASSERT_EQ(levelNodeAfter(level, n), t.findLevelNode(level, 1, n));
            }
    }
}

TEST(TreeMoves, MoveUpSwapsOrCrossesIntoTheEarlierBranch) {
    expectMoves({
        {"a b c", "b", moveUp, "b a c", true},
        {"a(x) b", "b", moveUp, "b a(x)", true},
        {"h1(a b) h2(c d)", "d", moveUp, "h1(a b) h2(d c)", true},
        {"h1(a b(y)) h2(c)", "c", moveUp, "h1(a b(y) c) h2", true},
        // First child of the second heading goes to the end of the first heading.
        {"h1(a b) h2(c d)", "c", moveUp, "h1(a b c) h2(d)", true},
        // First child of the first heading: no target, yet the tree counts as changed.
        {"h1(a b) h2(c)", "a", moveUp, "h1(a b) h2(c)", true},
        // The first node stops at once.
        {"a b", "a", moveUp, "a b", false},
    });
}

TEST(TreeMoves, MoveDownSwapsOrEntersTheNextBranch) {
    expectMoves({
        {"a b c", "a", moveDown, "b a c", true},
        {"a(x) b(y)", "a", moveDown, "b(y) a(x)", true},
        // Last child whose parent's next sibling has children: becomes its first child.
        {"h1(a b) h2(c d)", "b", moveDown, "h1(a) h2(b c d)", true},
        {"h1(a b) h2", "b", moveDown, "h1(a) h2(b)", true},
        // A node with children trades places with its next sibling.
        {"h1(a(x) b c)", "a", moveDown, "h1(b a(x) c)", true},
        {"h1(a(x) b) h2(c)", "a", moveDown, "h1(b a(x)) h2(c)", true},
        // The last child of a deeper branch moves before the next node of its level.
        {"h1(g(a(x)) g2(c))", "a", moveDown, "h1(g g2(a(x) c))", true},
        // Last visible node stops at once.
        {"a b", "b", moveDown, "a b", false},
        {"a b(x)", "b", moveDown, "a b(x)", false},
    });
}

TEST(TreeMoves, MoveDownOfAnExpandedNodeEndingTheTreeOnlyMarks) {
    tarnbook::testing::WorkspaceFixture f;
    buildTree(f.ws.tree, "a b(x(y))");
    TreeNode* b = findTitle(f.ws.tree, "b");
    f.ws.tree.setExpanded(b, true);
    f.ws.tree.selectOnly(b);
    EXPECT_TRUE(moveDown(f.ws));
    EXPECT_EQ(treeText(f.ws.tree), "a b(x(y))");
    EXPECT_FALSE(f.ws.saved);
}

TEST(TreeMoves, MoveRightAndLeft) {
    expectMoves({
        {"a b c", "b", moveRight, "a(b) c", true},
        {"a(x) b", "b", moveRight, "a(x b)", true},
        // A first child goes under the nearest earlier node of its level in another branch.
        {"h1(a b) h2(c d)", "c", moveRight, "h1(a b(c)) h2(d)", true},
        {"a b", "a", moveRight, "a b", true},
        // Move left of a middle child: right after the parent, later siblings stay.
        {"h(a b c) z", "b", moveLeft, "h(a c) b z", true},
        {"h(a b c)", "c", moveLeft, "h(a b) c", true},
        {"g(h(a b)) z(q(r))", "a", moveLeft, "g(h(b) a) z(q(r))", true},
        {"a b", "a", moveLeft, "a b", false},
    });
}

TEST(TreeMoves, MovedNodeKeepsOrRegainsItsExpansionAndOpensItsNewParent) {
    tarnbook::testing::WorkspaceFixture f;
    buildTree(f.ws.tree, "a b(c(d))");
    TreeNode* a = findTitle(f.ws.tree, "a");
    TreeNode* b = findTitle(f.ws.tree, "b");
    f.ws.tree.setExpanded(b, true);
    f.ws.tree.selectOnly(b);
    ASSERT_TRUE(moveRight(f.ws));
    EXPECT_EQ(treeText(f.ws.tree), "a(b(c(d)))");
    EXPECT_TRUE(a->expanded());
    EXPECT_TRUE(findTitle(f.ws.tree, "c")->expanded());
    EXPECT_TRUE(b->selected());
    EXPECT_EQ(f.ws.tree.selectedNodes().size(), 1u);
}

TEST(TreeMoves, RandomMovesKeepLevelsAndNodes) {
    tarnbook::testing::WorkspaceFixture f;
    buildTree(f.ws.tree, "a(b c(d e) f) g(h(i j) k) l m(n)");
    std::mt19937 rng(3);
    bool (*moves[])(project::Workspace&) = {moveUp, moveDown, moveLeft, moveRight};
    auto nodes = f.ws.tree.preorder();
    for (int i = 0; i < 2000; ++i) {
        for (TreeNode* n : nodes) f.ws.tree.setExpanded(n, rng() % 2 == 0);
        f.ws.tree.selectOnly(nodes[rng() % nodes.size()]);
        moves[rng() % 4](f.ws);
        ASSERT_EQ(f.ws.tree.count(), nodes.size());
        ASSERT_TRUE(levelsAgree(f.ws.tree)) << treeText(f.ws.tree);
    }
}

TEST(TreeSelection, ListsInPreorderFollowsMovesAndForgetsRemovedNodes) {
    ContentTree t;
    buildTree(t, "a(b c) d");
    auto titles = [&] {
        std::string s;
        for (TreeNode* n : t.selectedNodes()) s += n->data.Title;
        return s;
    };
    for (const char* n : {"d", "b", "a", "b"}) t.setSelected(findTitle(t, n), true);
    EXPECT_EQ(titles(), "abd");
    t.moveTo(findTitle(t, "d"), nullptr, 0);
    EXPECT_EQ(titles(), "dab");
    t.setSelected(findTitle(t, "b"), false);
    t.remove(findTitle(t, "a"));
    EXPECT_EQ(titles(), "d");
    t.clearSelection();
    EXPECT_EQ(titles(), "");
    EXPECT_FALSE(findTitle(t, "d")->selected());
}
