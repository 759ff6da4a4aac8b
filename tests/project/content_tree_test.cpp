#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "project/ContentTree.h"

using namespace tarnbook::project;

namespace {

TreeNode* add(ContentTree& t, TreeNode* parent, const std::string& title) {
    auto n = std::make_unique<TreeNode>();
    n->data.Title = title;
    return t.appendChild(parent, std::move(n));
}

std::string order(const ContentTree& t) {
    std::string s;
    t.forEach([&](TreeNode& n) { s += n.data.Title + std::to_string(n.depth()) + " "; });
    return s;
}

}  // namespace

TEST(ContentTree, PreorderWalksBothWaysAndCountsNodes) {
    ContentTree t;
    TreeNode* a = add(t, nullptr, "a");
    TreeNode* b = add(t, a, "b");
    add(t, b, "c");
    TreeNode* d = add(t, nullptr, "d");
    EXPECT_EQ(order(t), "a0 b1 c2 d0 ");
    EXPECT_EQ(t.count(), 4u);
    EXPECT_EQ(ContentTree::prev(d)->data.Title, "c");
    EXPECT_EQ(t.last(), d);
    EXPECT_EQ(t.findLevelNode(1, 0, d), b);
    EXPECT_EQ(t.findLevelNode(0, 1, b), d);
    EXPECT_EQ(t.findLevelNode(0, 0, a), nullptr);  // the reference node never counts
    EXPECT_EQ(t.findLevelNode(0, 2, b), nullptr);
}

TEST(ContentTree, MovingASubtreeKeepsDepthsCountsAndFocus) {
    ContentTree t;
    TreeNode* a = add(t, nullptr, "a");
    TreeNode* b = add(t, a, "b");
    add(t, b, "c");
    TreeNode* d = add(t, nullptr, "d");
    t.setFocused(b);
    t.moveTo(b, d, 0);
    EXPECT_EQ(order(t), "a0 d0 b1 c2 ");
    EXPECT_EQ(t.focused(), b);
    EXPECT_EQ(b->parent(), d);
    EXPECT_THROW(t.moveTo(d, b, 0), std::logic_error);
    t.remove(d);
    EXPECT_EQ(order(t), "a0 ");
    EXPECT_EQ(t.count(), 1u);
    EXPECT_EQ(t.focused(), nullptr);
}

TEST(ContentTree, VeryDeepTreesAreFreedWithoutRecursion) {
    ContentTree t;
    TreeNode* p = nullptr;
    for (int i = 0; i < 200000; ++i) p = add(t, p, "n");
    EXPECT_EQ(p->depth(), 199999);
    t.clear();
    EXPECT_EQ(t.count(), 0u);
}
