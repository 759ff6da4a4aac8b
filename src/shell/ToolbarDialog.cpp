#include "shell/ToolbarDialog.h"

#include <QAction>
#include <QFile>
#include <QListWidget>
#include <QVBoxLayout>

#include "contents/CommandTable.h"
#include "shell/CommandActions.h"
#include "shell/DialogButtons.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

namespace {
QIcon commandIcon(const CommandActions& actions, std::string_view id) {
    if (QAction* a = actions.action(id)) return a->icon();
    const QString file = QStringLiteral(":/icons/cmd/%1.svg").arg(fromUtf8(id));
    return QFile::exists(file) ? QIcon(file) : QIcon();
}
}  // namespace

ToolbarDialog::ToolbarDialog(const CommandActions& actions, const project::ToolbarMasks& masks,
                             QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmSetTBar"));
    setWindowTitle(QStringLiteral("ツールバー設定"));
    rows_ = new QListWidget(this);
    rows_->setObjectName(QStringLiteral("CheckListBox1"));
    rows_->setIconSize(QSize(16, 16));
    const auto& layout = project::toolbarDialogRows();
    const auto checks = project::dialogChecks(masks);
    for (std::size_t i = 0; i < layout.size(); ++i) {
        auto* item = new QListWidgetItem(rows_);
        if (layout[i].separator) {
            item->setFlags(Qt::NoItemFlags);
            item->setSizeHint(QSize(0, 8));
            continue;
        }
        const contents::Command* c = contents::findCommand(layout[i].command);
        item->setText(c ? fromUtf8(contents::displayCaption(*c)) : fromUtf8(layout[i].command));
        item->setIcon(commandIcon(actions, layout[i].command));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(checks[i] ? Qt::Checked : Qt::Unchecked);
    }
    auto* box = new QVBoxLayout(this);
    box->addWidget(rows_);
    box->addWidget(addDialogButtons(this, {"BitBtn1", "BitBtn2"}).box);
    resize(300, 520);
}

project::ToolbarMasks ToolbarDialog::masks() const {
    std::vector<bool> checks(static_cast<std::size_t>(rows_->count()));
    for (int i = 0; i < rows_->count(); ++i)
        checks[static_cast<std::size_t>(i)] = rows_->item(i)->checkState() == Qt::Checked;
    return project::masksFromDialogChecks(checks);
}

}  // namespace tarnbook::shell
