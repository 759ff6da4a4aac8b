#pragma once
#include <QDialog>

#include "project/ToolbarSettings.h"

class QListWidget;

namespace tarnbook::shell {

class CommandActions;

// "ツールバー設定": one checkable row per toolbar button, an empty separator row before each
// toolbar's group.
class ToolbarDialog : public QDialog {
    Q_OBJECT
  public:
    ToolbarDialog(const CommandActions& actions, const project::ToolbarMasks& masks,
                  QWidget* parent = nullptr);

    QListWidget& rows() { return *rows_; }
    // The masks as the check marks give them now.
    project::ToolbarMasks masks() const;

  private:
    QListWidget* rows_ = nullptr;
};

}  // namespace tarnbook::shell
