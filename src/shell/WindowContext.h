#pragma once
#include <QString>
#include <functional>
#include <string_view>

#include "contents/CommandRegistry.h"
#include "contents/NodeSelection.h"
#include "project/Workspace.h"
#include "ui/Prompts.h"

class QAction;
class QDialog;
class QMainWindow;

namespace tarnbook::shell {

class HelpService;

// What every area of the main window shares: the workspace, the prompts, the command
// registry its handlers go into, and the few services the window itself provides.
struct WindowContext {
    QMainWindow& window;
    project::Workspace& ws;
    ui::Prompts& prompts;
    contents::CommandRegistry& commands;
    // The program's own help; its topicOpener() is what the dialogs' help buttons call.
    HelpService& help;
    // Runs a modal dialog (tests replace it to answer dialogs without an event loop).
    std::function<int(QDialog&)>& runDialog;
    // Runs `f`, shows what it throws to the user, then re-evaluates the commands.
    std::function<void(const std::function<void()>&)> guarded;
    // The QAction of a command id (null before the actions exist).
    std::function<QAction*(std::string_view)> action;
    // Runs a command as the user would.
    std::function<void(std::string_view)> run;
    // Shows the focused node's page in the preview (and the editor).
    std::function<void()> showSelected;
    // The tree commands' view of the window (highlighting, active page, external editor).
    std::function<contents::TreeHooks()> hooks;
    // The status bar's first pane.
    std::function<void(const QString&)> setMessage;
};

}  // namespace tarnbook::shell
