#include "shell/ContentTreeModel.h"

namespace tarnbook::shell {

using project::TreeNode;

ContentTreeModel::ContentTreeModel(project::ContentTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {}

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

void ContentTreeModel::reset() {
    beginResetModel();
    endResetModel();
}

void ContentTreeModel::refreshAll() {
    // Captions and icons only: one signal per level is enough for the view to repaint.
    emit layoutChanged();
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

}  // namespace tarnbook::shell
