#include "shell/WorkshopImportDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "shell/DialogButtons.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

WorkshopImportDialog::WorkshopImportDialog(const std::string& initialFolder, QWidget* parent)
    : QDialog(parent), initialFolder_(initialFolder) {
    setWindowTitle(QStringLiteral("WorkShopプロジェクト取り込み"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("HTML Help Workshop コンテンツ (*.hhc)"), this));
    auto* row = new QHBoxLayout();
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("EditHhcPath"));
    path_->setMinimumWidth(360);
    auto* browse = new QPushButton(QStringLiteral("参照..."), this);
    browse->setObjectName(QStringLiteral("BitBtnBrowse"));
    row->addWidget(path_);
    row->addWidget(browse);
    layout->addLayout(row);
    copy_ = new QCheckBox(QString::fromUtf8(workshopimport::ImportForm::kCopyCaption), this);
    copy_->setObjectName(QStringLiteral("CBCopyResources"));
    copy_->setChecked(false);
    layout->addWidget(copy_);
    const DialogButtons b = addDialogButtons(this, {"BitBtnOK", "BitBtnCancel"});
    ok_ = b.ok;
    ok_->setEnabled(false);
    layout->addWidget(b.box);
    connect(browse, &QPushButton::clicked, this, &WorkshopImportDialog::browse);
    connect(path_, &QLineEdit::textChanged, this, &WorkshopImportDialog::fieldsChanged);
    connect(copy_, &QCheckBox::toggled, this, &WorkshopImportDialog::fieldsChanged);
}

bool WorkshopImportDialog::okEnabled() const {
    return ok_->isEnabled();
}

void WorkshopImportDialog::browse() {
    // The program's filter form "caption|*.ext" becomes Qt's "caption (*.ext)".
    const QString chosen =
        QFileDialog::getOpenFileName(this, windowTitle(), nativeText(initialFolder_),
                                     QStringLiteral("HTML Help Workshop コンテンツ (*.hhc)"));
    if (!chosen.isEmpty()) path_->setText(chosen);
}

void WorkshopImportDialog::fieldsChanged() {
    form_.contentsPath = corePathOf(path_->text());
    form_.copyResources = copy_->isChecked();
    ok_->setEnabled(form_.okEnabled());
}

}  // namespace tarnbook::shell
