#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "project/TData.h"

namespace tarnbook::project {

class ContentTree;

// One node of the contents tree: its record plus the view state the commands depend on.
class TreeNode {
  public:
    TData data;
    std::u16string caption;  // the title as the tree shows it
    int imageIndex = 8;
    int selectedIndex = 8;
    bool expanded = false;
    bool selected = false;  // part of the (multi-)selection

    // The parent node; null for a top-level node.
    TreeNode* parent() const { return container_ && container_->container_ ? container_ : nullptr; }
    const std::vector<std::unique_ptr<TreeNode>>& children() const { return children_; }
    std::size_t childCount() const { return children_.size(); }
    bool hasChildren() const { return !children_.empty(); }
    TreeNode* child(std::size_t i) const { return children_[i].get(); }
    std::size_t indexInParent() const { return index_; }
    int depth() const { return depth_; }

    TreeNode* prevSibling() const;
    TreeNode* nextSibling() const;
    TreeNode* firstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    TreeNode* lastChild() const { return children_.empty() ? nullptr : children_.back().get(); }
    bool isAncestorOf(const TreeNode* other) const;

    // Sets caption and images from the record (after the title or icon changed).
    void syncViewFromData();

  private:
    friend class ContentTree;
    TreeNode* container_ =
        nullptr;  // the node holding this one (the invisible root for the top level)
    std::size_t index_ = 0;
    int depth_ = 0;
    std::vector<std::unique_ptr<TreeNode>> children_;
};

// The contents tree. Owns the nodes (and so their records) and the tree-wide view state:
// the focused node. Pre-order ("the flat item list") is the order of files and sitemaps.
class ContentTree {
  public:
    ContentTree();
    ~ContentTree();
    ContentTree(const ContentTree&) = delete;
    ContentTree& operator=(const ContentTree&) = delete;

    std::size_t topLevelCount() const { return root_.children_.size(); }
    TreeNode* topLevel(std::size_t i) const { return root_.children_[i].get(); }
    std::size_t count() const { return count_; }
    bool empty() const { return count_ == 0; }

    // Pre-order walking.
    TreeNode* first() const;
    TreeNode* last() const;  // the last node in pre-order
    static TreeNode* next(const TreeNode* node);
    static TreeNode* prev(const TreeNode* node);
    void forEach(const std::function<void(TreeNode&)>& visit) const;
    std::vector<TreeNode*> preorder() const;

    // Structure changes. `parent` null means the top level. Return the placed node.
    TreeNode* appendChild(TreeNode* parent, std::unique_ptr<TreeNode> node);
    TreeNode* insertChild(TreeNode* parent, std::size_t index, std::unique_ptr<TreeNode> node);
    TreeNode* insertBefore(TreeNode* sibling, std::unique_ptr<TreeNode> node);
    TreeNode* insertAfter(TreeNode* sibling, std::unique_ptr<TreeNode> node);
    // Detaches a node with its subtree and hands it to the caller.
    std::unique_ptr<TreeNode> take(TreeNode* node);
    void remove(TreeNode* node);
    // Moves a node (with its subtree) to a new place; the destination must not lie inside it.
    void moveTo(TreeNode* node, TreeNode* newParent, std::size_t index);
    // Reorders the children of `parent` (null: top level) by a strict weak order.
    void sortChildren(TreeNode* parent,
                      const std::function<bool(const TreeNode&, const TreeNode&)>& less);

    // Releases every node and its record.
    void clear();

    // The nearest node of depth `level` before `ref` (mode 0) or after it (mode 1) in pre-order.
    TreeNode* findLevelNode(int level, int mode, const TreeNode* ref) const;

    // Re-sets every record's Level from the node's real depth.
    void refreshNodeStatus();

    // View state.
    TreeNode* focused() const { return focused_; }
    void setFocused(TreeNode* node) { focused_ = node; }
    // Selected nodes in pre-order.
    std::vector<TreeNode*> selectedNodes() const;
    void clearSelection();
    // Adds a node to the selection or takes it out. Change `selected` through this (or
    // selectOnly), so that listing and clearing the selection cost its size, not the tree's.
    void setSelected(TreeNode* node, bool selected);
    // Selects exactly this node and focuses it.
    void selectOnly(TreeNode* node);
    bool allExpanded() const;

    // Called after any structural change, so views can reset.
    std::function<void()> onStructureChanged;

  private:
    // Sets depths below a just-placed node and returns the size of its subtree.
    static std::size_t placeSubtree(TreeNode* node, int depth);
    void renumber(TreeNode* parent, std::size_t from);
    static std::vector<std::unique_ptr<TreeNode>>& childrenOf(TreeNode& node);
    TreeNode* containerOf(TreeNode* parent) { return parent ? parent : &root_; }
    void forgetViewStateIn(const TreeNode* subtreeRoot);
    void adoptSelection(TreeNode* subtreeRoot);

    TreeNode root_;  // invisible; its children are the top level
    std::size_t count_ = 0;
    TreeNode* focused_ = nullptr;
    std::vector<TreeNode*> selection_;  // the nodes in the tree whose selected flag is set
};

}  // namespace tarnbook::project
