#include "shell/MainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "BuildInfo.h"
#include "authoring/CustomTags.h"
#include "authoring/EditorPage.h"
#include "authoring/ResourceRegistry.h"
#include "authoring/TagHighlight.h"
#include "compile/CompileRun.h"
#include "compile/Decompile.h"
#include "compile/Viewer.h"
#include "contents/EnableRules.h"
#include "contents/TreeOps.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "project/NewProjectNameForm.h"
#include "project/ProjectLifecycle.h"
#include "project/SettingsForm.h"
#include "shell/CompileWaitDialog.h"
#include "shell/ContentTreeModel.h"
#include "shell/DecompileDialog.h"
#include "shell/NewItemDialog.h"
#include "shell/ProjectNameDialog.h"
#include "shell/PropertyDialog.h"
#include "shell/SettingsDialog.h"
#include "shell/TemplateEditorDialog.h"
#include "shell/WizardDialog.h"

// The icons live in this static library; its resource initializer must be called by name, or
// the linker drops it.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace tarnbook::shell {
namespace {

QString q(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
QString fromCp932(std::string_view bytes) {
    return q(platform::cp932ToUtf8(bytes));
}

}  // namespace

MainWindow::MainWindow(ui::Prompts* prompts, QWidget* parent)
    : QMainWindow(parent),
      ownPrompts_(prompts ? nullptr : std::make_unique<QtPrompts>(this)),
      prompts_(prompts ? *prompts : *ownPrompts_) {
    runDialog = [](QDialog& d) { return d.exec(); };
    initIconResources();
    setMinimumSize(480, 400);
    resize(1024, 720);
    buildViews();
    ws_ = std::make_unique<project::Workspace>(prompts_, *preview_, *editor_, *this);
    model_ = new ContentTreeModel(ws_->tree, this);
    treeView_->setModel(model_);
    connect(treeView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& i) { onTreeClicked(i); });
    ws_->tree.onStructureChanged = [this] { treeChanged(); };

    bindHandlers();
    bindBuildHandlers();
    buildActions();
    buildMenusAndToolbars();
    setTitle(std::string(buildinfo::kProductName) + " -Build " + buildinfo::kProductVersion +
             "- [  ]");
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
    if (ws_) {
        ws_->tree.onStructureChanged = nullptr;
        authoring::deletePreviewTempFile(*ws_);
    }
}

void MainWindow::buildViews() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    treeView_ = new ContentTreeView(splitter_);
    treeView_->setHeaderHidden(true);
    treeView_->setUniformRowHeights(true);
    treeView_->setIconSize(QSize(16, 16));
    treeView_->installEventFilter(this);
    tabs_ = new QTabWidget(splitter_);
    tabs_->setDocumentMode(true);

    preview_ = new WebPreview();
    editor_ = new TextEditor();
    editor_->onContextMenu = [this](QContextMenuEvent* e) { showContextMenuOfEditor(e); };
    editor_->onPasteWithBreaks = [this] { run("ActEditPasteAdd"); };

    auto* resources = new QWidget();
    auto* rl = new QVBoxLayout(resources);
    rl->setContentsMargins(4, 4, 4, 4);
    auto* buttons = new QHBoxLayout();
    buttons->setObjectName(QStringLiteral("resourceButtons"));
    rl->addLayout(buttons);
    auto* list = new QTreeWidget(resources);
    list->setObjectName(QStringLiteral("LVResource"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels(
        {QStringLiteral("キーワード"), QStringLiteral("リソース"), QStringLiteral("サイズ")});
    rl->addWidget(list);

    pageWidgets_[0] = preview_;
    pageWidgets_[1] = editor_;
    pageWidgets_[2] = resources;
    tabs_->addTab(preview_, QStringLiteral("コンテンツプレビュー"));
    tabs_->addTab(editor_, QStringLiteral("オブジェクトタグ挿入"));
    tabs_->addTab(resources, QStringLiteral("リソースプレビュー"));
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::onPageChanged);

    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({260, 760});
    setCentralWidget(splitter_);

    pane0_ = new QLabel(this);
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

void MainWindow::guarded(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        prompts_.showError(e.what());
    }
    syncTreeView();
    updateActions();
}

contents::TreeHooks MainWindow::hooks() {
    contents::TreeHooks h;
    h.highlightTags = [this] {
        authoring::htmlTagPickUp(*editor_, authoring::readHighlightSettings(ws_->settings));
    };
    h.editorPageShowing = [this] { return tabs_->currentIndex() == 1; };
    h.editHtml = [this] { authoring::openExternalEditor(*ws_); };
    return h;
}

void MainWindow::showSelected() {
    contents::showSelectedNode(*ws_, hooks());
    if (!ws_->currentPage.empty()) pane0_->setText(fromCp932(ws_->currentPage));
    authoring::refreshWindowState(*ws_);
}

void MainWindow::bindHandlers() {
    auto& ws = *ws_;
    handlers_["ProjectOpen"] = [this] {
        auto path = prompts_.chooseOpenFile(
            "プロジェクトを開く", "プロジェクトファイル|*.xhp;*.XHP",
            ws_->settings.readString("SYSTEM", "PROJECT", platform::appFolder() + "/PROJECT"));
        if (path) openProjectFile(*path);
    };
    handlers_["FileSave"] = [&ws] { project::saveProject(ws); };
    handlers_["NewProject"] = [this, &ws] {
        project::newProject(ws,
                            [this](project::Workspace& w) { return runNewProjectWizard(this, w); });
        model_->reset();
        syncTreeView();
    };
    handlers_["TemplateSetting"] = [this, &ws] { runTemplateEditor(this, ws); };
    handlers_["ProjectSaveAs"] = [this] { saveAs(); };
    handlers_["ShowSetting"] = [this] { showSettings(); };
    handlers_["FileExit1"] = [this] { close(); };
    handlers_["ShowAbout"] = [this] {
        QMessageBox::about(this, QStringLiteral("バージョン情報"),
                           q(std::string(buildinfo::kProductName) + "  Version " +
                             buildinfo::kProductVersion + "\n" + buildinfo::kCompanyName));
    };
    handlers_["OpenPrjFolder"] = [&ws] { authoring::openProjectFolder(ws); };
    handlers_["EditHTML"] = [&ws] { authoring::openExternalEditor(ws); };
    handlers_["TagSave"] = [this, &ws] { authoring::tagSave(ws, [this] { showSelected(); }); };
    handlers_["TagUndo"] = [this] { editor_->undo(); };
    handlers_["EditCut1"] = [this] { editor_->cut(); };
    handlers_["EditCopy1"] = [this] { editor_->copy(); };
    handlers_["EditPaste1"] = [this] { editor_->paste(); };
    handlers_["ActEditPasteAdd"] = [this] {
        const QString t = QApplication::clipboard()->text();
        if (t.isEmpty()) return;
        editor_->replaceSelection(authoring::pasteBytes(
            std::u16string_view(reinterpret_cast<const char16_t*>(t.utf16()), t.size()), true));
    };
    handlers_["ViewRedraw"] = [this, &ws] {
        ws.currentPage.clear();
        showSelected();
    };
    handlers_["NavigateBack"] = [this] {
        activatePage(ui::Page::Preview);
        preview_->goBack();
    };
    handlers_["NavigateNext"] = [this] {
        activatePage(ui::Page::Preview);
        preview_->goForward();
    };
    handlers_["FontSize"] = [] {};  // the drop-down entries carry the size
    handlers_["TbDelItem"] = [this, &ws] { contents::deleteSelection(ws, hooks()); };
    handlers_["TbMoveUp"] = [&ws] { contents::moveUp(ws); };
    handlers_["TbMoveDown"] = [&ws] { contents::moveDown(ws); };
    handlers_["TbMoveLeft"] = [&ws] { contents::moveLeft(ws); };
    handlers_["TbMoveRight"] = [&ws] { contents::moveRight(ws); };
    handlers_["TBSortItem"] = [&ws] { contents::sortNodes(ws, false); };
    handlers_["ActSortItemUp"] = [&ws] { contents::sortNodes(ws, true); };
    handlers_["NodeExpand"] = [&ws] { contents::expandOrCollapse(ws); };
    handlers_["CngType"] = [&ws] { contents::changeKind(ws); };
    // The item dialogs; a new node becomes the selection and its page is shown.
    auto addWithDialog = [this, &ws](contents::ItemKind kind) {
        if (project::TreeNode* n = runAddItemDialog(this, ws, kind)) {
            ws.tree.selectOnly(n);
            showSelected();
        }
    };
    handlers_["TbAddHeader"] = [addWithDialog] { addWithDialog(contents::ItemKind::Heading); };
    handlers_["TbAddContent"] = [addWithDialog] { addWithDialog(contents::ItemKind::Content); };
    handlers_["TbCngProperty"] = [this, &ws] { runPropertyDialog(this, ws); };
    auto fillResources = [this](const std::vector<authoring::ResourceRow>& rows) {
        auto* list = pageWidgets_[2]->findChild<QTreeWidget*>(QStringLiteral("LVResource"));
        list->clear();
        for (const auto& r : rows)
            list->addTopLevelItem(
                new QTreeWidgetItem({fromCp932(r.caption), fromCp932(r.path), fromCp932(r.size)}));
    };
    handlers_["ResAll"] = [this, fillResources] {
        if (ws_->hasProject()) fillResources(authoring::allResourcesView(*ws_));
    };
    handlers_["ResAdd"] = [this, fillResources] {
        if (ws_->hasProject()) fillResources(authoring::addedResourcesView(*ws_));
    };
    handlers_["FileOpenResource"] = [this, fillResources] {
        if (ws_->hasProject() && authoring::addResourcesFromChooser(*ws_))
            fillResources(authoring::addedResourcesView(*ws_));
    };
}

void MainWindow::buildActions() {
    for (const auto& c : contents::commandTable()) {
        if (!handlers_.count(c.id)) continue;
        auto* a = new QAction(q(contents::displayCaption(c)), this);
        a->setObjectName(q(c.id));
        const QString icon = QStringLiteral(":/icons/cmd/%1.svg").arg(q(c.id));
        if (QFile::exists(icon)) a->setIcon(QIcon(icon));
        if (!c.shortcut.empty()) a->setShortcut(QKeySequence(q(c.shortcut)));
        a->setToolTip(q(contents::hintShort(c.hint)));
        a->setStatusTip(q(contents::hintLong(c.hint)));
        const std::string id(c.id);
        connect(a, &QAction::triggered, this, [this, id] { run(id); });
        actions_[id] = a;
        addAction(a);
    }
    if (auto fit = actions_.find(std::string_view("FontSize")); fit != actions_.end()) {
        QAction* fs = fit->second;
        auto* menu = new QMenu(this);
        for (int k = 1; k <= 4; ++k) {
            QAction* e = menu->addAction(QString::number(k));
            e->setCheckable(true);
            e->setChecked(k == authoring::basePreviewTextSize(*ws_));
            connect(e, &QAction::triggered, this, [this, k] {
                guarded([this, k] { authoring::setPreviewTextSize(*ws_, k); });
                previewTextSize_ = k;
                for (int i = 0; i < 4; ++i) fontSizeActions_[i]->setChecked(i + 1 == k);
            });
            fontSizeActions_.push_back(e);
        }
        fs->setMenu(menu);
    }
}

void MainWindow::buildMenusAndToolbars() {
    for (const auto& m : contents::menuLayouts()) {
        std::vector<QAction*> items;
        bool pendingSeparator = false;
        for (auto e : m.entries) {
            if (e == "|") {
                pendingSeparator = !items.empty();
                continue;
            }
            QAction* item = nullptr;
            if (e[0] == '@') {
                // Submenus filled from the recent-projects list and the external tools.
                auto* sub = new QMenu(q(e.substr(1)), this);
                (e.find("外部ツール") != std::string_view::npos ? toolsMenu_ : recentMenu_) = sub;
                item = sub->menuAction();
            } else if (auto it = actions_.find(e); it != actions_.end()) {
                item = it->second;
            }
            if (!item) continue;
            if (pendingSeparator) items.push_back(nullptr);
            pendingSeparator = false;
            items.push_back(item);
        }
        if (items.empty()) continue;
        QMenu* menu = menuBar()->addMenu(q(m.caption));
        for (QAction* a : items) {
            if (a)
                menu->addAction(a);
            else
                menu->addSeparator();
        }
    }
    for (const auto& bar : contents::toolbarLayouts()) {
        const bool left = bar.name == "ToolBarLeft";
        QToolBar* tb = nullptr;
        for (auto id : bar.commands) {
            auto it = actions_.find(id);
            if (it == actions_.end()) continue;
            if (!tb) {
                tb = new QToolBar(q(bar.name), this);
                tb->setObjectName(q(bar.name));
                tb->setIconSize(QSize(16, 16));
                tb->setMovable(!left);
                addToolBar(left ? Qt::LeftToolBarArea : Qt::TopToolBarArea, tb);
            }
            tb->addAction(it->second);
            if (id == "FontSize")
                if (auto* b = qobject_cast<QToolButton*>(tb->widgetForAction(it->second)))
                    b->setPopupMode(QToolButton::InstantPopup);
            if (id == "ProjectOpen")
                if (auto* b = qobject_cast<QToolButton*>(tb->widgetForAction(it->second))) {
                    openDropDown_ = new QMenu(b);
                    connect(openDropDown_, &QMenu::aboutToShow, this,
                            &MainWindow::fillOpenDropDown);
                    b->setMenu(openDropDown_);
                    b->setPopupMode(QToolButton::MenuButtonPopup);
                }
        }
        if (left) leftBar_ = tb;
    }
    auto* buttons = pageWidgets_[2]->findChild<QHBoxLayout*>(QStringLiteral("resourceButtons"));
    for (const char* id : {"ResAll", "ResAdd", "FileOpenResource"}) {
        auto it = actions_.find(std::string_view(id));
        if (it == actions_.end()) continue;
        auto* b = new QPushButton(it->second->text(), pageWidgets_[2]);
        connect(b, &QPushButton::clicked, it->second, &QAction::trigger);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    rebuildRecentMenu();
    rebuildToolsMenu({});
}

QAction* MainWindow::action(std::string_view id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
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
    auto it = handlers_.find(id);
    if (it == handlers_.end()) return;
    if (QAction* a = action(id); a && !a->isEnabled()) return;
    guarded(it->second);
}

bool MainWindow::openProjectFile(const std::string& corePath) {
    bool opened = false;
    guarded([&] {
        opened = project::openProject(*ws_, corePath);
        model_->reset();
        syncTreeView();
    });
    return opened;
}

void MainWindow::updateActions() {
    contents::EnableState s = contents::enableStateOf(*ws_);
    s.editorPageActive = tabs_->currentIndex() == 1 && tabs_->isTabVisible(1);
    s.clipboardHasText = !QApplication::clipboard()->text().isEmpty();
    s.moveAllowed = true;
    for (auto& [id, a] : actions_) {
        const contents::Command* c = contents::findCommand(id);
        bool on = contents::ruleEnabled(c->rule, s);
        if (id == "TbMoveUp")
            on = contents::enable::moveUp(*ws_);
        else if (id == "TbMoveDown")
            on = contents::enable::moveDown(*ws_);
        else if (id == "TbMoveLeft")
            on = contents::enable::moveLeft(*ws_);
        else if (id == "TbMoveRight")
            on = contents::enable::moveRight(*ws_);
        else if (id == "NavigateBack")
            on = preview_->canGoBack();
        else if (id == "NavigateNext")
            on = preview_->canGoForward();
        a->setEnabled(on);
    }
    // The saved pane follows the save command's rule.
    pane2_->setText(ws_->saved ? QStringLiteral("保存済み") : QStringLiteral("未保存"));
}

void MainWindow::treeChanged() {
    if (syncing_) return;
    model_->reset();
    // Reading a project changes the structure once per node: one view update covers them all.
    if (syncQueued_) return;
    syncQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        syncQueued_ = false;
        syncTreeView();
    });
}

void MainWindow::syncTreeView() {
    syncing_ = true;
    // Expansion state lives in the core nodes; the view mirrors it.
    for (project::TreeNode* n : ws_->tree.preorder()) {
        if (n->hasChildren()) treeView_->setExpanded(model_->indexOf(n), n->expanded);
    }
    const QModelIndex cur = model_->indexOf(ws_->tree.focused());
    if (treeView_->currentIndex() != cur)
        treeView_->selectionModel()->setCurrentIndex(cur, QItemSelectionModel::ClearAndSelect);
    model_->refreshAll();
    syncing_ = false;
}

void MainWindow::onTreeClicked(const QModelIndex& index) {
    if (syncing_) return;
    project::TreeNode* n = ContentTreeModel::nodeAt(index);
    if (!n || n == ws_->tree.focused()) return;
    guarded([&] {
        contents::MousePress press;
        press.node = n;
        press.left = true;
        contents::treeMouseDown(*ws_, press, hooks());
        if (ws_->tree.focused() != n) ws_->tree.selectOnly(n);
        showSelected();
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == treeView_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        contents::KeyPress press;
        switch (k->key()) {
            case Qt::Key_Up:
                press.key = contents::TreeKey::Up;
                break;
            case Qt::Key_Down:
                press.key = contents::TreeKey::Down;
                break;
            case Qt::Key_Left:
                press.key = contents::TreeKey::Left;
                break;
            case Qt::Key_Right:
                press.key = contents::TreeKey::Right;
                break;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                press.key = contents::TreeKey::Enter;
                break;
            case Qt::Key_Tab:
                press.key = contents::TreeKey::Tab;
                break;
            case Qt::Key_Home:
                press.key = contents::TreeKey::Home;
                break;
            case Qt::Key_PageUp:
                press.key = contents::TreeKey::PageUp;
                break;
            case Qt::Key_PageDown:
                press.key = contents::TreeKey::PageDown;
                break;
            case Qt::Key_A:
                press.key = contents::TreeKey::A;
                break;
            default:
                break;
        }
        press.ctrl = k->modifiers() & Qt::ControlModifier;
        press.shift = k->modifiers() & Qt::ShiftModifier;
        press.alt = k->modifiers() & Qt::AltModifier;
        // Plain keys move the cursor as the view does; Ctrl combinations are the tree's commands.
        if (press.ctrl && press.key != contents::TreeKey::Other) {
            guarded([&] { contents::treeKeyDown(*ws_, press, hooks()); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::onPageChanged(int index) {
    if (!ws_) return;
    const ui::Page page = index == 0   ? ui::Page::Preview
                          : index == 1 ? ui::Page::Editor
                                       : ui::Page::Resources;
    guarded([&] { authoring::pageChanged(*ws_, page, [this] { run("ResAll"); }); });
}

void MainWindow::showContextMenuOfEditor(QContextMenuEvent* e) {
    QMenu menu(this);
    QMenu* custom = menu.addMenu(QStringLiteral("カスタムタグ(&S)"));
    const auto tags =
        authoring::loadCustomTags(ws_->settings.readString("SYSTEM", "CustomTag", ""));
    auto addTag = [this](QMenu* m, const authoring::CustomTag& t) {
        QAction* a = m->addAction(fromCp932(t.caption));
        const std::string tag = t.tag;
        connect(a, &QAction::triggered, this,
                [this, tag] { guarded([&] { editor_->replaceSelection(tag); }); });
    };
    for (const auto& g : tags.groups) {
        QMenu* sub = custom->addMenu(fromCp932(g.caption));
        for (const auto& t : g.tags) addTag(sub, t);
    }
    for (const auto& t : tags.loose) addTag(custom, t);
    menu.addSeparator();
    for (const char* id : {"EditCopy1", "EditPaste1", "ActEditPasteAdd", "EditCut1", "TagUndo"})
        if (QAction* a = action(id)) menu.addAction(a);
    menu.exec(e->globalPos());
}

void MainWindow::updateMemoryGauge() {
    // What this program holds, as a share of the machine's memory and in megabytes.
    const std::int64_t total = platform::totalMemoryBytes();
    const std::int64_t own = platform::processResidentBytes();
    if (total <= 0 || own <= 0) return;
    memory_->setValue(static_cast<int>(own * 100 / total));
    memory_->setFormat(QStringLiteral("%1 MB").arg(own / (1024 * 1024)));
    memory_->setToolTip(QStringLiteral("使用メモリ: %1 MB").arg(own / (1024 * 1024)));
}

int MainWindow::tabIndexOf(ui::Page page) const {
    return page == ui::Page::Preview ? 0 : page == ui::Page::Editor ? 1 : 2;
}

void MainWindow::setStatusText(int pane, const std::string& text) {
    if (pane == 0) pane0_->setText(q(text));
    if (pane == 2) pane2_->setText(q(text));
}

void MainWindow::setTitle(const std::string& title) {
    setWindowTitle(q(title));
}

void MainWindow::setProgress(int percent) {
    progress_->setValue(std::clamp(percent, 0, 100));
}

void MainWindow::beginProgressWindow(const std::string& caption, int maximum) {
    delete progressWindow_;
    progressWindow_ = new QProgressDialog(q(caption), QString(), 0, std::max(1, maximum), this);
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
    if (leftBar_) leftBar_->setVisible(enabled);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    bool mayClose = true;
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
        in.captureOn = captureOn_;
        in.previewTextSize = previewTextSize_;
        started_ = false;
        // The tree's nodes go away here: the model lets go of them before the view looks again.
        try {
            project::shutDown(*ws_, recent_, in);
        } catch (const std::exception& ex) {
            prompts_.showError(ex.what());
        }
        model_->reset();
    }
    e->accept();
}

project::StartupState MainWindow::startUp(const project::StartupOptions& options) {
    project::StartupState st;
    recent_.onMenuChanged = [this] { rebuildRecentMenu(); };
    guarded([&] { st = project::startUp(*ws_, recent_, options); });
    started_ = true;
    const project::WindowPlacement& p = st.placement;
    const QSize size(std::max(p.width, minimumWidth()), std::max(p.height, minimumHeight()));
    move(p.x, p.y);
    resize(size);
    pendingFrame_ = p.frame;
    if (isVisible()) applyFrame();
    if (p.maximized) setWindowState(windowState() | Qt::WindowMaximized);
    applyNodeBox(st.nodeBox);
    previewTextSize_ = st.previewTextSize;
    for (int i = 0; i < static_cast<int>(fontSizeActions_.size()); ++i)
        fontSizeActions_[i]->setChecked(st.textSizeMenuItem && *st.textSizeMenuItem == i + 1);
    captureOn_ = st.captureOn;
    rebuildToolsMenu(st.tools);
    rebuildRecentMenu();
    model_->reset();
    syncTreeView();
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

void MainWindow::applyNodeBox(bool on) {
    treeView_->setNodeBoxes(on);
}

void MainWindow::rebuildRecentMenu() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    int n = 0;
    for (const std::string& path : recent_.menuEntries()) {
        QAction* a = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(++n).arg(q(platform::nativePath(path))));
        connect(a, &QAction::triggered, this, [this, path] {
            guarded([&] {
                project::openRecentEntry(*ws_, path);
                model_->reset();
            });
        });
    }
    recentMenu_->menuAction()->setEnabled(n > 0);
}

void MainWindow::fillOpenDropDown() {
    openDropDown_->clear();
    std::vector<std::string> paths;
    guarded([&] { paths = project::RecentProjects::dropDownEntries(ws_->settings); });
    for (const std::string& path : paths) {
        QAction* a = openDropDown_->addAction(q(platform::nativePath(path)));
        connect(a, &QAction::triggered, this, [this, path] {
            guarded([&] {
                project::openFromDropDown(*ws_, recent_, path);
                model_->reset();
            });
        });
    }
}

void MainWindow::rebuildToolsMenu(const std::vector<project::ExternalTool>& tools) {
    if (!toolsMenu_) return;
    toolsMenu_->clear();
    QFileIconProvider icons;
    for (const project::ExternalTool& t : tools) {
        const QFileInfo program(q(platform::nativePath(t.program)));
        QAction* a = toolsMenu_->addAction(icons.icon(program), fromCp932(t.caption));
        a->setObjectName(q(t.itemName));
        const int number = t.number;
        connect(a, &QAction::triggered, this,
                [this, number] { guarded([&] { project::runExternalTool(*ws_, number); }); });
    }
    toolsMenu_->menuAction()->setVisible(!tools.empty());
}

void MainWindow::showSettings() {
    SettingsDialog d(project::SettingsForm::load(ws_->settings), prompts_, runDialog, this);
    if (runDialog(d) != QDialog::Accepted) {
        rebuildToolsMenu(project::externalTools(ws_->settings));
        return;
    }
    const project::SettingsForm::Applied applied = d.form().accept(*ws_);
    applyNodeBox(applied.nodeBox);
    if (applied.rehighlightSelectedPage)
        authoring::htmlTagPickUp(*editor_, authoring::readHighlightSettings(ws_->settings));
    rebuildToolsMenu(applied.tools);
}

void MainWindow::saveAs() {
    const std::string folder =
        ws_->settings.readString("SYSTEM", "PROJECT", platform::appFolder() + "/PROJECT");
    ProjectNameDialog d(folder, this);
    if (runDialog(d) != QDialog::Accepted || !d.okEnabled()) return;
    project::saveProjectAs(*ws_, folder, d.name());
}

void MainWindow::bindBuildHandlers() {
    handlers_["GoCompile"] = [this] { compile(); };
    handlers_["ViewLog"] = [this] {
        if (!compile::viewLog(*ws_))
            if (QAction* a = action("ViewLog")) a->setEnabled(false);
    };
    handlers_["ViewCHM"] = [this] {
        if (!ws_->project) return;
        switch (compile::viewCompiledHelp(*ws_->project)) {
            case compile::ViewChmOutcome::Opened:
                project::refreshStatus(*ws_);
                break;
            case compile::ViewChmOutcome::OpenFailed:
                prompts_.showError("コンパイル済みヘルプを表示するプログラムを起動できません。");
                break;
            default:
                if (QAction* a = action("ViewCHM")) a->setEnabled(false);
        }
    };
    handlers_["DeleteViewerStateFile"] = [] { compile::deleteViewerStateFile(); };
    handlers_["DeCompile"] = [this] { decompile(); };
}

bool MainWindow::waitForCompiler(platform::ChildProcess& compiler) {
    CompileWaitDialog d(compiler, this);
    runDialog(d);
    return !d.waitFailed();
}

void MainWindow::compile() {
    compile::CompileHooks h;
    h.saveEditorPage = [this] { authoring::tagSave(*ws_, [this] { showSelected(); }); };
    h.waitForCompiler = [this](platform::ChildProcess& c) { return waitForCompiler(c); };
    compile::goCompile(*ws_, h);
}

void MainWindow::decompile() {
    const std::string desktop = platform::corePath(
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString());
    auto folder = prompts_.chooseFolder("リソースを保存するフォルダの選択", desktop);
    if (!folder) return;
    DecompileDialog d(*folder, prompts_, this);
    if (runDialog(d) != QDialog::Accepted || !d.okEnabled()) return;
    beginProgressWindow("逆コンパイル中..", 100);
    compile::DecompileResult r;
    try {
        r = compile::decompileChm(
            d.form().chmPath(), *folder, [this](std::size_t done, std::size_t total) {
                setProgressWindowPosition(total ? static_cast<int>(done * 100 / total) : 100);
                QApplication::processEvents();
            });
    } catch (...) {
        endProgressWindow();
        throw;
    }
    endProgressWindow();
    if (!r.opened) {
        prompts_.showError(r.error.empty() ? "コンパイル済みヘルプを開けません。" : r.error);
        return;
    }
    if (!r.warnings.empty())
        pane0_->setText(QStringLiteral("%1 個のファイルを保存しました（%2 件をスキップ）")
                            .arg(r.filesWritten)
                            .arg(r.warnings.size()));
    platform::openWithDefaultProgram(*folder);
}

}  // namespace tarnbook::shell
