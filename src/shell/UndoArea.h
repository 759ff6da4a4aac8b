#pragma once
#include <QObject>
#include <memory>

#include "contents/UndoHistory.h"
#include "shell/WindowContext.h"

class QWidget;

namespace tarnbook::shell {

class CommandActions;

// Undo and redo of the contents tree: the history, its two commands, and their captions.
// Ctrl+Z and Ctrl+Y act on the tree only while it has the focus; the page editor keeps its own.
class UndoArea : public QObject {
    Q_OBJECT
  public:
    UndoArea(WindowContext& context, QWidget& treeView);
    ~UndoArea() override;

    void bindCommands();
    // Moves the two commands' shortcuts from the window to the tree pane.
    void attach(CommandActions& actions);
    contents::UndoHistory& history() { return *history_; }
    // Applies the step limit setting and shows in the captions what undo and redo would do.
    void refresh(contents::EnableState& state);

  private:
    void replay(bool forward);

    WindowContext& cx_;
    QWidget& treeView_;
    std::unique_ptr<contents::UndoHistory> history_;
};

}  // namespace tarnbook::shell
