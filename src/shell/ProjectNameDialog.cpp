#include "shell/ProjectNameDialog.h"
#include "shell/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "shell/QtText.h"

namespace tarnbook::shell {
namespace {

// Drops the characters a folder name cannot hold as they are typed or pasted.
class NameValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        QString kept;
        int removedBefore = 0;
        for (int i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            if (c.unicode() < 128 &&
                project::NewProjectNameForm::isRefusedKey(static_cast<char>(c.unicode()))) {
                if (i < pos) ++removedBefore;
                continue;
            }
            kept += c;
        }
        input = kept;
        pos -= removedBefore;
        return Acceptable;
    }
};

}  // namespace

ProjectNameDialog::ProjectNameDialog(const std::string& projectsFolder, QWidget* parent)
    : QDialog(parent), form_(projectsFolder) {
    setWindowTitle(QStringLiteral("新プロジェクト名"));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout();
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("EditNewPrjName"));
    name_->setValidator(new NameValidator(name_));
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("EditName"));
    folder_->setReadOnly(true);
    folder_->setMinimumWidth(320);
    fields->addRow(QStringLiteral("プロジェクト名"), name_);
    fields->addRow(QStringLiteral("フォルダ"), folder_);
    layout->addLayout(fields);
    const DialogButtons b = addDialogButtons(this, {});
    ok_ = b.ok;
    ok_->setEnabled(false);
    layout->addWidget(b.box);
    connect(name_, &QLineEdit::textChanged, this, &ProjectNameDialog::nameChanged);
    name_->setFocus();
}

bool ProjectNameDialog::okEnabled() const {
    return ok_->isEnabled();
}

void ProjectNameDialog::nameChanged() {
    form_.setName(platform::utf8ToCp932(name_->text().toStdString()));
    const std::string& folder = form_.folderShown();
    folder_->setText(folder.empty() ? QString() : nativeText(folder));
    ok_->setEnabled(form_.okEnabled());
}

}  // namespace tarnbook::shell
