#include "shell/ResourceArea.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "authoring/ResourceRegistry.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

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
    list_->setHeaderLabels(
        {QStringLiteral("キーワード"), QStringLiteral("リソース"), QStringLiteral("サイズ")});
    rl->addWidget(list_);
}

void ResourceArea::fill(const std::vector<authoring::ResourceRow>& rows) {
    list_->clear();
    for (const auto& r : rows)
        list_->addTopLevelItem(
            new QTreeWidgetItem({fromCp932(r.caption), fromCp932(r.path), fromCp932(r.size)}));
}

void ResourceArea::bindCommands() {
    auto& ws = cx_.ws;
    auto& c = cx_.commands;
    c.bind("ResAll", [this, &ws] {
        if (ws.hasProject()) fill(authoring::allResourcesView(ws));
    });
    c.bind("ResAdd", [this, &ws] {
        if (ws.hasProject()) fill(authoring::addedResourcesView(ws));
    });
    c.bind("FileOpenResource", [this, &ws] {
        if (ws.hasProject() && authoring::addResourcesFromChooser(ws))
            fill(authoring::addedResourcesView(ws));
    });
}

void ResourceArea::addButtons() {
    auto* buttons = page_->findChild<QHBoxLayout*>(QStringLiteral("resourceButtons"));
    for (const char* id : {"ResAll", "ResAdd", "FileOpenResource"}) {
        QAction* a = cx_.action(id);
        if (!a) continue;
        auto* b = new QPushButton(a->text(), page_);
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
}

}  // namespace tarnbook::shell
