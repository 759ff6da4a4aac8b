#include "shell/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QProgressDialog>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "authoring/EditorPage.h"
#include "authoring/ResourceRegistry.h"
#include "authoring/TagHighlight.h"
#include "contents/TreeOps.h"
#include "platform/Memory.h"
#include "project/ProjectLifecycle.h"
#include "shell/BuildArea.h"
#include "shell/CaptureArea.h"
#include "shell/CommandActions.h"
#include "shell/ContentTreeModel.h"
#include "shell/ContextHelp.h"
#include "shell/EditorArea.h"
#include "shell/HelpService.h"
#include "shell/ImportArea.h"
#include "shell/MapArea.h"
#include "shell/ProjectArea.h"
#include "shell/ProjectPropertyArea.h"
#include "shell/ProjectToolsArea.h"
#include "shell/QtText.h"
#include "shell/ResourceArea.h"
#include "shell/TextEditor.h"
#include "shell/ToolbarArea.h"
#include "shell/TreeArea.h"
#include "shell/TreeDropTarget.h"
#include "shell/UndoArea.h"
#include "shell/WebPreview.h"

// The icons live in this static library; its resource initializer must be called by name, or
// the linker drops it.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace tarnbook::shell {

MainWindow::MainWindow(ui::Prompts* prompts, QWidget* parent)
    : QMainWindow(parent),
      ownPrompts_(prompts ? nullptr : std::make_unique<QtPrompts>(this)),
      prompts_(prompts ? *prompts : *ownPrompts_),
      help_(std::make_unique<HelpService>(prompts_)),
      contextHelp_(std::make_unique<ContextHelp>(
          [help = help_.get()](std::uint32_t id) { return help->popupText(id); })) {
    runDialog = [](QDialog& d) { return d.exec(); };
    initIconResources();
    setMinimumSize(480, 400);
    resize(1024, 720);
    buildViews();
    ws_ = std::make_unique<project::Workspace>(prompts_, *preview_, *editor_, *this);
    cx_ = std::make_unique<WindowContext>(WindowContext{
        *this, *ws_, prompts_, commands_, *help_, runDialog,
        [this](const std::function<void()>& f) { guarded(f); },
        [this](std::string_view id) { return action(id); },
        [this](std::string_view id) { run(id); }, [this] { showSelected(); },
        [this] { return hooks(); }, [this](const QString& t) { pane0_->setText(t); }});

    tree_ = new TreeArea(*cx_, splitter_);
    splitter_->insertWidget(0, &tree_->view());
    undo_ = new UndoArea(*cx_, tree_->view());
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, 760});
    editorArea_ = new EditorArea(*cx_, *editor_, *preview_);
    resources_ = new ResourceArea(*cx_);
    pageWidgets_[2] = resources_->page();
    tabs_->addTab(resources_->page(), QStringLiteral("リソースプレビュー"));
    build_ = new BuildArea(*cx_);
    project_ = new ProjectArea(*cx_);
    auto* projectProperty = new ProjectPropertyArea(*cx_);
    auto* tools = new ProjectToolsArea(*cx_);
    auto* maps = new MapArea(*cx_);
    auto* imports = new ImportArea(*cx_);
    tree_->drops().askTitleSource = [imports] { return imports->askTitleSource(); };
    tree_->drops().importFile = [imports](const std::string& path, project::TreeNode* parent,
                                          int titleSource) {
        imports->importDroppedFile(path, parent, titleSource);
    };
    project_->applyNodeBoxes = [this](bool on) { tree_->setNodeBoxes(on); };
    project_->rehighlightEditor = [this] {
        authoring::htmlTagPickUp(*editor_, authoring::readHighlightSettings(ws_->settings));
    };
    toolbars_ = new ToolbarArea(*cx_);
    capture_ = new CaptureArea(*cx_);

    tree_->bindCommands();
    undo_->bindCommands();
    editorArea_->bindCommands();
    resources_->bindCommands();
    build_->bindCommands();
    project_->bindCommands();
    toolbars_->bindCommands();
    capture_->bindCommands();
    projectProperty->bindCommands();
    tools->bindCommands();
    maps->bindCommands();
    imports->bindCommands();

    actions_ = new CommandActions(*this, commands_, [this](std::string_view id) { run(id); });
    actions_->build();
    undo_->attach(*actions_);
    toolbars_->attach(*actions_);
    editorArea_->attachFontSizeMenu(action("FontSize"));
    if (QToolButton* b = actions_->toolButton("FontSize"))
        b->setPopupMode(QToolButton::InstantPopup);
    project_->attachMenus(*actions_);
    resources_->addButtons();
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::onPageChanged);

    setTitle(project::windowTitle(*ws_));
    authoring::refreshWindowState(*ws_);

    // Enable rules follow the state whenever the program is idle.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, &MainWindow::updateActions);
    idle->start(150);
    auto* gauge = new QTimer(this);
    connect(gauge, &QTimer::timeout, this, &MainWindow::updateMemoryGauge);
    gauge->start(1000);
    updateMemoryGauge();
    updateActions();
}

MainWindow::~MainWindow() {
    // The model observes the workspace's tree: it lets go before the workspace goes.
    tree_->view().setModel(nullptr);
    delete tree_;
    delete undo_;
    if (ws_) authoring::deletePreviewTempFile(*ws_);
}

void MainWindow::buildViews() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    tabs_ = new QTabWidget(splitter_);
    tabs_->setDocumentMode(true);
    preview_ = new WebPreview();
    editor_ = new TextEditor();
    pageWidgets_[0] = preview_;
    pageWidgets_[1] = editor_;
    tabs_->addTab(preview_, QStringLiteral("コンテンツプレビュー"));
    tabs_->addTab(editor_, QStringLiteral("オブジェクトタグ挿入"));
    setCentralWidget(splitter_);
    buildStatusBar();
}

void MainWindow::buildStatusBar() {
    pane0_ = new QLabel(this);
    pane0_->setTextFormat(Qt::PlainText);  // page paths and hints, never markup
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setMaximumWidth(120);
    pane2_ = new QLabel(this);
    pane2_->setMinimumWidth(64);
    pane2_->setAlignment(Qt::AlignCenter);
    memory_ = new QProgressBar(this);
    memory_->setRange(0, 100);
    memory_->setMaximumWidth(90);
    memory_->setFormat(QStringLiteral("%p%"));
    statusBar()->addWidget(pane0_, 1);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->addPermanentWidget(pane2_);
    statusBar()->addPermanentWidget(memory_);
}

QTreeView& MainWindow::treeView() {
    return tree_->view();
}

QMenu* MainWindow::recentMenu() const {
    return project_->recentMenu();
}

QMenu* MainWindow::openDropDown() const {
    return project_->openDropDown();
}

QMenu* MainWindow::toolsMenu() const {
    return project_->toolsMenu();
}

project::RecentProjects& MainWindow::recentProjects() {
    return project_->recent();
}

void MainWindow::guarded(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        prompts_.showError(e.what());
    }
    updateActions();
}

contents::TreeHooks MainWindow::hooks() {
    contents::TreeHooks h;
    h.highlightTags = [this] {
        authoring::htmlTagPickUp(*editor_, authoring::readHighlightSettings(ws_->settings));
    };
    h.editorPageShowing = [this] { return tabs_->currentIndex() == 1; };
    h.editHtml = [this] { authoring::openExternalEditor(*ws_); };
    if (tree_) tree_->addHooks(h);
    return h;
}

void MainWindow::showSelected() {
    const int writesBefore = pane0Writes_;
    contents::showSelectedNode(*ws_, hooks());
    // A page loaded into the editor has put its path (and "#anchor") there already.
    if (pane0Writes_ == writesBefore && !ws_->currentPage.empty())
        pane0_->setText(fromCp932(ws_->currentPage));
    authoring::refreshWindowState(*ws_);
}

QAction* MainWindow::action(std::string_view id) const {
    return actions_ ? actions_->action(id) : nullptr;
}

QString MainWindow::statusText(int pane) const {
    switch (pane) {
        case 0:
            return pane0_->text();
        case 2:
            return pane2_->text();
        case 3:
            return memory_->toolTip();
        default:
            return QString::number(progress_->value());
    }
}

void MainWindow::run(std::string_view id) {
    if (!commands_.isBound(id)) commands_.run(id);  // throws: a programming error
    if (QAction* a = action(id); a && !a->isEnabled()) return;
    // Whatever one command changes in the tree is undone as one step.
    guarded([&] {
        contents::UndoHistory::Scope step(undo_->history(), contents::stepLabel(id));
        commands_.run(id);
    });
}

bool MainWindow::openProjectFile(const std::string& corePath) {
    bool opened = false;
    guarded([&] { opened = project::openProject(*ws_, corePath); });
    return opened;
}

void MainWindow::updateActions() {
    contents::EnableState s = contents::enableStateOf(*ws_);
    s.editorPageActive = tabs_->currentIndex() == 1 && tabs_->isTabVisible(1);
    s.clipboardHasText = !QApplication::clipboard()->text().isEmpty();
    const auto rows = resources_->selectedRows();
    s.resourceDeletable = authoring::unregisterEnabled(rows);
    s.resourceKeywordEditable = authoring::keywordEnabled(rows);
    s.helpFileAvailable = help_->available();
    undo_->refresh(s);
    if (actions_) actions_->updateEnabled(s);
    // The saved pane follows the save command's rule.
    pane2_->setText(ws_->saved ? QStringLiteral("保存済み") : QStringLiteral("未保存"));
}

void MainWindow::onPageChanged(int index) {
    if (!ws_) return;
    const ui::Page page = index == 0   ? ui::Page::Preview
                          : index == 1 ? ui::Page::Editor
                                       : ui::Page::Resources;
    guarded([&] { authoring::pageChanged(*ws_, page, [this] { run("ResAll"); }); });
}

void MainWindow::updateMemoryGauge() {
    // The share of the machine's memory still available.
    const std::optional<int> free = platform::freeMemoryPercent();
    if (!free) return;
    memory_->setValue(*free);
    memory_->setToolTip(QStringLiteral("メモリ: %1% 空き").arg(*free));
}

QMenu* MainWindow::createPopupMenu() {
    // The toolbar area offers the toolbar settings, not Qt's list of toolbars.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenuToolbars"));
    if (QAction* a = action("BarCustomize")) menu->addAction(a);
    return menu;
}

int MainWindow::tabIndexOf(ui::Page page) const {
    return page == ui::Page::Preview ? 0 : page == ui::Page::Editor ? 1 : 2;
}

void MainWindow::setStatusText(int pane, const std::string& text) {
    if (pane == 0) {
        pane0_->setText(fromUtf8(text));
        ++pane0Writes_;
    }
    if (pane == 2) pane2_->setText(fromUtf8(text));
}

void MainWindow::setTitle(const std::string& title) {
    setWindowTitle(fromUtf8(title));
}

void MainWindow::setProgress(int percent) {
    progress_->setValue(std::clamp(percent, 0, 100));
}

void MainWindow::beginProgressWindow(const std::string& caption, int maximum) {
    delete progressWindow_;
    progressWindow_ =
        new QProgressDialog(fromUtf8(caption), QString(), 0, std::max(1, maximum), this);
    progressWindow_->setWindowModality(Qt::WindowModal);
    progressWindow_->setMinimumDuration(500);
}

void MainWindow::setProgressWindowPosition(int position) {
    if (progressWindow_) progressWindow_->setValue(position);
}

void MainWindow::endProgressWindow() {
    delete progressWindow_;
    progressWindow_ = nullptr;
}

void MainWindow::setPageVisible(ui::Page page, bool visible) {
    const int i = tabIndexOf(page);
    if (tabs_->isTabVisible(i) != visible) tabs_->setTabVisible(i, visible);
}

void MainWindow::activatePage(ui::Page page) {
    tabs_->setCurrentIndex(tabIndexOf(page));
}

void MainWindow::setProjectUiEnabled(bool enabled) {
    if (QToolBar* left = actions_ ? actions_->toolbar("ToolBarLeft") : nullptr)
        left->setVisible(enabled);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // A failed save shows its error and keeps the window, so the changes are not lost.
    bool mayClose = false;
    guarded([&] { mayClose = project::closeQuery(*ws_); });
    if (!mayClose) {
        e->ignore();
        return;
    }
    if (started_) {
        project::ShutdownInput in;
        in.state = isMaximized()   ? project::WindowState::Maximized
                   : isMinimized() ? project::WindowState::Minimized
                                   : project::WindowState::Normal;
        const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
        in.placement = {g.x(), g.y(), g.width(), g.height(), splitter_->sizes().value(0), false};
        in.captureOn = capture_->isOn();
        in.previewTextSize = editorArea_->previewTextSize();
        started_ = false;
        try {
            project::shutDown(*ws_, project_->recent(), in);
        } catch (const std::exception& ex) {
            prompts_.showError(ex.what());
        }
    }
    e->accept();
}

project::StartupState MainWindow::startUp(const project::StartupOptions& options) {
    project::StartupState st;
    guarded([&] { st = project::startUp(*ws_, project_->recent(), options); });
    started_ = true;
    help_->setHelpFile(st.helpFile);
    const project::WindowPlacement& p = st.placement;
    const QSize size(std::max(p.width, minimumWidth()), std::max(p.height, minimumHeight()));
    move(p.x, p.y);
    resize(size);
    pendingFrame_ = p.frame;
    if (isVisible()) applyFrame();
    if (p.maximized) setWindowState(windowState() | Qt::WindowMaximized);
    tree_->setNodeBoxes(st.nodeBox);
    editorArea_->restoreTextSize(st.previewTextSize,
                                 st.textSizeMenuItem ? *st.textSizeMenuItem : 0);
    toolbars_->applySettings();
    capture_->setOn(st.captureOn);
    project_->rebuildToolsMenu(st.tools);
    project_->rebuildRecentMenu();
    tree_->syncView();
    updateActions();
    return st;
}

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    applyFrame();
    if (started_ && !standardPageChecked_) {
        standardPageChecked_ = true;
        QTimer::singleShot(0, this,
                           [this] { guarded([this] { project::checkStandardPage(*ws_); }); });
    }
}

void MainWindow::applyFrame() {
    if (pendingFrame_ < 0) return;
    const int total = std::max(splitter_->width(), 200);
    const int frame = std::clamp(pendingFrame_, 60, total - 60);
    splitter_->setSizes({frame, total - frame});
    pendingFrame_ = -1;
}

}  // namespace tarnbook::shell
