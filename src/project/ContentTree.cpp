#include "project/ContentTree.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Cp932.h"

namespace tarnbook::project {

TreeNode* TreeNode::prevSibling() const {
    if (!container_ || index_ == 0) return nullptr;
    return container_->children_[index_ - 1].get();
}

TreeNode* TreeNode::nextSibling() const {
    if (!container_ || index_ + 1 >= container_->children_.size()) return nullptr;
    return container_->children_[index_ + 1].get();
}

bool TreeNode::isAncestorOf(const TreeNode* other) const {
    for (const TreeNode* p = other ? other->parent() : nullptr; p; p = p->parent())
        if (p == this) return true;
    return false;
}

void TreeNode::syncViewFromData() {
    caption = platform::decodeCp932(data.Title);
    imageIndex = data.ImageIndex;
    selectedIndex = selectedImageFor(data);
}

ContentTree::ContentTree() = default;

ContentTree::~ContentTree() {
    clear();
}

bool ContentTree::contains(const TreeNode* node) const {
    if (!node) return false;
    while (node->container_ && node->container_ != &root_) node = node->container_;
    return node->container_ == &root_;
}

TreeNode* ContentTree::first() const {
    return root_.firstChild();
}

TreeNode* ContentTree::last() const {
    TreeNode* n = root_.lastChild();
    while (n && n->hasChildren()) n = n->lastChild();
    return n;
}

TreeNode* ContentTree::next(const TreeNode* node) {
    if (!node) return nullptr;
    if (node->hasChildren()) return node->firstChild();
    for (const TreeNode* n = node; n; n = n->parent()) {
        if (TreeNode* s = n->nextSibling()) return s;
    }
    return nullptr;
}

TreeNode* ContentTree::prev(const TreeNode* node) {
    if (!node) return nullptr;
    TreeNode* s = node->prevSibling();
    if (!s) return node->parent();
    while (s->hasChildren()) s = s->lastChild();
    return s;
}

void ContentTree::forEach(const std::function<void(TreeNode&)>& visit) const {
    for (TreeNode* n = first(); n; n = next(n)) visit(*n);
}

std::vector<TreeNode*> ContentTree::preorder() const {
    std::vector<TreeNode*> out;
    out.reserve(count_);
    for (TreeNode* n = first(); n; n = next(n)) out.push_back(n);
    return out;
}

std::size_t ContentTree::placeSubtree(TreeNode* node, int depth) {
    std::size_t n = 0;
    std::vector<std::pair<TreeNode*, int>> stack{{node, depth}};
    while (!stack.empty()) {
        auto [x, d] = stack.back();
        stack.pop_back();
        x->depth_ = d;
        ++n;
        for (auto& c : x->children_) stack.push_back({c.get(), d + 1});
    }
    return n;
}

void ContentTree::renumber(TreeNode* container, std::size_t from) {
    for (std::size_t i = from; i < container->children_.size(); ++i)
        container->children_[i]->index_ = i;
}

TreeNode* ContentTree::appendChild(TreeNode* parent, std::unique_ptr<TreeNode> node) {
    TreeNode* c = containerOf(parent);
    return insertChild(parent, c->children_.size(), std::move(node));
}

TreeNode* ContentTree::insertChild(TreeNode* parent, std::size_t index,
                                   std::unique_ptr<TreeNode> node) {
    TreeNode* c = containerOf(parent);
    if (index > c->children_.size()) index = c->children_.size();
    TreeNode* raw = node.get();
    const auto& observers = notifying();
    for (TreeObserver* o : observers) o->beforeInsert(parent, index);
    attach(parent, index, std::move(node));
    for (TreeObserver* o : observers) o->afterInsert();
    return raw;
}

void ContentTree::attach(TreeNode* parent, std::size_t index, std::unique_ptr<TreeNode> node) {
    TreeNode* c = containerOf(parent);
    TreeNode* raw = node.get();
    raw->container_ = c;
    count_ += placeSubtree(raw, parent ? parent->depth_ + 1 : 0);
    if (raw->selected_ || raw->hasChildren()) adoptSelection(raw);
    c->children_.insert(c->children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
    renumber(c, index);
}

TreeNode* ContentTree::insertBefore(TreeNode* sibling, std::unique_ptr<TreeNode> node) {
    return insertChild(sibling->parent(), sibling->index_, std::move(node));
}

TreeNode* ContentTree::insertAfter(TreeNode* sibling, std::unique_ptr<TreeNode> node) {
    return insertChild(sibling->parent(), sibling->index_ + 1, std::move(node));
}

void ContentTree::forgetViewStateIn(const TreeNode* subtreeRoot) {
    if (focused_ && (focused_ == subtreeRoot || subtreeRoot->isAncestorOf(focused_)))
        focused_ = nullptr;
    // The flags stay with the nodes; a node put back into the tree is listed again.
    std::erase_if(selection_, [&](const TreeNode* n) {
        return n == subtreeRoot || subtreeRoot->isAncestorOf(n);
    });
}

void ContentTree::adoptSelection(TreeNode* subtreeRoot) {
    std::vector<TreeNode*> stack{subtreeRoot};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        if (n->selected_) selection_.push_back(n);
        for (auto& c : n->children_) stack.push_back(c.get());
    }
}

std::unique_ptr<TreeNode> ContentTree::take(TreeNode* node) {
    auto owned = takeQuietly(node);
    for (TreeObserver* o : notifying()) o->subtreeTaken(*owned);
    return owned;
}

std::unique_ptr<TreeNode> ContentTree::takeQuietly(TreeNode* node) {
    if (!node->container_) throw std::logic_error("node is not in a tree");
    const auto& observers = notifying();
    for (TreeObserver* o : observers) o->beforeRemove(node->parent(), node->index_);
    auto owned = detach(node);
    for (TreeObserver* o : observers) o->afterRemove();
    return owned;
}

std::unique_ptr<TreeNode> ContentTree::detach(TreeNode* node) {
    TreeNode* c = node->container_;
    forgetViewStateIn(node);
    std::size_t index = node->index_;
    std::unique_ptr<TreeNode> owned = std::move(c->children_[index]);
    c->children_.erase(c->children_.begin() + static_cast<std::ptrdiff_t>(index));
    renumber(c, index);
    count_ -= placeSubtree(owned.get(), 0);
    owned->container_ = nullptr;
    owned->index_ = 0;
    return owned;
}

std::unique_ptr<TreeNode> ContentTree::copySubtree(const TreeNode& top) {
    auto copyOne = [](const TreeNode& from) {
        auto n = std::make_unique<TreeNode>();
        n->data = from.data;
        n->caption = from.caption;
        n->imageIndex = from.imageIndex;
        n->selectedIndex = from.selectedIndex;
        n->expanded_ = from.expanded_;
        n->selected_ = from.selected_;
        return n;
    };
    auto copy = copyOne(top);
    std::vector<std::pair<const TreeNode*, TreeNode*>> stack{{&top, copy.get()}};
    while (!stack.empty()) {
        auto [from, to] = stack.back();
        stack.pop_back();
        to->children_.reserve(from->children_.size());
        for (const auto& c : from->children_) {
            to->children_.push_back(copyOne(*c));
            TreeNode* made = to->children_.back().get();
            made->container_ = to;
            made->index_ = to->children_.size() - 1;
            stack.push_back({c.get(), made});
        }
    }
    return copy;
}

void ContentTree::destroy(std::unique_ptr<TreeNode> subtree) {
    std::vector<std::unique_ptr<TreeNode>> pending;
    if (subtree) pending.push_back(std::move(subtree));
    while (!pending.empty()) {
        auto n = std::move(pending.back());
        pending.pop_back();
        for (auto& c : n->children_) pending.push_back(std::move(c));
        n->children_.clear();
    }
}

void ContentTree::remove(TreeNode* node) {
    auto owned = takeQuietly(node);
    for (TreeObserver* o : notifying())
        if (owned) o->subtreeRemoved(owned);
    destroy(std::move(owned));
}

void ContentTree::moveTo(TreeNode* node, TreeNode* newParent, std::size_t index) {
    if (newParent && (newParent == node || node->isAncestorOf(newParent)))
        throw std::logic_error("cannot move a node into itself");
    TreeNode* oldParent = node->parent();
    const std::size_t oldIndex = node->index_;
    const std::size_t siblingsAfter =
        containerOf(newParent)->children_.size() - (oldParent == newParent ? 1 : 0);
    if (index > siblingsAfter) index = siblingsAfter;
    if (oldParent == newParent && oldIndex == index) return;
    TreeNode* focus = focused_;
    const bool keepFocus = focus && (focus == node || node->isAncestorOf(focus));
    const auto& observers = notifying();
    for (TreeObserver* o : observers) o->beforeMove(oldParent, oldIndex, newParent, index);
    attach(newParent, index, detach(node));
    if (keepFocus) focused_ = focus;
    for (TreeObserver* o : observers) o->afterMove();
}

void ContentTree::sortChildren(TreeNode* parent,
                               const std::function<bool(const TreeNode&, const TreeNode&)>& less) {
    TreeNode* c = containerOf(parent);
    const auto& observers = notifying();
    for (TreeObserver* o : observers) o->beforeReorder(parent);
    std::stable_sort(c->children_.begin(), c->children_.end(),
                     [&](const std::unique_ptr<TreeNode>& a, const std::unique_ptr<TreeNode>& b) {
                         return less(*a, *b);
                     });
    renumber(c, 0);
    for (TreeObserver* o : observers) o->afterReorder(parent);
}

void ContentTree::reorderChildren(TreeNode* parent, const std::vector<std::size_t>& order) {
    TreeNode* c = containerOf(parent);
    const std::size_t n = c->children_.size();
    std::vector<bool> used(n, false);
    if (order.size() != n) throw std::logic_error("reorder needs every child once");
    for (std::size_t i : order) {
        if (i >= n || used[i]) throw std::logic_error("reorder needs every child once");
        used[i] = true;
    }
    const auto& observers = notifying();
    for (TreeObserver* o : observers) o->beforeReorder(parent);
    std::vector<std::unique_ptr<TreeNode>> reordered(n);
    for (std::size_t i = 0; i < n; ++i) reordered[i] = std::move(c->children_[order[i]]);
    c->children_ = std::move(reordered);
    renumber(c, 0);
    for (TreeObserver* o : observers) o->afterReorder(parent);
}

void ContentTree::addObserver(TreeObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void ContentTree::removeObserver(TreeObserver* observer) {
    std::erase(observers_, observer);
}

ContentTree::Rebuild::Rebuild(ContentTree& tree) : tree_(tree), outer_(!tree.rebuilding_) {
    if (!outer_) return;
    for (TreeObserver* o : tree_.observers_) o->beforeReset();
    tree_.rebuilding_ = true;
}

ContentTree::Rebuild::~Rebuild() {
    if (!outer_) return;
    tree_.rebuilding_ = false;
    for (TreeObserver* o : tree_.observers_) o->afterReset();
}

void ContentTree::clear() {
    Rebuild rebuild(*this);
    std::vector<std::unique_ptr<TreeNode>> tops = std::move(root_.children_);
    root_.children_.clear();
    for (auto& t : tops) destroy(std::move(t));
    count_ = 0;
    focused_ = nullptr;
    selection_.clear();
}

TreeNode* ContentTree::findLevelNode(int level, int mode, const TreeNode* ref) const {
    if (mode == 0) {
        for (TreeNode* n = prev(ref); n; n = prev(n))
            if (n->depth() == level) return n;
        return nullptr;
    }
    if (mode == 1) {
        for (TreeNode* n = next(ref); n; n = next(n))
            if (n->depth() == level) return n;
        return nullptr;
    }
    return nullptr;
}

void ContentTree::refreshNodeStatus() {
    // Depth-first with an explicit stack of (node, depth).
    std::vector<std::pair<TreeNode*, int>> stack;
    for (std::size_t i = root_.children_.size(); i-- > 0;)
        stack.push_back({root_.children_[i].get(), 0});
    while (!stack.empty()) {
        auto [n, d] = stack.back();
        stack.pop_back();
        n->data.Level = d;
        for (std::size_t i = n->children_.size(); i-- > 0;)
            stack.push_back({n->children_[i].get(), d + 1});
    }
}

namespace {
// The child indexes from the top level down to the node.
std::vector<std::size_t> pathOf(const TreeNode* n) {
    std::vector<std::size_t> path;
    for (; n; n = n->parent()) path.push_back(n->indexInParent());
    std::reverse(path.begin(), path.end());
    return path;
}
}  // namespace

std::vector<TreeNode*> ContentTree::selectedNodes() const {
    std::vector<std::pair<std::vector<std::size_t>, TreeNode*>> keyed;
    keyed.reserve(selection_.size());
    for (TreeNode* n : selection_)
        if (n->selected_) keyed.push_back({pathOf(n), n});
    // An ancestor's path is a prefix of its descendants' and so sorts first: pre-order.
    std::sort(keyed.begin(), keyed.end());
    std::vector<TreeNode*> out;
    out.reserve(keyed.size());
    for (auto& k : keyed) out.push_back(k.second);
    return out;
}

void ContentTree::clearSelection() {
    for (TreeNode* n : selection_) n->selected_ = false;
    selection_.clear();
}

void ContentTree::setSelected(TreeNode* node, bool selected) {
    if (!node) return;
    if (selected) {
        if (std::find(selection_.begin(), selection_.end(), node) == selection_.end())
            selection_.push_back(node);
    } else {
        std::erase(selection_, node);
    }
    node->selected_ = selected;
}

void ContentTree::setFocused(TreeNode* node) {
    if (node == focused_) return;
    // The focused node shows its selected image: both rows change their icon.
    TreeNode* old = focused_;
    focused_ = node;
    if (old) nodeChanged(old);
    if (node) nodeChanged(node);
}

void ContentTree::setExpanded(TreeNode* node, bool expanded) {
    if (!node || node->expanded_ == expanded) return;
    node->expanded_ = expanded;
    for (TreeObserver* o : notifying()) o->expandedChanged(node);
    nodeChanged(node);
}

void ContentTree::selectOnly(TreeNode* node) {
    clearSelection();
    setSelected(node, true);
    setFocused(node);
}

bool ContentTree::allExpanded() const {
    for (TreeNode* n = first(); n; n = next(n))
        if (n->hasChildren() && !n->expanded_) return false;
    return true;
}

}  // namespace tarnbook::project
