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

    // The hooks below serve a history of changes; a view needs none of them.
    // The node's record, caption or icons are about to be rewritten (ContentTree::willChange).
    virtual void beforeChange(const TreeNode* /*node*/) {}
    // The node's expanded flag has just flipped.
    virtual void expandedChanged(const TreeNode* /*node*/) {}
    // A removed subtree is about to be freed; an observer may keep it by taking the pointer.
    virtual void subtreeRemoved(std::unique_ptr<TreeNode>& /*subtree*/) {}
    // A subtree was taken out and handed to the caller, who may change or free it.
    virtual void subtreeTaken(const TreeNode& /*subtree*/) {}
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
    // Whether the node is placed in this tree (not taken out, nor in a taken-out subtree).
    bool contains(const TreeNode* node) const;

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
    // Reorders the children of `parent` so that child `order[i]` becomes child i; `order`
    // must be a permutation of the child indexes.
    void reorderChildren(TreeNode* parent, const std::vector<std::size_t>& order);
    // Announces that the caller is about to rewrite the node's record, caption or icons.
    void willChange(const TreeNode* node) {
        for (TreeObserver* o : notifying()) o->beforeChange(node);
    }

    // A detached deep copy of a subtree: records, captions, icons and the expanded and
    // selected flags.
    static std::unique_ptr<TreeNode> copySubtree(const TreeNode& top);
    // Frees a detached subtree without recursion, so that a deep one cannot exhaust the stack.
    static void destroy(std::unique_ptr<TreeNode> subtree);

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

    // The observers (the window's model, the change history), told in the order added.
    void addObserver(TreeObserver* observer);
    void removeObserver(TreeObserver* observer);
    // Tells the observers that a node's caption, icon or record changed.
    void nodeChanged(const TreeNode* node) {
        for (TreeObserver* o : notifying()) o->nodeChanged(node);
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
    TreeNode* containerOf(TreeNode* parent) { return parent ? parent : &root_; }
    void forgetViewStateIn(const TreeNode* subtreeRoot);
    // The structure changes without telling the observer; the public operations wrap them.
    void attach(TreeNode* parent, std::size_t index, std::unique_ptr<TreeNode> node);
    std::unique_ptr<TreeNode> detach(TreeNode* node);
    // take() without the subtreeTaken notice (remove() gives subtreeRemoved instead).
    std::unique_ptr<TreeNode> takeQuietly(TreeNode* node);
    // The observers to tell now: none while the tree is rebuilt.
    const std::vector<TreeObserver*>& notifying() const {
        static const std::vector<TreeObserver*> none;
        return rebuilding_ ? none : observers_;
    }
    void adoptSelection(TreeNode* subtreeRoot);

    TreeNode root_;  // invisible; its children are the top level
    std::size_t count_ = 0;
    TreeNode* focused_ = nullptr;
    std::vector<TreeNode*> selection_;  // the nodes in the tree whose selected flag is set
    std::vector<TreeObserver*> observers_;
    bool rebuilding_ = false;
};

}  // namespace tarnbook::project
