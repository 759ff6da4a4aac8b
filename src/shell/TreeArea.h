#pragma once
#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>

#include "shell/WindowContext.h"

class QItemSelection;
class QKeyEvent;
class QModelIndex;
class QMouseEvent;
class QWidget;

namespace tarnbook::shell {

class ContentTreeModel;
class ContentTreeView;
class TreeContextMenu;
class TreeDropTarget;

// The contents tree pane: its view and model, the mouse and keys on it, its context menu and
// file drops, and the commands that change the tree. The core tree holds the selection;
// the view shows it.
class TreeArea : public QObject {
    Q_OBJECT
  public:
    TreeArea(WindowContext& context, QWidget* parent);

    void bindCommands();
    ContentTreeView& view() { return *view_; }
    ContentTreeModel& model() { return *model_; }
    TreeContextMenu& contextMenu() { return *menu_; }

    // Mirrors the core's expansion flags, selection and focused node into the view.
    void syncView();
    void setNodeBoxes(bool on);
    // The tree's part of the hooks the core's tree handling calls.
    void addHooks(contents::TreeHooks& hooks);

    TreeDropTarget& drops() { return *drops_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void onCurrentChanged(const QModelIndex& index);
    void onViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void onRowsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void onExpansion(const QModelIndex& index, bool expanded);
    void syncInsertedSubtree(const QModelIndex& top);
    void addWithDialog(int kind);
    bool mousePress(QMouseEvent* e);
    void selectByClick(project::TreeNode* node, bool shift, bool ctrl);
    bool keyPress(QKeyEvent* e);
    void pushSelectionToView();
    // After the model's rows changed: the view shows the core's selection again.
    void reshaped();
    void openPendingMenu();

    WindowContext& cx_;
    ContentTreeView* view_ = nullptr;
    ContentTreeModel* model_ = nullptr;
    TreeContextMenu* menu_ = nullptr;
    TreeDropTarget* drops_ = nullptr;
    bool syncing_ = false;
    int reshaping_ = 0;             // inside a change of the model's rows
    bool menuPending_ = false;      // the core asked for the context menu
    bool pressPassedOn_ = false;    // the last press went to the view (a +/- box)
    QPoint menuPoint_;              // global position of the last right press
    QPersistentModelIndex anchor_;  // where a Shift+click range starts
};

}  // namespace tarnbook::shell
