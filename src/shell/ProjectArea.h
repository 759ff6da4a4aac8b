#pragma once
#include <QObject>
#include <functional>
#include <vector>

#include "project/ExternalTools.h"
#include "project/RecentProjects.h"
#include "shell/WindowContext.h"

class QMenu;

namespace tarnbook::shell {

class CommandActions;

// The project's life cycle and the program's settings: open (with the recent lists), save,
// new, templates, settings, the external tools menu, about and exit.
class ProjectArea : public QObject {
    Q_OBJECT
  public:
    explicit ProjectArea(WindowContext& context);

    void bindCommands();
    // After the actions exist: the open button's drop-down and the two submenus.
    void attachMenus(CommandActions& actions);
    void rebuildRecentMenu();
    void rebuildToolsMenu(const std::vector<project::ExternalTool>& tools);

    project::RecentProjects& recent() { return recent_; }
    QMenu* recentMenu() const { return recentMenu_; }
    QMenu* openDropDown() const { return openDropDown_; }
    QMenu* toolsMenu() const { return toolsMenu_; }

    // Settings that change the tree's look or the editor's colours after the settings dialog.
    std::function<void(bool nodeBoxes)> applyNodeBoxes;
    std::function<void()> rehighlightEditor;

  private:
    void fillOpenDropDown();
    void showSettings();
    void saveAs();
    void showAbout();

    WindowContext& cx_;
    project::RecentProjects recent_;
    QMenu* recentMenu_ = nullptr;
    QMenu* openDropDown_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
};

}  // namespace tarnbook::shell
