#include "shell/ResourceArea.h"

#include <QAction>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "authoring/ResourceRegistry.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {

// The two row kinds look different, so that the author sees which rows unregistering touches.
QIcon rowIcon(authoring::RowKind kind) {
    return QIcon(kind == authoring::RowKind::NodePage ? QStringLiteral(":/icons/tree/08.svg")
                                                      : QStringLiteral(":/icons/res/added.svg"));
}

}  // namespace

ResourceArea::ResourceArea(WindowContext& context) : cx_(context) {
    page_ = new QWidget();
    setParent(page_);
    auto* rl = new QVBoxLayout(page_);
    rl->setContentsMargins(4, 4, 4, 4);
    auto* buttons = new QHBoxLayout();
    buttons->setObjectName(QStringLiteral("resourceButtons"));
    rl->addLayout(buttons);
    list_ = new QTreeWidget(page_);
    list_->setObjectName(QStringLiteral("LVResource"));
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setHeaderLabels(
        {QStringLiteral("キーワード"), QStringLiteral("リソース"), QStringLiteral("サイズ")});
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->viewport()->setAcceptDrops(true);
    list_->viewport()->installEventFilter(this);
    rl->addWidget(list_);
}

void ResourceArea::fill(const std::vector<authoring::ResourceRow>& rows) {
    list_->clear();
    rows_ = rows;
    for (const auto& r : rows) {
        auto* item =
            new QTreeWidgetItem({fromCp932(r.caption), fromCp932(r.path), fromCp932(r.size)});
        item->setIcon(0, rowIcon(r.kind));
        list_->addTopLevelItem(item);
    }
}

std::vector<authoring::ResourceRow> ResourceArea::rows() const {
    std::vector<authoring::ResourceRow> rows = rows_;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(i));
        rows[i].selected = item && item->isSelected();
    }
    return rows;
}

std::vector<authoring::ResourceRow> ResourceArea::selectedRows() const {
    QModelIndexList picked = list_->selectionModel()->selectedRows();
    std::sort(picked.begin(), picked.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<authoring::ResourceRow> rows;
    for (const QModelIndex& i : picked) {
        if (i.row() < 0 || static_cast<std::size_t>(i.row()) >= rows_.size()) continue;
        rows.push_back(rows_[static_cast<std::size_t>(i.row())]);
        rows.back().selected = true;
    }
    return rows;
}

void ResourceArea::setColumnWidths() {
    // Caption half the list, path a quarter, size the rest.
    const int width = list_->viewport()->width();
    list_->setColumnWidth(0, width / 2);
    list_->setColumnWidth(1, width / 4);
    list_->setColumnWidth(2, width - width / 2 - width / 4);
}

void ResourceArea::bindCommands() {
    auto& ws = cx_.ws;
    auto& c = cx_.commands;
    c.bind("ResAll", [this, &ws] {
        if (!ws.hasProject()) return;
        setColumnWidths();
        fill(authoring::allResourcesView(ws));
        list_->setFocus();
    });
    c.bind("ResAdd", [this, &ws] {
        if (ws.hasProject()) fill(authoring::addedResourcesView(ws));
    });
    c.bind("FileOpenResource", [this, &ws] {
        if (ws.hasProject() && authoring::addResourcesFromChooser(ws))
            fill(authoring::addedResourcesView(ws));
    });
    c.bind("ResDel", [this, &ws] {
        if (ws.hasProject()) fill(authoring::unregisterSelected(ws, rows()));
    });
}

void ResourceArea::addButtons() {
    auto* buttons = page_->findChild<QHBoxLayout*>(QStringLiteral("resourceButtons"));
    for (const char* id : {"ResAll", "ResAdd", "FileOpenResource"}) {
        QAction* a = cx_.action(id);
        if (!a) continue;
        auto* b = new QPushButton(a->text(), page_);
        b->setToolTip(a->toolTip());
        b->setStatusTip(a->statusTip());
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    menu_ = new QMenu(list_);
    menu_->setObjectName(QStringLiteral("PopupMenuResource"));
    for (const char* id : {"ResDel", "Keyword"})
        if (QAction* a = cx_.action(id)) menu_->addAction(a);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The rules follow the selection the right click has just made.
        cx_.guarded([] {});
        menu_->popup(list_->viewport()->mapToGlobal(at));
    });
}

void ResourceArea::dropFiles(const QMimeData& data) {
    std::vector<std::string> files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) files.push_back(corePathOf(url.toLocalFile()));
    auto& ws = cx_.ws;
    cx_.guarded([&] {
        if (authoring::dropOnResourceList(ws, files)) cx_.run("ResAdd");
    });
}

bool ResourceArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_->viewport()) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            // Files are copied, never moved, whatever the source offers.
            auto* e = static_cast<QDragMoveEvent*>(event);
            if (!e->mimeData()->hasUrls()) return false;
            e->setDropAction(Qt::CopyAction);
            e->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* e = static_cast<QDropEvent*>(event);
            if (!e->mimeData()->hasUrls()) return false;
            e->setDropAction(Qt::CopyAction);
            e->accept();
            dropFiles(*e->mimeData());
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace tarnbook::shell
