#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/ContentTree.h"

// The reversible changes a step of the contents history is made of. Each names its nodes by
// position, which is exact because steps are undone in reverse and redone in order: a change
// is replayed only on the tree it was recorded on.
namespace tarnbook::contents {

// Child indexes from the top level down; empty names the top level itself.
using NodePath = std::vector<std::size_t>;

NodePath pathOf(const project::TreeNode* node);
// The node at `path`; null for the empty path. Throws std::logic_error when the tree does not
// have it (the history no longer matches the tree).
project::TreeNode* nodeAt(const project::ContentTree& tree, const NodePath& path);

// What one node stores and shows.
struct NodeFields {
    project::TData data;
    std::u16string caption;
    int imageIndex = 0;
    int selectedIndex = 0;

    static NodeFields of(const project::TreeNode& node);
    bool operator==(const NodeFields&) const = default;
};

// The focused node and the selection.
struct ViewState {
    std::optional<NodePath> focused;
    std::vector<NodePath> selected;

    static ViewState of(const project::ContentTree& tree);
    void restore(project::ContentTree& tree) const;
};

class TreeChange {
  public:
    virtual ~TreeChange() = default;
    virtual void undo(project::ContentTree& tree) = 0;
    virtual void redo(project::ContentTree& tree) = 0;
    // False for changes of what is shown only (expansion): a step of those alone is not kept.
    virtual bool altersContents() const { return true; }
    // What the change did, in a word for the undo caption (UTF-8).
    virtual std::string_view name() const = 0;
    // Whether it brought a new node into the tree (the caption then names that node).
    virtual bool addsNode() const { return false; }
};

// A subtree placed at (parent, row); while undone, the change keeps it.
class Inserted : public TreeChange {
  public:
    Inserted(NodePath parent, std::size_t row) : parent_(std::move(parent)), row_(row) {}
    ~Inserted() override;
    void undo(project::ContentTree& tree) override;
    void redo(project::ContentTree& tree) override;
    std::string_view name() const override { return "追加"; }
    bool addsNode() const override { return true; }

  protected:
    void putBack(project::ContentTree& tree);
    void takeOut(project::ContentTree& tree);

    NodePath parent_;
    std::size_t row_;
    std::unique_ptr<project::TreeNode> kept_;
};

// A subtree taken from (parent, row), kept here until the change is dropped.
class Removed : public Inserted {
  public:
    Removed(NodePath parent, std::size_t row, std::unique_ptr<project::TreeNode> subtree)
        : Inserted(std::move(parent), row) {
        kept_ = std::move(subtree);
    }
    void undo(project::ContentTree& tree) override { putBack(tree); }
    void redo(project::ContentTree& tree) override { takeOut(tree); }
    std::string_view name() const override { return "削除"; }
    bool addsNode() const override { return false; }
};

// A node moved with its subtree. Each end is named as it stood before the move and after it,
// as moving can shift the other end's ancestors.
struct MoveEnds {
    NodePath fromParent;
    std::size_t fromRow = 0;
    NodePath toParent;
    std::size_t toRow = 0;
};

class Moved : public TreeChange {
  public:
    Moved(MoveEnds before, MoveEnds after) : before_(std::move(before)), after_(std::move(after)) {}
    void undo(project::ContentTree& tree) override;
    void redo(project::ContentTree& tree) override;
    std::string_view name() const override { return "移動"; }

  private:
    MoveEnds before_;
    MoveEnds after_;
};

// The children of a node put in a new order: child order[i] became child i.
class Reordered : public TreeChange {
  public:
    Reordered(NodePath parent, std::vector<std::size_t> order)
        : parent_(std::move(parent)), order_(std::move(order)) {}
    void undo(project::ContentTree& tree) override;
    void redo(project::ContentTree& tree) override;
    std::string_view name() const override { return "並べ替え"; }

  private:
    NodePath parent_;
    std::vector<std::size_t> order_;
};

// One node's record, caption and icons rewritten.
class Rewritten : public TreeChange {
  public:
    Rewritten(NodePath node, NodeFields before, NodeFields after)
        : node_(std::move(node)), before_(std::move(before)), after_(std::move(after)) {}
    void undo(project::ContentTree& tree) override { apply(tree, before_); }
    void redo(project::ContentTree& tree) override { apply(tree, after_); }
    std::string_view name() const override { return "変更"; }

  private:
    void apply(project::ContentTree& tree, const NodeFields& fields);

    NodePath node_;
    NodeFields before_;
    NodeFields after_;
};

// A node shown expanded or collapsed.
class Expanded : public TreeChange {
  public:
    Expanded(NodePath node, bool now) : node_(std::move(node)), now_(now) {}
    void undo(project::ContentTree& tree) override;
    void redo(project::ContentTree& tree) override;
    bool altersContents() const override { return false; }
    std::string_view name() const override { return "展開"; }

  private:
    NodePath node_;
    bool now_;
};

}  // namespace tarnbook::contents
