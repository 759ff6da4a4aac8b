#include "contents/TreeChanges.h"
#include "contents/TreeOps.h"

#include <algorithm>
#include <stdexcept>

namespace tarnbook::contents {

using project::ContentTree;
using project::TreeNode;

namespace {

TreeNode* childAt(const ContentTree& tree, const NodePath& parent, std::size_t row) {
    TreeNode* p = nodeAt(tree, parent);
    const std::size_t count = p ? p->childCount() : tree.topLevelCount();
    if (row >= count) throw std::logic_error("the history does not match the contents tree");
    return p ? p->child(row) : tree.topLevel(row);
}

}  // namespace

NodePath pathOf(const TreeNode* node) {
    NodePath path;
    for (; node; node = node->parent()) path.push_back(node->indexInParent());
    std::reverse(path.begin(), path.end());
    return path;
}

TreeNode* nodeAt(const ContentTree& tree, const NodePath& path) {
    TreeNode* n = nullptr;
    for (std::size_t i : path) {
        const std::size_t count = n ? n->childCount() : tree.topLevelCount();
        if (i >= count) throw std::logic_error("the history does not match the contents tree");
        n = n ? n->child(i) : tree.topLevel(i);
    }
    return n;
}

NodeFields NodeFields::of(const TreeNode& node) {
    return {node.data, node.caption, node.imageIndex, node.selectedIndex};
}

ViewState ViewState::of(const ContentTree& tree) {
    ViewState v;
    if (tree.focused()) v.focused = pathOf(tree.focused());
    for (const TreeNode* n : tree.selectedNodes()) v.selected.push_back(pathOf(n));
    return v;
}

void ViewState::restore(ContentTree& tree) const {
    tree.clearSelection();
    for (const NodePath& p : selected) tree.setSelected(nodeAt(tree, p), true);
    tree.setFocused(focused ? nodeAt(tree, *focused) : nullptr);
}

Inserted::~Inserted() {
    ContentTree::destroy(std::move(kept_));
}

void Inserted::putBack(ContentTree& tree) {
    if (!kept_) throw std::logic_error("the history does not match the contents tree");
    // Back at the place it left, so every Level is still its depth.
    tree.insertChild(nodeAt(tree, parent_), row_, std::move(kept_));
}

void Inserted::takeOut(ContentTree& tree) {
    kept_ = tree.take(childAt(tree, parent_, row_));
}

void Inserted::undo(ContentTree& tree) {
    takeOut(tree);
}

void Inserted::redo(ContentTree& tree) {
    putBack(tree);
}

namespace {
// Moves the node at `from` to the place `to` names; both ends as the tree stands now.
void moveBetween(ContentTree& tree, const NodePath& fromParent, std::size_t fromRow,
                 const NodePath& toParent, std::size_t toRow) {
    TreeNode* node = childAt(tree, fromParent, fromRow);
    tree.moveTo(node, nodeAt(tree, toParent), toRow);
    relevel(node);
}
}  // namespace

void Moved::undo(ContentTree& tree) {
    moveBetween(tree, after_.toParent, after_.toRow, after_.fromParent, after_.fromRow);
}

void Moved::redo(ContentTree& tree) {
    moveBetween(tree, before_.fromParent, before_.fromRow, before_.toParent, before_.toRow);
}

void Reordered::undo(ContentTree& tree) {
    std::vector<std::size_t> inverse(order_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) inverse[order_[i]] = i;
    tree.reorderChildren(nodeAt(tree, parent_), inverse);
}

void Reordered::redo(ContentTree& tree) {
    tree.reorderChildren(nodeAt(tree, parent_), order_);
}

void Rewritten::apply(ContentTree& tree, const NodeFields& fields) {
    TreeNode* n = nodeAt(tree, node_);
    n->data = fields.data;
    n->data.Level = n->depth();
    n->caption = fields.caption;
    n->imageIndex = fields.imageIndex;
    n->selectedIndex = fields.selectedIndex;
    tree.nodeChanged(n);
}

void Expanded::undo(ContentTree& tree) {
    tree.setExpanded(nodeAt(tree, node_), !now_);
}

void Expanded::redo(ContentTree& tree) {
    tree.setExpanded(nodeAt(tree, node_), now_);
}

}  // namespace tarnbook::contents
