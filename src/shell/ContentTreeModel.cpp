#include "shell/ContentTreeModel.h"

namespace tarnbook::shell {

using project::TreeNode;

ContentTreeModel::ContentTreeModel(project::ContentTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {
    tree_.addObserver(this);
}

ContentTreeModel::~ContentTreeModel() {
    tree_.removeObserver(this);
}

QModelIndex ContentTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0) return {};
    const TreeNode* p = nodeAt(parent);
    const std::size_t r = static_cast<std::size_t>(row);
    if (p) {
        if (r >= p->childCount()) return {};
        return createIndex(row, 0, p->child(r));
    }
    if (r >= tree_.topLevelCount()) return {};
    return createIndex(row, 0, tree_.topLevel(r));
}

QModelIndex ContentTreeModel::parent(const QModelIndex& child) const {
    const TreeNode* n = nodeAt(child);
    if (!n || !n->parent()) return {};
    TreeNode* p = n->parent();
    return createIndex(static_cast<int>(p->indexInParent()), 0, p);
}

int ContentTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return static_cast<int>(tree_.topLevelCount());
    return static_cast<int>(nodeAt(parent)->childCount());
}

QVariant ContentTreeModel::data(const QModelIndex& index, int role) const {
    const TreeNode* n = nodeAt(index);
    if (!n) return {};
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromUtf16(n->caption.data(), static_cast<qsizetype>(n->caption.size()));
        case Qt::DecorationRole:
            return treeImage(n == tree_.focused() ? n->selectedIndex : n->imageIndex);
        default:
            return {};
    }
}

QModelIndex ContentTreeModel::indexOf(const TreeNode* node) const {
    if (!node) return {};
    return createIndex(static_cast<int>(node->indexInParent()), 0, const_cast<TreeNode*>(node));
}

TreeNode* ContentTreeModel::nodeAt(const QModelIndex& index) {
    return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex ContentTreeModel::indexOrRoot(const TreeNode* parent) const {
    return parent ? indexOf(parent) : QModelIndex();
}

void ContentTreeModel::beforeInsert(const TreeNode* parent, std::size_t row) {
    const int r = static_cast<int>(row);
    beginInsertRows(indexOrRoot(parent), r, r);
}

void ContentTreeModel::afterInsert() {
    endInsertRows();
}

void ContentTreeModel::beforeRemove(const TreeNode* parent, std::size_t row) {
    const int r = static_cast<int>(row);
    beginRemoveRows(indexOrRoot(parent), r, r);
}

void ContentTreeModel::afterRemove() {
    endRemoveRows();
}

void ContentTreeModel::beforeMove(const TreeNode* from, std::size_t fromRow, const TreeNode* to,
                                  std::size_t toRow) {
    // Qt counts the destination row before the node leaves; the tree counts it after.
    const int src = static_cast<int>(fromRow);
    const int dst = static_cast<int>(from == to && toRow > fromRow ? toRow + 1 : toRow);
    beginMoveRows(indexOrRoot(from), src, src, indexOrRoot(to), dst);
}

void ContentTreeModel::afterMove() {
    endMoveRows();
}

void ContentTreeModel::beforeReorder(const TreeNode* parent) {
    emit layoutAboutToBeChanged({QPersistentModelIndex(indexOrRoot(parent))},
                                QAbstractItemModel::VerticalSortHint);
}

void ContentTreeModel::afterReorder(const TreeNode* parent) {
    // Every index names its node, so a node's new row is known from the node itself.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before) after.push_back(indexOf(nodeAt(i)));
    changePersistentIndexList(before, after);
    emit layoutChanged({QPersistentModelIndex(indexOrRoot(parent))},
                       QAbstractItemModel::VerticalSortHint);
}

void ContentTreeModel::beforeReset() {
    beginResetModel();
}

void ContentTreeModel::afterReset() {
    endResetModel();
}

void ContentTreeModel::nodeChanged(const TreeNode* node) {
    const QModelIndex i = indexOf(node);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::DecorationRole});
}

QIcon ContentTreeModel::treeImage(int imageIndex) {
    static std::vector<QIcon> cache;
    if (cache.empty()) {
        for (int i = 0; i < 42; ++i)
            cache.emplace_back(
                QStringLiteral(":/icons/tree/%1.svg").arg(i, 2, 10, QLatin1Char('0')));
    }
    if (imageIndex < 0 || imageIndex >= static_cast<int>(cache.size())) return cache[8];
    return cache[static_cast<std::size_t>(imageIndex)];
}

void ContentTreeView::setDropTarget(const QModelIndex& index) {
    if (index == dropTarget_) return;
    dropTarget_ = index;
    viewport()->update();
}

void ContentTreeView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    if (!dropTarget_.isValid() || index != dropTarget_) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    QStyleOptionViewItem highlighted(option);
    highlighted.state |= QStyle::State_Selected;
    QTreeView::drawRow(painter, highlighted, index);
}

}  // namespace tarnbook::shell
