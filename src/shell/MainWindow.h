#pragma once
#include <QMainWindow>
#include <functional>
#include <memory>

#include "contents/CommandRegistry.h"
#include "project/RecentProjects.h"
#include "project/Startup.h"
#include "project/Workspace.h"
#include "shell/QtPrompts.h"
#include "shell/WindowContext.h"
#include "ui/StatusDisplay.h"

class QAction;
class QDialog;
class QMenu;
class QLabel;
class QProgressBar;
class QProgressDialog;
class QSplitter;
class QTabWidget;
class QTreeView;

namespace tarnbook::shell {

class BuildArea;
class ContextHelp;
class CaptureArea;
class CommandActions;
class EditorArea;
class HelpService;
class ProjectArea;
class ResourceArea;
class TextEditor;
class ToolbarArea;
class TreeArea;
class UndoArea;
class WebPreview;

// The main window: assembles the areas (tree, editor and preview, resources, build, project),
// builds the actions from the command table, and shows the status bar.
class MainWindow : public QMainWindow, public ui::StatusDisplay {
    Q_OBJECT
  public:
    // `prompts` answers the core's questions; nullptr gives the window's own message boxes.
    explicit MainWindow(ui::Prompts* prompts = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Settings, placement and the project to open (command line or resume). Without it the
    // window runs on empty settings and writes nothing at close.
    project::StartupState startUp(const project::StartupOptions& options);

    // Runs a modal dialog; tests replace it to fill and answer dialogs without an event loop.
    std::function<int(QDialog&)> runDialog;

    project::Workspace& workspace() { return *ws_; }
    TextEditor& editor() { return *editor_; }
    WebPreview& preview() { return *preview_; }
    QTreeView& treeView();
    QTabWidget& pages() { return *tabs_; }
    TreeArea& treeArea() { return *tree_; }
    EditorArea& editorArea() { return *editorArea_; }
    QAction* action(std::string_view id) const;
    QMenu* recentMenu() const;
    QMenu* openDropDown() const;
    QMenu* toolsMenu() const;
    project::RecentProjects& recentProjects();
    const contents::CommandRegistry& commands() const { return commands_; }
    HelpService& help() { return *help_; }
    QString statusText(int pane) const;

    // Runs a command by id as the user would (with the error box on failure). An id the
    // command table does not know, or that no area bound, throws std::logic_error.
    void run(std::string_view id);
    // Opens a project (the command line's or a test's).
    bool openProjectFile(const std::string& corePath);
    // Re-evaluates every enable rule now (otherwise done when idle).
    void updateActions();

    // StatusDisplay
    void setStatusText(int pane, const std::string& text) override;
    void setTitle(const std::string& title) override;
    void setProgress(int percent) override;
    void beginProgressWindow(const std::string& caption, int maximum) override;
    void setProgressWindowPosition(int position) override;
    void endProgressWindow() override;
    void setPageVisible(ui::Page page, bool visible) override;
    void activatePage(ui::Page page) override;
    void setProjectUiEnabled(bool enabled) override;

    // The context menu of the toolbar area.
    QMenu* createPopupMenu() override;
    ResourceArea& resources() { return *resources_; }

  protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void buildViews();
    void buildStatusBar();
    void guarded(const std::function<void()>& f);
    void showSelected();
    contents::TreeHooks hooks();
    void onPageChanged(int index);
    void updateMemoryGauge();
    void applyFrame();
    int tabIndexOf(ui::Page page) const;

    std::unique_ptr<QtPrompts> ownPrompts_;
    ui::Prompts& prompts_;
    contents::CommandRegistry commands_;
    std::unique_ptr<HelpService> help_;
    std::unique_ptr<ContextHelp> contextHelp_;  // goes before help_ does
    bool started_ = false;
    bool standardPageChecked_ = false;
    int pendingFrame_ = -1;
    int pane0Writes_ = 0;  // how often the core wrote the first status pane  // stored tree pane
                           // width, applied once the window has its size
    WebPreview* preview_ = nullptr;
    TextEditor* editor_ = nullptr;
    std::unique_ptr<project::Workspace> ws_;
    std::unique_ptr<WindowContext> cx_;
    TreeArea* tree_ = nullptr;
    UndoArea* undo_ = nullptr;
    EditorArea* editorArea_ = nullptr;
    ResourceArea* resources_ = nullptr;
    BuildArea* build_ = nullptr;
    ProjectArea* project_ = nullptr;
    ToolbarArea* toolbars_ = nullptr;
    CaptureArea* capture_ = nullptr;
    CommandActions* actions_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* pageWidgets_[3] = {};
    QLabel* pane0_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* pane2_ = nullptr;
    QProgressBar* memory_ = nullptr;
    QProgressDialog* progressWindow_ = nullptr;
};

}  // namespace tarnbook::shell
