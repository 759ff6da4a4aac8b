#pragma once
#include <QObject>
#include <array>

#include "project/ToolbarSettings.h"
#include "shell/WindowContext.h"

class QToolBar;

namespace tarnbook::shell {

class CommandActions;

// The six customizable toolbars: their buttons and rows from the settings, the
// customization command, and their positions stored whenever the settings are written.
class ToolbarArea : public QObject {
    Q_OBJECT
  public:
    explicit ToolbarArea(WindowContext& context);
    void bindCommands();
    // Once the toolbars exist: their context menu offers the customization.
    void attach(CommandActions& actions);
    // Shows the buttons the masks name and places the toolbars (start-up, after the dialog).
    void applySettings();

  private:
    void customize();
    QToolBar* bar(std::size_t index) const;
    void storePositions();
    void place(const project::ToolbarPositions& positions);

    WindowContext& cx_;
    CommandActions* actions_ = nullptr;
    bool applied_ = false;
    project::ToolbarMasks shownMasks_{};  // what the buttons show since the last apply
    project::ToolbarPositions positions_{};
};

}  // namespace tarnbook::shell
