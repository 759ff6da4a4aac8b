#include "shell/TreeArea.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTreeView>

#include "authoring/EditorPage.h"
#include "contents/ItemForms.h"
#include "contents/NodeSelection.h"
#include "contents/TreeOps.h"
#include "shell/ContentTreeModel.h"
#include "shell/HelpService.h"
#include "shell/NewItemDialog.h"
#include "shell/PropertyDialog.h"
#include "shell/QtText.h"
#include "shell/TreeContextMenu.h"
#include "shell/TreeDropTarget.h"

namespace tarnbook::shell {

using project::TreeNode;

namespace {

contents::TreeKey treeKeyOf(int key) {
    switch (key) {
        case Qt::Key_Up:
            return contents::TreeKey::Up;
        case Qt::Key_Down:
            return contents::TreeKey::Down;
        case Qt::Key_Left:
            return contents::TreeKey::Left;
        case Qt::Key_Right:
            return contents::TreeKey::Right;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return contents::TreeKey::Enter;
        case Qt::Key_Tab:
            return contents::TreeKey::Tab;
        case Qt::Key_Home:
            return contents::TreeKey::Home;
        case Qt::Key_PageUp:
            return contents::TreeKey::PageUp;
        case Qt::Key_PageDown:
            return contents::TreeKey::PageDown;
        case Qt::Key_A:
            return contents::TreeKey::A;
        default:
            return contents::TreeKey::Other;
    }
}

}  // namespace

TreeArea::TreeArea(WindowContext& context, QWidget* parent) : QObject(parent), cx_(context) {
    view_ = new ContentTreeView(parent);
    view_->setHeaderHidden(true);
    view_->setUniformRowHeights(true);
    view_->setIconSize(QSize(16, 16));
    // Ctrl+ and Shift+ build a multi-selection; the tree never drags its own nodes.
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setDragEnabled(false);
    // Long captions widen the column, so the tree can scroll sideways.
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    model_ = new ContentTreeModel(cx_.ws.tree, this);
    // While rows come and go the view adjusts its own selection and cursor; the core's
    // stand. The counting brackets the selection model's own handling of each change.
    connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { ++reshaping_; });
    connect(model_, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] { ++reshaping_; });
    connect(model_, &QAbstractItemModel::rowsAboutToBeMoved, this, [this] { ++reshaping_; });
    connect(model_, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] { ++reshaping_; });
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { ++reshaping_; });
    view_->setModel(model_);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &TreeArea::reshaped);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &TreeArea::reshaped);
    connect(model_, &QAbstractItemModel::rowsMoved, this, &TreeArea::reshaped);
    connect(model_, &QAbstractItemModel::layoutChanged, this, &TreeArea::reshaped);
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { --reshaping_; });
    menu_ = new TreeContextMenu(cx_, view_);
    drops_ = new TreeDropTarget(cx_, *view_, [this] { pushSelectionToView(); });
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& i) { onCurrentChanged(i); });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TreeArea::onViewSelectionChanged);
    connect(model_, &QAbstractItemModel::dataChanged, this, &TreeArea::onRowsChanged);
    connect(model_, &QAbstractItemModel::modelReset, this, &TreeArea::syncView);
    connect(model_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                for (int r = first; r <= last; ++r) {
                    const QModelIndex i = model_->index(r, 0, parent);
                    onRowsChanged(i, i);
                    syncInsertedSubtree(i);
                }
            });
    connect(view_, &QTreeView::expanded, this,
            [this](const QModelIndex& i) { onExpansion(i, true); });
    connect(view_, &QTreeView::collapsed, this,
            [this](const QModelIndex& i) { onExpansion(i, false); });
}

void TreeArea::bindCommands() {
    auto& ws = cx_.ws;
    auto& c = cx_.commands;
    c.bind("TbDelItem", [this, &ws] { contents::deleteSelection(ws, cx_.hooks()); });
    c.bind("TbMoveUp", [&ws] { contents::moveUp(ws); });
    c.bind("TbMoveDown", [&ws] { contents::moveDown(ws); });
    c.bind("TbMoveLeft", [&ws] { contents::moveLeft(ws); });
    c.bind("TbMoveRight", [&ws] { contents::moveRight(ws); });
    c.bind("TBSortItem", [&ws] { contents::sortNodes(ws, false); });
    c.bind("ActSortItemUp", [&ws] { contents::sortNodes(ws, true); });
    c.bind("NodeExpand", [&ws] { contents::expandOrCollapse(ws); });
    c.bind("CngType", [&ws] { contents::changeKind(ws); });
    c.bind("TbAddHeader", [this] { addWithDialog(static_cast<int>(contents::ItemKind::Heading)); });
    c.bind("TbAddContent",
           [this] { addWithDialog(static_cast<int>(contents::ItemKind::Content)); });
    c.bind("TbCngProperty",
           [this, &ws] { runPropertyDialog(&cx_.window, ws, cx_.help.topicOpener()); });
    c.bind("EditHTML", [&ws] { authoring::openExternalEditor(ws); });
}

void TreeArea::addWithDialog(int kind) {
    // A new node becomes the selection and its page is shown.
    if (TreeNode* n = runAddItemDialog(&cx_.window, cx_.ws, static_cast<contents::ItemKind>(kind),
                                       cx_.help.topicOpener())) {
        cx_.ws.tree.selectOnly(n);
        cx_.showSelected();
    }
}

void TreeArea::setNodeBoxes(bool on) {
    view_->setNodeBoxes(on);
}

void TreeArea::addHooks(contents::TreeHooks& hooks) {
    hooks.openContextMenu = [this] { menuPending_ = true; };
    hooks.scrollHorizontally = [this](int steps) {
        QScrollBar* bar = view_->horizontalScrollBar();
        bar->setValue(bar->value() + steps * bar->singleStep());
    };
}

void TreeArea::syncView() {
    syncing_ = true;
    for (TreeNode* n = cx_.ws.tree.first(); n; n = project::ContentTree::next(n))
        if (n->hasChildren()) view_->setExpanded(model_->indexOf(n), n->expanded());
    syncing_ = false;
    pushSelectionToView();
}

void TreeArea::reshaped() {
    if (--reshaping_ == 0) pushSelectionToView();
}

void TreeArea::pushSelectionToView() {
    const auto& tree = cx_.ws.tree;
    QItemSelection selection;
    for (const TreeNode* n : tree.selectedNodes()) {
        const QModelIndex i = model_->indexOf(n);
        selection.select(i, i);
    }
    QItemSelectionModel* sm = view_->selectionModel();
    const QModelIndex focused = model_->indexOf(tree.focused());
    syncing_ = true;
    if (sm->currentIndex() != focused) sm->setCurrentIndex(focused, QItemSelectionModel::NoUpdate);
    if (sm->selection() != selection) sm->select(selection, QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
}

void TreeArea::onRowsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight) {
    // The core changed expansion or focus of these rows: the view follows, row by row.
    bool focusMoved = false;
    syncing_ = true;
    for (int r = topLeft.row(); r <= bottomRight.row(); ++r) {
        const QModelIndex i = topLeft.siblingAtRow(r);
        const TreeNode* n = ContentTreeModel::nodeAt(i);
        if (!n) continue;
        if (n->hasChildren() && view_->isExpanded(i) != n->expanded())
            view_->setExpanded(i, n->expanded());
        if (n == cx_.ws.tree.focused() || i == view_->currentIndex()) focusMoved = true;
    }
    syncing_ = false;
    if (focusMoved) pushSelectionToView();
}

void TreeArea::syncInsertedSubtree(const QModelIndex& top) {
    // A subtree put back whole (an undone delete) arrives collapsed in the view; its nodes
    // show as the core remembers them.
    const TreeNode* root = ContentTreeModel::nodeAt(top);
    if (!root) return;
    syncing_ = true;
    std::vector<const TreeNode*> stack;
    for (const auto& c : root->children()) stack.push_back(c.get());
    while (!stack.empty()) {
        const TreeNode* n = stack.back();
        stack.pop_back();
        if (!n->hasChildren()) continue;
        if (n->expanded()) view_->setExpanded(model_->indexOf(n), true);
        for (const auto& c : n->children()) stack.push_back(c.get());
    }
    syncing_ = false;
}

void TreeArea::onExpansion(const QModelIndex& index, bool expanded) {
    if (syncing_) return;
    // The view's arrow and keys reach the core, so the next command sees what the author sees.
    if (TreeNode* n = ContentTreeModel::nodeAt(index)) {
        syncing_ = true;
        cx_.ws.tree.setExpanded(n, expanded);
        syncing_ = false;
    }
}

void TreeArea::onViewSelectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    if (syncing_ || reshaping_ > 0) return;
    // Keyboard selection (Shift+arrows, Ctrl+Space) reaches the core.
    for (const QModelIndex& i : deselected.indexes())
        cx_.ws.tree.setSelected(ContentTreeModel::nodeAt(i), false);
    for (const QModelIndex& i : selected.indexes())
        cx_.ws.tree.setSelected(ContentTreeModel::nodeAt(i), true);
}

void TreeArea::onCurrentChanged(const QModelIndex& index) {
    if (syncing_ || reshaping_ > 0) return;
    // The keyboard moved the cursor: the node under it is shown as a click would show it.
    TreeNode* n = ContentTreeModel::nodeAt(index);
    if (!n || n == cx_.ws.tree.focused()) return;
    cx_.guarded([&] {
        cx_.ws.rightClick = false;
        cx_.ws.tree.setSelected(n, true);
        cx_.ws.tree.setFocused(n);
        cx_.showSelected();
    });
}

void TreeArea::openPendingMenu() {
    if (!menuPending_) return;
    menuPending_ = false;
    menu_->popup(menuPoint_);
}

bool TreeArea::mousePress(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const QModelIndex index = view_->indexAt(pos);
    TreeNode* node = ContentTreeModel::nodeAt(index);
    // The +/- box belongs to the view: it opens or closes the node and selects nothing.
    const int itemLeft = node ? view_->visualRect(index).left() : 0;
    pressPassedOn_ = node && node->hasChildren() && view_->nodeBoxes() &&
                     e->button() == Qt::LeftButton && pos.x() < itemLeft &&
                     pos.x() >= itemLeft - view_->indentation();
    if (pressPassedOn_) return false;

    contents::MousePress press;
    press.node = node;
    press.left = e->button() == Qt::LeftButton;
    press.right = e->button() == Qt::RightButton;
    press.shift = e->modifiers() & Qt::ShiftModifier;
    press.ctrl = e->modifiers() & Qt::ControlModifier;
    press.alt = e->modifiers() & Qt::AltModifier;
    menuPending_ = false;
    menuPoint_ = e->globalPosition().toPoint();
    const bool toggle = e->type() == QEvent::MouseButtonDblClick && press.left && node &&
                        !press.shift && !press.ctrl && node->hasChildren();
    cx_.guarded([&] {
        contents::treeMouseDown(cx_.ws, press, cx_.hooks());
        if (press.left && node) selectByClick(node, press.shift, press.ctrl);
        if (toggle) cx_.ws.tree.setExpanded(node, !node->expanded());
        authoring::refreshWindowState(cx_.ws);
    });
    pushSelectionToView();
    openPendingMenu();
    return true;
}

void TreeArea::selectByClick(TreeNode* node, bool shift, bool ctrl) {
    auto& tree = cx_.ws.tree;
    TreeNode* before = tree.focused();
    const bool pageWasShown = !cx_.ws.rightClick;
    if (shift) {
        // From the anchor to the clicked node, as the rows stand on screen.
        const QModelIndex to = model_->indexOf(node);
        QModelIndex from = anchor_.isValid() ? QModelIndex(anchor_) : model_->indexOf(before);
        if (!from.isValid() || view_->visualRect(from).isEmpty()) from = to;
        if (!ctrl) tree.clearSelection();
        const bool down = view_->visualRect(from).top() <= view_->visualRect(to).top();
        for (QModelIndex i = from; i.isValid();
             i = down ? view_->indexBelow(i) : view_->indexAbove(i)) {
            tree.setSelected(ContentTreeModel::nodeAt(i), true);
            if (i == to) break;
        }
        tree.setFocused(node);
    } else if (ctrl) {
        tree.setSelected(node, !node->selected());
        anchor_ = model_->indexOf(node);
        if (node->selected()) {
            tree.setFocused(node);
        } else {
            const auto rest = tree.selectedNodes();
            tree.setFocused(rest.empty() ? nullptr : rest.back());
        }
    } else {
        anchor_ = model_->indexOf(node);
        const bool alone = node->selected() && tree.selectedNodes().size() == 1;
        tree.selectOnly(node);
        // Clicking the node already shown keeps the editor's text as it is.
        if (alone && before == node && pageWasShown) return;
    }
    const bool plain = !shift && !ctrl;
    if (tree.focused() && (tree.focused() != before || !pageWasShown || plain)) cx_.showSelected();
}

bool TreeArea::keyPress(QKeyEvent* e) {
    contents::KeyPress press;
    press.key = treeKeyOf(e->key());
    press.ctrl = e->modifiers() & Qt::ControlModifier;
    press.shift = e->modifiers() & Qt::ShiftModifier;
    press.alt = e->modifiers() & Qt::AltModifier;
    menuPending_ = false;
    cx_.guarded([&] {
        contents::treeKeyDown(cx_.ws, press, cx_.hooks());
        if (press.key == contents::TreeKey::Enter) authoring::refreshWindowState(cx_.ws);
    });
    openPendingMenu();
    // Ctrl combinations are the tree's commands and Enter shows the node; other keys move the
    // cursor and the selection as the view does.
    return (press.ctrl && press.key != contents::TreeKey::Other) ||
           press.key == contents::TreeKey::Enter;
}

bool TreeArea::eventFilter(QObject* watched, QEvent* e) {
    if (watched == view_ && e->type() == QEvent::KeyPress)
        return keyPress(static_cast<QKeyEvent*>(e));
    if (watched != view_->viewport()) return QObject::eventFilter(watched, e);
    switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return mousePress(static_cast<QMouseEvent*>(e));
        case QEvent::MouseButtonRelease:
            return !pressPassedOn_;
        case QEvent::MouseMove:
            // No rubber-band or drag selection: the selection is made by clicks.
            return static_cast<QMouseEvent*>(e)->buttons() != Qt::NoButton;
        default:
            return QObject::eventFilter(watched, e);
    }
}

}  // namespace tarnbook::shell
