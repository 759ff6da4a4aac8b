#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "contents/TreeChanges.h"
#include "project/Workspace.h"

namespace tarnbook::contents {

// The undo and redo history of the contents tree. It listens to the tree and records each
// change as a reversible delta, so a step costs what it changed, not the size of the tree.
// A step is everything one command did (an import or a sort is one step); changes made
// outside a command form a step of their own. Steps of expansion or selection alone are not
// kept. The saved flag follows the step the file was last saved at; a reset of the tree (a
// project opened or closed) forgets the history.
class UndoHistory : private project::TreeObserver {
  public:
    static constexpr std::size_t kDefaultLimit = 100;

    explicit UndoHistory(project::Workspace& ws, std::size_t limit = kDefaultLimit);
    ~UndoHistory() override;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // Keeps at most `limit` steps (at least one), dropping the oldest.
    void setLimit(std::size_t limit);

    // What one command changes becomes one step named `label` (UTF-8). Scopes may nest: the
    // outermost names the step.
    class Scope {
      public:
        Scope(UndoHistory& history, std::string label);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        UndoHistory& history_;
    };

    bool canUndo();
    bool canRedo();
    // What undo or redo would act on, "削除 「設定」" (UTF-8); empty when there is nothing.
    std::string undoText();
    std::string redoText();
    // Return false when there was nothing to undo or redo.
    bool undo();
    bool redo();
    void clear();
    std::size_t steps();

  private:
    struct Step {
        std::string label;
        std::u16string subject;                        // the caption of the node the step is about
        std::optional<std::u16string> focusedCaption;  // of the node focused as it began
        ViewState before;
        ViewState after;
        std::vector<std::unique_ptr<TreeChange>> changes;
        bool altersContents = false;
    };
    struct PendingRewrite {
        const project::TreeNode* node;
        NodeFields before;
    };
    static constexpr std::size_t kNever = static_cast<std::size_t>(-1);

    void begin(std::string label);
    void end();
    // Closes a step made of changes outside any command, and notes a save.
    void settle();
    Step& recording();
    void commit();
    void push(std::unique_ptr<Step> step);
    void record(std::unique_ptr<TreeChange> change, const project::TreeNode* subject);
    void flushRewrites();
    bool listening() const { return !replaying_ && !resetInScope_; }
    static std::string textOf(const Step& step);
    std::optional<std::u16string> focusedCaption() const;
    void afterReplay();

    // project::TreeObserver
    void beforeInsert(const project::TreeNode* parent, std::size_t row) override;
    void afterInsert() override;
    void beforeRemove(const project::TreeNode* parent, std::size_t row) override;
    void afterRemove() override {}
    void subtreeRemoved(std::unique_ptr<project::TreeNode>& subtree) override;
    void subtreeTaken(const project::TreeNode& subtree) override;
    void beforeMove(const project::TreeNode* from, std::size_t fromRow, const project::TreeNode* to,
                    std::size_t toRow) override;
    void afterMove() override;
    void beforeReorder(const project::TreeNode* parent) override;
    void afterReorder(const project::TreeNode* parent) override;
    void beforeReset() override;
    void afterReset() override {}
    void nodeChanged(const project::TreeNode*) override {}
    void beforeChange(const project::TreeNode* node) override;
    void expandedChanged(const project::TreeNode* node) override;

    project::Workspace& ws_;
    std::size_t limit_;
    std::vector<std::unique_ptr<Step>> steps_;
    std::size_t done_ = 0;        // steps_[0, done_) are done, the rest undone
    std::size_t clean_ = kNever;  // done_ when the contents equal the saved file
    std::unique_ptr<Step> open_;  // the step being recorded
    int depth_ = 0;               // open scopes
    std::string label_;           // the outermost scope's
    ViewState before_;            // the focus and selection as the outermost scope began
    std::optional<std::u16string> focusedCaption_;
    bool replaying_ = false;
    bool resetInScope_ = false;  // the tree was reset inside the open scopes

    // Between the before and after halves of a notification.
    NodePath pendingParent_;
    std::size_t pendingRow_ = 0;
    MoveEnds pendingMove_;
    const project::TreeNode* moveFrom_ = nullptr;
    const project::TreeNode* moveTo_ = nullptr;
    std::vector<const project::TreeNode*> reorderedBefore_;
    std::vector<PendingRewrite> rewrites_;
    std::unordered_set<const project::TreeNode*> rewritten_;
};

// The name a command gives its step: its caption without the mnemonic, the ellipsis and the
// shortcut note ("削除", "コンテンツ追加").
std::string stepLabel(std::string_view commandId);

}  // namespace tarnbook::contents
