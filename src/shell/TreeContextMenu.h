#pragma once
#include <QMenu>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/WindowContext.h"

namespace tarnbook::shell {

// The contents tree's context menu. Its entries carry the menu's own captions and run the
// commands of the same ids; each time it opens they take the commands' enabled state.
class TreeContextMenu : public QMenu {
    Q_OBJECT
  public:
    TreeContextMenu(WindowContext& context, QWidget* parent);

    // The entry that runs command `id`; null when the menu has none.
    QAction* entry(std::string_view id) const;

  private:
    void followCommands();

    WindowContext& cx_;
    std::vector<std::pair<std::string, QAction*>> entries_;  // command id, entry
};

}  // namespace tarnbook::shell
