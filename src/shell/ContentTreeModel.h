#pragma once
#include <QAbstractItemModel>
#include <QIcon>
#include <QTreeView>
#include <vector>

#include "project/ContentTree.h"

namespace tarnbook::shell {

// A read-only view of the core contents tree; the core tree stays the source of truth.
class ContentTreeModel : public QAbstractItemModel {
    Q_OBJECT
  public:
    explicit ContentTreeModel(project::ContentTree& tree, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex& index, int role) const override;

    QModelIndex indexOf(const project::TreeNode* node) const;
    static project::TreeNode* nodeAt(const QModelIndex& index);

    // The tree changed shape (or was reloaded): views start over.
    void reset();
    // Captions or icons of existing nodes changed.
    void refreshAll();

    static QIcon treeImage(int imageIndex);

  private:
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

  protected:
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override {
        if (boxes_) QTreeView::drawBranches(painter, rect, index);
    }

  private:
    bool boxes_ = true;
};

}  // namespace tarnbook::shell
