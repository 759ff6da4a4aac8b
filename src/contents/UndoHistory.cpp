#include "contents/UndoHistory.h"

#include <algorithm>

#include "contents/CommandTable.h"
#include "platform/Cp932.h"
#include "project/ProjectLifecycle.h"

namespace tarnbook::contents {

using project::TreeNode;

UndoHistory::UndoHistory(project::Workspace& ws, std::size_t limit)
    : ws_(ws), limit_(std::max<std::size_t>(limit, 1)) {
    if (ws_.saved) clean_ = 0;
    ws_.tree.addObserver(this);
}

UndoHistory::~UndoHistory() {
    ws_.tree.removeObserver(this);
}

void UndoHistory::setLimit(std::size_t limit) {
    limit_ = std::max<std::size_t>(limit, 1);
    while (steps_.size() > limit_) {
        if (done_ == 0) {
            // Everything is undone: the newest redo goes, so the rest still fits the tree.
            steps_.pop_back();
            continue;
        }
        steps_.erase(steps_.begin());
        --done_;
        clean_ = clean_ == 0 || clean_ == kNever ? kNever : clean_ - 1;
    }
}

UndoHistory::Scope::Scope(UndoHistory& history, std::string label) : history_(history) {
    history_.begin(std::move(label));
}

UndoHistory::Scope::~Scope() {
    history_.end();
}

void UndoHistory::begin(std::string label) {
    if (depth_ == 0) settle();
    if (depth_++ > 0) return;
    label_ = std::move(label);
    resetInScope_ = false;
    // Taken now: a view told of the first change may move the focus before this history is.
    before_ = ViewState::of(ws_.tree);
    focusedCaption_ = focusedCaption();
}

std::optional<std::u16string> UndoHistory::focusedCaption() const {
    if (const TreeNode* f = ws_.tree.focused()) return f->caption;
    return std::nullopt;
}

void UndoHistory::end() {
    if (depth_ == 0 || --depth_ > 0) return;
    resetInScope_ = false;
    settle();
}

void UndoHistory::settle() {
    if (depth_ > 0) return;
    if (open_) commit();
    if (ws_.saved) clean_ = done_;
}

UndoHistory::Step& UndoHistory::recording() {
    if (!open_) {
        open_ = std::make_unique<Step>();
        // Outside a command (a key on the tree, a drop) the first change names the step.
        open_->label = depth_ > 0 ? label_ : std::string();
        open_->before = depth_ > 0 ? std::move(before_) : ViewState::of(ws_.tree);
        open_->focusedCaption = depth_ > 0 ? std::move(focusedCaption_) : focusedCaption();
    }
    return *open_;
}

void UndoHistory::commit() {
    flushRewrites();
    std::unique_ptr<Step> step = std::move(open_);
    if (!step || !step->altersContents) return;
    step->after = ViewState::of(ws_.tree);
    push(std::move(step));
}

void UndoHistory::push(std::unique_ptr<Step> step) {
    if (done_ < steps_.size()) {
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
        if (clean_ != kNever && clean_ > done_) clean_ = kNever;
    }
    steps_.push_back(std::move(step));
    ++done_;
    setLimit(limit_);
}

void UndoHistory::record(std::unique_ptr<TreeChange> change, const TreeNode* subject) {
    Step& s = recording();
    if (change->altersContents() && !s.altersContents) {
        s.altersContents = true;
        // A command acts on the focused node (a move of it may shift a sibling first); only
        // a new node is named by itself.
        if (s.focusedCaption && !change->addsNode())
            s.subject = *s.focusedCaption;
        else if (subject)
            s.subject = subject->caption;
        if (s.label.empty()) s.label = change->name();
    }
    s.changes.push_back(std::move(change));
}

void UndoHistory::flushRewrites() {
    std::vector<PendingRewrite> pending = std::move(rewrites_);
    rewrites_.clear();
    rewritten_.clear();
    for (PendingRewrite& p : pending) {
        NodeFields after = NodeFields::of(*p.node);
        if (after == p.before) continue;
        record(std::make_unique<Rewritten>(pathOf(p.node), std::move(p.before), std::move(after)),
               p.node);
    }
}

bool UndoHistory::canUndo() {
    settle();
    return done_ > 0;
}

bool UndoHistory::canRedo() {
    settle();
    return done_ < steps_.size();
}

std::string UndoHistory::textOf(const Step& step) {
    if (step.subject.empty()) return step.label;
    return step.label + " 「" + platform::utf16ToUtf8(step.subject) + "」";
}

std::string UndoHistory::undoText() {
    return canUndo() ? textOf(*steps_[done_ - 1]) : std::string();
}

std::string UndoHistory::redoText() {
    return canRedo() ? textOf(*steps_[done_]) : std::string();
}

bool UndoHistory::undo() {
    if (!canUndo()) return false;
    Step& s = *steps_[done_ - 1];
    replaying_ = true;
    try {
        for (auto it = s.changes.rbegin(); it != s.changes.rend(); ++it) (*it)->undo(ws_.tree);
        s.before.restore(ws_.tree);
    } catch (...) {
        // The history no longer fits the tree: keeping it would only fail again.
        replaying_ = false;
        clear();
        throw;
    }
    replaying_ = false;
    --done_;
    afterReplay();
    return true;
}

bool UndoHistory::redo() {
    if (!canRedo()) return false;
    Step& s = *steps_[done_];
    replaying_ = true;
    try {
        for (auto& c : s.changes) c->redo(ws_.tree);
        s.after.restore(ws_.tree);
    } catch (...) {
        replaying_ = false;
        clear();
        throw;
    }
    replaying_ = false;
    ++done_;
    afterReplay();
    return true;
}

void UndoHistory::afterReplay() {
    ws_.saved = done_ == clean_;
    ws_.currentPage.clear();
    project::refreshStatus(ws_);
}

void UndoHistory::clear() {
    open_.reset();
    rewrites_.clear();
    rewritten_.clear();
    steps_.clear();
    done_ = 0;
    clean_ = kNever;
}

std::size_t UndoHistory::steps() {
    settle();
    return steps_.size();
}

void UndoHistory::beforeInsert(const TreeNode* parent, std::size_t row) {
    if (!listening()) return;
    recording();
    flushRewrites();
    pendingParent_ = pathOf(parent);
    pendingRow_ = row;
}

void UndoHistory::afterInsert() {
    if (!listening()) return;
    const TreeNode* p = nodeAt(ws_.tree, pendingParent_);
    const TreeNode* placed = p ? p->child(pendingRow_) : ws_.tree.topLevel(pendingRow_);
    record(std::make_unique<Inserted>(pendingParent_, pendingRow_), placed);
}

void UndoHistory::beforeRemove(const TreeNode* parent, std::size_t row) {
    beforeInsert(parent, row);
}

void UndoHistory::subtreeRemoved(std::unique_ptr<TreeNode>& subtree) {
    if (!listening()) return;
    const TreeNode* top = subtree.get();
    record(std::make_unique<Removed>(pendingParent_, pendingRow_, std::move(subtree)), top);
}

void UndoHistory::subtreeTaken(const TreeNode& subtree) {
    if (!listening()) return;
    // The caller owns the subtree and may change it: the step keeps a copy.
    auto copy = project::ContentTree::copySubtree(subtree);
    const TreeNode* top = copy.get();
    record(std::make_unique<Removed>(pendingParent_, pendingRow_, std::move(copy)), top);
}

void UndoHistory::beforeMove(const TreeNode* from, std::size_t fromRow, const TreeNode* to,
                             std::size_t toRow) {
    if (!listening()) return;
    recording();
    flushRewrites();
    pendingMove_ = {pathOf(from), fromRow, pathOf(to), toRow};
    moveFrom_ = from;
    moveTo_ = to;
}

void UndoHistory::afterMove() {
    if (!listening()) return;
    MoveEnds after{pathOf(moveFrom_), pendingMove_.fromRow, pathOf(moveTo_), pendingMove_.toRow};
    const TreeNode* moved = moveTo_ ? moveTo_->child(after.toRow) : ws_.tree.topLevel(after.toRow);
    record(std::make_unique<Moved>(std::move(pendingMove_), std::move(after)), moved);
}

void UndoHistory::beforeReorder(const TreeNode* parent) {
    if (!listening()) return;
    recording();
    flushRewrites();
    pendingParent_ = pathOf(parent);
    reorderedBefore_.clear();
    const std::size_t n = parent ? parent->childCount() : ws_.tree.topLevelCount();
    reorderedBefore_.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        reorderedBefore_.push_back(parent ? parent->child(i) : ws_.tree.topLevel(i));
}

void UndoHistory::afterReorder(const TreeNode* parent) {
    if (!listening()) return;
    std::vector<std::size_t> order(reorderedBefore_.size());
    bool same = true;
    for (std::size_t old = 0; old < reorderedBefore_.size(); ++old) {
        const std::size_t now = reorderedBefore_[old]->indexInParent();
        order[now] = old;
        same = same && now == old;
    }
    reorderedBefore_.clear();
    if (same) return;  // a sort that found the order it wanted changed nothing
    record(std::make_unique<Reordered>(pendingParent_, std::move(order)), parent);
}

void UndoHistory::beforeReset() {
    // Another project (or none): its history starts empty. Whatever the running command does
    // after the reset belongs to the new project's starting state.
    clear();
    if (depth_ > 0) resetInScope_ = true;
}

void UndoHistory::beforeChange(const TreeNode* node) {
    if (!listening() || !ws_.tree.contains(node)) return;
    recording();
    if (rewritten_.insert(node).second) rewrites_.push_back({node, NodeFields::of(*node)});
}

void UndoHistory::expandedChanged(const TreeNode* node) {
    if (!listening() || !ws_.tree.contains(node)) return;
    record(std::make_unique<Expanded>(pathOf(node), node->expanded()), nullptr);
}

std::string stepLabel(std::string_view commandId) {
    const Command* c = findCommand(commandId);
    if (!c) return std::string(commandId);
    // Some toolbar commands carry their own name as caption; their hint says what they do.
    const bool namedCaption = !c->caption.empty() && c->caption != c->id;
    std::string text = namedCaption ? std::string(c->caption) : hintShort(c->hint);
    // Cut at the mnemonic or shortcut note: "削除(&D)", "上へ (Ctrl+↑)", "追加（&C)".
    for (std::string_view mark : {"(", "（"})
        if (std::size_t at = text.find(mark); at != std::string::npos) text.resize(at);
    if (std::size_t at = text.find("..."); at != std::string::npos) text.resize(at);
    std::erase(text, '&');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

}  // namespace tarnbook::contents
