#pragma once
#include <QAbstractItemModel>
#include <QIcon>
#include <QTreeView>
#include <vector>

#include "project/ContentTree.h"

namespace tarnbook::shell {

// A read-only view of the core contents tree; the core tree stays the source of truth and
// tells this model each change, which it passes on to the views row by row.
class ContentTreeModel : public QAbstractItemModel, private project::TreeObserver {
    Q_OBJECT
  public:
    explicit ContentTreeModel(project::ContentTree& tree, QObject* parent = nullptr);
    ~ContentTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex& index, int role) const override;

    QModelIndex indexOf(const project::TreeNode* node) const;
    static project::TreeNode* nodeAt(const QModelIndex& index);

    static QIcon treeImage(int imageIndex);

  private:
    QModelIndex indexOrRoot(const project::TreeNode* parent) const;

    // project::TreeObserver
    void beforeInsert(const project::TreeNode* parent, std::size_t row) override;
    void afterInsert() override;
    void beforeRemove(const project::TreeNode* parent, std::size_t row) override;
    void afterRemove() override;
    void beforeMove(const project::TreeNode* from, std::size_t fromRow, const project::TreeNode* to,
                    std::size_t toRow) override;
    void afterMove() override;
    void beforeReorder(const project::TreeNode* parent) override;
    void afterReorder(const project::TreeNode* parent) override;
    void beforeReset() override;
    void afterReset() override;
    void nodeChanged(const project::TreeNode* node) override;

    project::ContentTree& tree_;
};

// The contents tree's view: the +/- boxes are drawn only when the settings ask for them.
class ContentTreeView : public QTreeView {
    Q_OBJECT
  public:
    using QTreeView::QTreeView;
    void setNodeBoxes(bool on) {
        boxes_ = on;
        setRootIsDecorated(on);
        viewport()->update();
    }
    bool nodeBoxes() const { return boxes_; }
    // The row files dragged over the tree would land on; it is drawn as selected meanwhile.
    void setDropTarget(const QModelIndex& index);
    QModelIndex dropTarget() const { return dropTarget_; }

  protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override {
        if (boxes_) QTreeView::drawBranches(painter, rect, index);
    }
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

  private:
    bool boxes_ = true;
    QPersistentModelIndex dropTarget_;
};

}  // namespace tarnbook::shell
