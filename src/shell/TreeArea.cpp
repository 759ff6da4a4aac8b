#include "shell/TreeArea.h"

#include <QKeyEvent>
#include <QMainWindow>
#include <QTreeView>

#include "authoring/EditorPage.h"
#include "contents/ItemForms.h"
#include "contents/NodeSelection.h"
#include "contents/TreeOps.h"
#include "shell/ContentTreeModel.h"
#include "shell/NewItemDialog.h"
#include "shell/PropertyDialog.h"

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
    view_->installEventFilter(this);
    model_ = new ContentTreeModel(cx_.ws.tree, this);
    view_->setModel(model_);
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& i) { onCurrentChanged(i); });
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
    c.bind("TbCngProperty", [this, &ws] { runPropertyDialog(&cx_.window, ws); });
    c.bind("EditHTML", [&ws] { authoring::openExternalEditor(ws); });
}

void TreeArea::addWithDialog(int kind) {
    // A new node becomes the selection and its page is shown.
    if (TreeNode* n =
            runAddItemDialog(&cx_.window, cx_.ws, static_cast<contents::ItemKind>(kind))) {
        cx_.ws.tree.selectOnly(n);
        cx_.showSelected();
    }
}

void TreeArea::setNodeBoxes(bool on) {
    view_->setNodeBoxes(on);
}

void TreeArea::syncView() {
    syncing_ = true;
    for (TreeNode* n = cx_.ws.tree.first(); n; n = project::ContentTree::next(n))
        if (n->hasChildren()) view_->setExpanded(model_->indexOf(n), n->expanded());
    const QModelIndex cur = model_->indexOf(cx_.ws.tree.focused());
    if (view_->currentIndex() != cur)
        view_->selectionModel()->setCurrentIndex(cur, QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
}

void TreeArea::onRowsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight) {
    // The core changed expansion or focus of these rows: the view follows, row by row.
    syncing_ = true;
    for (int r = topLeft.row(); r <= bottomRight.row(); ++r) {
        const QModelIndex i = topLeft.siblingAtRow(r);
        const TreeNode* n = ContentTreeModel::nodeAt(i);
        if (!n) continue;
        if (n->hasChildren() && view_->isExpanded(i) != n->expanded())
            view_->setExpanded(i, n->expanded());
        if (n == cx_.ws.tree.focused() && view_->currentIndex() != i)
            view_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    }
    syncing_ = false;
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

void TreeArea::onCurrentChanged(const QModelIndex& index) {
    if (syncing_) return;
    TreeNode* n = ContentTreeModel::nodeAt(index);
    if (!n || n == cx_.ws.tree.focused()) return;
    cx_.guarded([&] {
        contents::MousePress press;
        press.node = n;
        press.left = true;
        contents::treeMouseDown(cx_.ws, press, cx_.hooks());
        if (cx_.ws.tree.focused() != n) cx_.ws.tree.selectOnly(n);
        cx_.showSelected();
    });
}

bool TreeArea::eventFilter(QObject* watched, QEvent* e) {
    if (watched == view_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        contents::KeyPress press;
        press.key = treeKeyOf(k->key());
        press.ctrl = k->modifiers() & Qt::ControlModifier;
        press.shift = k->modifiers() & Qt::ShiftModifier;
        press.alt = k->modifiers() & Qt::AltModifier;
        // Plain keys move the cursor as the view does; Ctrl combinations are the tree's commands.
        if (press.ctrl && press.key != contents::TreeKey::Other) {
            cx_.guarded([&] { contents::treeKeyDown(cx_.ws, press, cx_.hooks()); });
            return true;
        }
    }
    return QObject::eventFilter(watched, e);
}

}  // namespace tarnbook::shell
