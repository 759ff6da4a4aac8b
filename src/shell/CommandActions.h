#pragma once
#include <QObject>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "contents/CommandRegistry.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace tarnbook::shell {

// The QActions, menus and toolbars of the main window, made from the command table for
// every command an area has bound, and their enabled state from the table's rules.
class CommandActions : public QObject {
    Q_OBJECT
  public:
    CommandActions(QMainWindow& window, const contents::CommandRegistry& commands,
                   std::function<void(std::string_view)> run);

    // Creates an action per bound command, then the menu bar and the toolbars.
    void build();
    QAction* action(std::string_view id) const;
    // Submenus the window fills itself.
    QMenu* recentMenu() const { return recentMenu_; }
    QMenu* toolsMenu() const { return toolsMenu_; }
    QToolBar* toolbar(std::string_view name) const;
    // The button that shows a command on a toolbar; null when none does.
    QToolButton* toolButton(std::string_view id) const;
    // The action behind a command's button on one of the customizable toolbars: a mirror of
    // the command's action, so that hiding the button leaves the menu item alone.
    QAction* buttonAction(std::string_view id) const;

    void updateEnabled(const contents::EnableState& state);

  private:
    void buildMenus();
    void buildToolbars();
    // A second action that follows `command` and runs it; `hint`, when given, replaces the
    // command's own tool tip and status text.
    QAction* mirrorFor(QAction* command, QObject* parent, std::string_view hint = {});

    QMainWindow& window_;
    const contents::CommandRegistry& commands_;
    std::function<void(std::string_view)> run_;
    std::map<std::string, QAction*, std::less<>> actions_;
    std::map<std::string, QToolBar*, std::less<>> toolbars_;
    std::map<std::string, QAction*, std::less<>> buttonActions_;
    QMenu* recentMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
};

}  // namespace tarnbook::shell
