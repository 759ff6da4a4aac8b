#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "project/TData.h"

namespace tarnbook::project {

class ContentTree;
class TreeNode;

// Told about every change of the tree, before and after it, so that a view can keep its own
// bookkeeping (current row, expansion, scroll position) instead of starting over. A null parent
// is the top level; rows are child indexes.
class TreeObserver {
  public:
    virtual ~TreeObserver() = default;
    virtual void beforeInsert(const TreeNode* parent, std::size_t row) = 0;
    virtual void afterInsert() = 0;
    virtual void beforeRemove(const TreeNode* parent, std::size_t row) = 0;
    virtual void afterRemove() = 0;
    // `toRow` is the node's index under `to` once the move is done.
    virtual void beforeMove(const TreeNode* from, std::size_t fromRow, const TreeNode* to,
                            std::size_t toRow) = 0;
    virtual void afterMove() = 0;
    // The children of `parent` change order (a sort).
    virtual void beforeReorder(const TreeNode* parent) = 0;
    virtual void afterReorder(const TreeNode* parent) = 0;
    // Everything changes at once (clear, a project read).
    virtual void beforeReset() = 0;
    virtual void afterReset() = 0;
    // Caption, icon or record of one node changed.
    virtual void nodeChanged(const TreeNode* node) = 0;
};

// One node of the contents tree: its record plus the view state the commands depend on.
class TreeNode {
  public:
    TData data;
    std::u16string caption;  // the title as the tree shows it
    int imageIndex = 8;
    int selectedIndex = 8;
    // Shows its children; changed through ContentTree::setExpanded, so that views follow.
    bool expanded() const { return expanded_; }

    // Part of the (multi-)selection; changed through ContentTree::setSelected or selectOnly.
    bool selected() const { return selected_; }

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
    // The node holding this one (the invisible root for the top level).
    TreeNode* container_ = nullptr;
    bool selected_ = false;
    bool expanded_ = false;
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
    void setFocused(TreeNode* node);
    // Selected nodes in pre-order.
    std::vector<TreeNode*> selectedNodes() const;
    void clearSelection();
    // Adds a node to the selection or takes it out. Change `selected` through this (or
    // selectOnly), so that listing and clearing the selection cost its size, not the tree's.
    void setSelected(TreeNode* node, bool selected);
    void setExpanded(TreeNode* node, bool expanded);
    // Selects exactly this node and focuses it.
    void selectOnly(TreeNode* node);
    bool allExpanded() const;

    // The one observer (the window's model); null detaches it.
    void setObserver(TreeObserver* observer) { observer_ = observer; }
    // Tells the observer that a node's caption, icon or record changed.
    void nodeChanged(const TreeNode* node) {
        if (observer_ && !rebuilding_) observer_->nodeChanged(node);
    }

    // While one exists, the tree may be rebuilt wholesale (a project read): the observer sees
    // one reset instead of a notification per node.
    class Rebuild {
      public:
        explicit Rebuild(ContentTree& tree);
        ~Rebuild();
        Rebuild(const Rebuild&) = delete;
        Rebuild& operator=(const Rebuild&) = delete;

      private:
        ContentTree& tree_;
        bool outer_;
    };

  private:
    // Sets depths below a just-placed node and returns the size of its subtree.
    static std::size_t placeSubtree(TreeNode* node, int depth);
    void renumber(TreeNode* parent, std::size_t from);
    static std::vector<std::unique_ptr<TreeNode>>& childrenOf(TreeNode& node);
    TreeNode* containerOf(TreeNode* parent) { return parent ? parent : &root_; }
    void forgetViewStateIn(const TreeNode* subtreeRoot);
    // The structure changes without telling the observer; the public operations wrap them.
    void attach(TreeNode* parent, std::size_t index, std::unique_ptr<TreeNode> node);
    std::unique_ptr<TreeNode> detach(TreeNode* node);
    TreeObserver* notifying() const { return rebuilding_ ? nullptr : observer_; }
    void adoptSelection(TreeNode* subtreeRoot);

    TreeNode root_;  // invisible; its children are the top level
    std::size_t count_ = 0;
    TreeNode* focused_ = nullptr;
    std::vector<TreeNode*> selection_;  // the nodes in the tree whose selected flag is set
    TreeObserver* observer_ = nullptr;
    bool rebuilding_ = false;
};

}  // namespace tarnbook::project
