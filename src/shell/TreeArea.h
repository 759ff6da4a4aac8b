#pragma once
#include <QObject>

#include "shell/WindowContext.h"

class QModelIndex;
class QWidget;

namespace tarnbook::shell {

class ContentTreeModel;
class ContentTreeView;

// The contents tree pane: its view and model, the mouse and keys on it, and the commands
// that change the tree.
class TreeArea : public QObject {
    Q_OBJECT
  public:
    TreeArea(WindowContext& context, QWidget* parent);

    void bindCommands();
    ContentTreeView& view() { return *view_; }
    ContentTreeModel& model() { return *model_; }

    // Mirrors the core's expansion flags and focused node into the view (after a reset).
    void syncView();
    void setNodeBoxes(bool on);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void onCurrentChanged(const QModelIndex& index);
    void onRowsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void onExpansion(const QModelIndex& index, bool expanded);
    void syncInsertedSubtree(const QModelIndex& top);
    void addWithDialog(int kind);

    WindowContext& cx_;
    ContentTreeView* view_ = nullptr;
    ContentTreeModel* model_ = nullptr;
    bool syncing_ = false;
};

}  // namespace tarnbook::shell
