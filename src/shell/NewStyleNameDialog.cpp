#include "shell/NewStyleNameDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/TemplateFieldWidgets.h"

namespace tarnbook::shell {

NewStyleNameDialog::NewStyleNameDialog(QWidget* parent, platform::IniFile& settings)
    : QDialog(parent), settings_(settings) {
    setObjectName("TdlgNewStyleName");
    setWindowTitle(QString::fromUtf8("新規スタイル名入力"));
    name_ = new QLineEdit(this);
    name_->setObjectName("EditNewName");
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    buttons->addButton(QString::fromUtf8("キャンセル"), QDialogButtonBox::RejectRole)
        ->setObjectName("CancelBtn");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8("新規スタイル名"), this));
    layout->addWidget(name_);
    layout->addWidget(buttons);
    wizardui::restorePosition(this, settings, "NewStyle");
    name_->setFocus();
}

void NewStyleNameDialog::done(int result) {
    wizardui::storePosition(this, settings_, "NewStyle");
    QDialog::done(result);
}

std::optional<std::string> askNewStyleName(QWidget* parent, platform::IniFile& settings) {
    NewStyleNameDialog dialog(parent, settings);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return wizardui::toCp932(dialog.nameField()->text());
}

}  // namespace tarnbook::shell
