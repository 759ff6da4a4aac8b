#include "shell/ViewerWindow.h"

#include <QAction>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <algorithm>

#include "shell/ChmSchemeHandler.h"
#include "shell/QtText.h"
#include "shell/ViewerPage.h"

// The icons live in the shell's static library; its initializer must be called by name.
static void initViewerIcons() {
    Q_INIT_RESOURCE(icons);
}

namespace tarnbook::shell {

namespace {

constexpr int kTargetRole = Qt::UserRole;
constexpr int kExternalRole = Qt::UserRole + 1;

QIcon themedIcon(const char* theme, const char* ownCommand) {
    return QIcon::fromTheme(
        QString::fromLatin1(theme),
        QIcon(QStringLiteral(":/icons/cmd/%1.svg").arg(QLatin1String(ownCommand))));
}

}  // namespace

ViewerWindow::ViewerWindow(std::unique_ptr<viewer::HelpLibrary> library, QWidget* parent)
    : QMainWindow(parent), library_(std::move(library)) {
    initViewerIcons();
    // A profile of its own that keeps nothing on disk: no cache, cookies or storage of a
    // help outlive the window.
    profile_ = new QWebEngineProfile(this);
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    auto* handler = new ChmSchemeHandler(*library_, this);
    profile_->installUrlSchemeHandler(kChmScheme, handler);
    profile_->installUrlSchemeHandler("ms-its", handler);
    profile_->installUrlSchemeHandler("mk", handler);
    profile_->setUrlRequestInterceptor(new ChmRequestGuard(this));

    view_ = new QWebEngineView(this);
    page_ = new ViewerPage(profile_, view_);
    view_->setPage(page_);
    connect(view_, &QWebEngineView::titleChanged, this,
            [this](const QString& title) { statusBar()->showMessage(title); });
    connect(view_, &QWebEngineView::urlChanged, this, &ViewerWindow::followUrl);
    connect(view_, &QWebEngineView::printFinished, this, [this](bool ok) {
        printer_.reset();
        if (!ok) statusBar()->showMessage(QStringLiteral("印刷できませんでした。"));
    });

    tabs_ = new QTabWidget(this);
    tabs_->addTab(buildContentsTab(), QStringLiteral("目次"));
    tabs_->addTab(buildIndexTab(), QStringLiteral("キーワード"));
    tabs_->addTab(buildSearchTab(), QStringLiteral("検索"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(view_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 700});
    setCentralWidget(splitter);
    buildToolbar();

    const std::string title = library_->title();
    setWindowTitle(title.empty() ? fromUtf8(library_->bookName(0)) : fromUtf8(title));
    applyWindowGeometry();
}

ViewerWindow::~ViewerWindow() {
    // The page must go before the profile it was made with.
    delete view_;
}

void ViewerWindow::buildToolbar() {
    QToolBar* bar = addToolBar(QStringLiteral("ナビゲーション"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setMovable(false);
    QAction* back =
        bar->addAction(themedIcon("go-previous", "NavigateBack"), QStringLiteral("戻る"));
    back->setShortcut(QKeySequence::Back);
    connect(back, &QAction::triggered, view_, &QWebEngineView::back);
    QAction* forward =
        bar->addAction(themedIcon("go-next", "NavigateNext"), QStringLiteral("進む"));
    forward->setShortcut(QKeySequence::Forward);
    connect(forward, &QAction::triggered, view_, &QWebEngineView::forward);
    QAction* home = bar->addAction(themedIcon("go-home", "ViewCHM"), QStringLiteral("ホーム"));
    connect(home, &QAction::triggered, this, &ViewerWindow::showHome);
    QAction* printAction =
        bar->addAction(themedIcon("document-print", "ViewLog"), QStringLiteral("印刷"));
    printAction->setShortcut(QKeySequence::Print);
    connect(printAction, &QAction::triggered, this, &ViewerWindow::print);
    auto updateHistory = [this, back, forward] {
        back->setEnabled(view_->history()->canGoBack());
        forward->setEnabled(view_->history()->canGoForward());
    };
    // The history knows of a new page only once it has loaded.
    connect(view_, &QWebEngineView::urlChanged, this, updateHistory);
    connect(view_, &QWebEngineView::loadFinished, this, updateHistory);
    updateHistory();
}

QWidget* ViewerWindow::buildContentsTab() {
    contents_ = new QTreeWidget(this);
    contents_->setHeaderHidden(true);
    addContents(library_->contents(), nullptr);
    connect(contents_, &QTreeWidget::itemActivated, this, &ViewerWindow::showContentsItem);
    connect(contents_, &QTreeWidget::itemClicked, this, &ViewerWindow::showContentsItem);
    return contents_;
}

void ViewerWindow::addContents(const std::vector<viewer::ContentsItem>& items,
                               QTreeWidgetItem* parent) {
    for (const auto& c : items) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
        item->setText(0, fromUtf8(c.title));
        if (c.target) {
            item->setData(0, kTargetRole, remember(*c.target));
            itemOfPage_.emplace(std::make_pair(c.target->book, c.target->path), item);
        } else if (!c.externalUrl.empty()) {
            item->setData(0, kExternalRole, fromUtf8(c.externalUrl));
        }
        const bool folder = !c.children.empty();
        item->setIcon(0, QIcon(folder ? QStringLiteral(":/icons/tree/00.svg")
                                      : QStringLiteral(":/icons/tree/08.svg")));
        addContents(c.children, item);
    }
}

QWidget* ViewerWindow::buildIndexTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    auto* label = new QLabel(QStringLiteral("検索するキーワードを入力してください(&W):"), tab);
    layout->addWidget(label);
    keyword_ = new QLineEdit(tab);
    label->setBuddy(keyword_);
    layout->addWidget(keyword_);
    index_ = new QListWidget(tab);
    for (const auto& k : library_->index()) {
        auto* item = new QListWidgetItem(
            QString(k.level * 4, QLatin1Char(' ')) + fromUtf8(k.keyword), index_);
        QVariantList targets;
        for (const auto& t : k.targets) targets.push_back(remember(t));
        item->setData(kTargetRole, targets);
        if (!k.seeAlso.empty()) item->setData(kExternalRole, fromUtf8(k.seeAlso));
    }
    layout->addWidget(index_);
    auto* show = new QPushButton(QStringLiteral("表示(&D)"), tab);
    layout->addWidget(show, 0, Qt::AlignRight);
    connect(keyword_, &QLineEdit::textEdited, this, &ViewerWindow::typeAhead);
    connect(keyword_, &QLineEdit::returnPressed, this,
            [this] { showIndexItem(index_->currentItem()); });
    connect(index_, &QListWidget::itemActivated, this, &ViewerWindow::showIndexItem);
    connect(show, &QPushButton::clicked, this, [this] { showIndexItem(index_->currentItem()); });
    return tab;
}

QWidget* ViewerWindow::buildSearchTab() {
    auto* tab = new QWidget(this);
    auto* layout = new QVBoxLayout(tab);
    auto* label = new QLabel(QStringLiteral("検索する語句を入力してください(&W):"), tab);
    layout->addWidget(label);
    auto* row = new QHBoxLayout;
    query_ = new QLineEdit(tab);
    label->setBuddy(query_);
    auto* go = new QPushButton(QStringLiteral("検索(&L)"), tab);
    row->addWidget(query_);
    row->addWidget(go);
    layout->addLayout(row);
    resultCount_ = new QLabel(tab);
    layout->addWidget(resultCount_);
    results_ = new QListWidget(tab);
    layout->addWidget(results_);
    auto run = [this] { search(query_->text()); };
    connect(query_, &QLineEdit::returnPressed, this, run);
    connect(go, &QPushButton::clicked, this, run);
    connect(results_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        showTarget(targets_[item->data(kTargetRole).toInt()]);
    });
    return tab;
}

int ViewerWindow::search(const QString& query) {
    query_->setText(query);
    results_->clear();
    const auto found = library_->search(query.toStdString());
    for (const auto& r : found) {
        auto* item = new QListWidgetItem(fromUtf8(r.title), results_);
        item->setData(kTargetRole, remember(r.target));
        item->setToolTip(fromUtf8(r.target.path));
    }
    resultCount_->setText(found.empty()
                              ? QStringLiteral("見つかりませんでした。")
                              : QStringLiteral("%1 件見つかりました。").arg(found.size()));
    if (!found.empty()) results_->setCurrentRow(0);
    return static_cast<int>(found.size());
}

int ViewerWindow::remember(const viewer::HelpTarget& target) {
    targets_.push_back(target);
    return static_cast<int>(targets_.size() - 1);
}

void ViewerWindow::applyWindowGeometry() {
    QRect want(0, 0, 960, 680);
    if (const auto& g = library_->info().window) {
        // A hostile size is cut to the screen below; the cast only needs to stay in range.
        want = QRect(g->left, g->top, static_cast<int>(std::min<std::int64_t>(g->width(), 100000)),
                     static_cast<int>(std::min<std::int64_t>(g->height(), 100000)));
    }
    // The help's window, kept on the screen it would open on.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1280, 800);
    const QSize size(std::clamp(want.width(), 400, std::max(400, screen.width())),
                     std::clamp(want.height(), 300, std::max(300, screen.height())));
    resize(size);
    if (library_->info().window && screen.contains(QRect(want.topLeft(), size)))
        move(want.topLeft());
}

void ViewerWindow::showTarget(const viewer::HelpTarget& target) {
    if (!library_->exists(target)) {
        statusBar()->showMessage(
            QStringLiteral("ページ %1 はこのヘルプにありません。").arg(fromUtf8(target.path)));
        return;
    }
    view_->setUrl(chmUrl(target));
}

void ViewerWindow::showIndexTab() {
    tabs_->setCurrentIndex(1);
    keyword_->setFocus();
}

void ViewerWindow::showHome() {
    if (auto home = library_->defaultPage()) showTarget(*home);
}

void ViewerWindow::showContentsItem(QTreeWidgetItem* item) {
    if (!item) return;
    const QVariant target = item->data(0, kTargetRole);
    if (target.isValid()) {
        showTarget(targets_[target.toInt()]);
    } else if (const QVariant web = item->data(0, kExternalRole); web.isValid()) {
        QDesktopServices::openUrl(QUrl(web.toString()));
    }
}

void ViewerWindow::showIndexItem(QListWidgetItem* item) {
    if (!item) return;
    const QVariantList targets = item->data(kTargetRole).toList();
    if (targets.isEmpty()) {
        // A "see also" entry names another keyword.
        const QString other = item->data(kExternalRole).toString();
        if (!other.isEmpty()) {
            keyword_->setText(other);
            typeAhead(other);
        }
        return;
    }
    int chosen = targets.front().toInt();
    if (targets.size() > 1) {
        QStringList titles;
        for (const QVariant& t : targets)
            titles << fromUtf8(library_->pageTitle(targets_[t.toInt()]));
        bool ok = false;
        const QString pick = QInputDialog::getItem(
            this, QStringLiteral("トピックの選択"),
            QStringLiteral("表示するトピックを選んでください:"), titles, 0, false, &ok);
        if (!ok) return;
        chosen = targets[titles.indexOf(pick)].toInt();
    }
    showTarget(targets_[chosen]);
}

void ViewerWindow::typeAhead(const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) return;
    for (int row = 0; row < index_->count(); ++row) {
        QListWidgetItem* item = index_->item(row);
        if (item->text().trimmed().startsWith(wanted, Qt::CaseInsensitive)) {
            index_->setCurrentItem(item);
            index_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void ViewerWindow::followUrl(const QUrl& url) {
    const auto target = chmTarget(url);
    if (!target) return;
    // The contents follow the page shown, without showing it again.
    const auto it = itemOfPage_.find({target->book, target->path});
    if (it == itemOfPage_.end()) return;
    const QSignalBlocker block(contents_);
    contents_->setCurrentItem(it->second);
    contents_->scrollToItem(it->second);
}

void ViewerWindow::print() {
    if (printer_) return;  // the page is still being printed
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted) return;
    printer_ = std::move(printer);
    view_->print(printer_.get());
}

}  // namespace tarnbook::shell
