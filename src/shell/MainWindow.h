#pragma once
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

#include "contents/CommandTable.h"
#include "contents/NodeSelection.h"
#include "project/RecentProjects.h"
#include "project/Startup.h"
#include "project/Workspace.h"
#include "shell/ContentTreeModel.h"
#include "shell/QtPrompts.h"
#include "shell/TextEditor.h"
#include "shell/WebPreview.h"
#include "ui/StatusDisplay.h"

class QAction;
class QDialog;
class QMenu;
class QLabel;
class QProgressBar;
class QProgressDialog;
class QSplitter;
class QTabWidget;
class QToolBar;
class QTreeView;

namespace tarnbook::platform {
class ChildProcess;
}

namespace tarnbook::shell {

// The main window: binds the views, the command table and the status bar to the workspace.
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
    QTreeView& treeView() { return *treeView_; }
    QTabWidget& pages() { return *tabs_; }
    QAction* action(std::string_view id) const;
    QMenu* recentMenu() const { return recentMenu_; }
    QMenu* openDropDown() const { return openDropDown_; }
    QMenu* toolsMenu() const { return toolsMenu_; }
    project::RecentProjects& recentProjects() { return recent_; }
    QString statusText(int pane) const;

    // Runs a command by id as the user would (with the error box on failure).
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

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void buildViews();
    void bindBuildHandlers();
    void rebuildRecentMenu();
    void fillOpenDropDown();
    void rebuildToolsMenu(const std::vector<project::ExternalTool>& tools);
    void applyNodeBox(bool on);
    void applyFrame();
    void showSettings();
    void saveAs();
    void compile();
    void decompile();
    bool waitForCompiler(platform::ChildProcess& compiler);
    void bindHandlers();
    void buildActions();
    void buildMenusAndToolbars();
    void guarded(const std::function<void()>& f);
    void showSelected();
    void treeChanged();
    void syncTreeView();
    void onTreeClicked(const QModelIndex& index);
    void onPageChanged(int index);
    void showContextMenuOfEditor(QContextMenuEvent* e);
    void updateMemoryGauge();
    int tabIndexOf(ui::Page page) const;
    contents::TreeHooks hooks();

    std::unique_ptr<QtPrompts> ownPrompts_;
    ui::Prompts& prompts_;
    project::RecentProjects recent_;
    bool started_ = false;
    bool standardPageChecked_ = false;
    int previewTextSize_ = project::kDefaultPreviewTextSize;
    bool captureOn_ = false;
    int pendingFrame_ = -1;  // stored tree pane width, applied once the window has its size
    QMenu* recentMenu_ = nullptr;
    QMenu* openDropDown_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    WebPreview* preview_ = nullptr;
    TextEditor* editor_ = nullptr;
    std::unique_ptr<project::Workspace> ws_;
    ContentTreeModel* model_ = nullptr;
    ContentTreeView* treeView_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* pageWidgets_[3] = {};
    QLabel* pane0_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* pane2_ = nullptr;
    QProgressBar* memory_ = nullptr;
    QToolBar* leftBar_ = nullptr;
    QProgressDialog* progressWindow_ = nullptr;
    std::map<std::string, std::function<void()>, std::less<>> handlers_;
    std::map<std::string, QAction*, std::less<>> actions_;
    std::vector<QAction*> fontSizeActions_;
    bool syncing_ = false;
    bool syncQueued_ = false;
};

}  // namespace tarnbook::shell
