#include "shell/ExportWebDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "shell/DialogButtons.h"
#include "shell/QtText.h"
#include "ui/Prompts.h"

namespace tarnbook::shell {
namespace {

// The web export is this program's own dialog; its page in the manual has this number.
constexpr int kExportWebTopic = 84;

// A line edit with a "..." button beside it.
QLineEdit* fieldWithButton(QWidget* parent, QFormLayout* form, const QString& caption,
                           const char* fieldName, const char* buttonName, QToolButton** button) {
    auto* row = new QHBoxLayout();
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(fieldName));
    edit->setMinimumWidth(320);
    row->addWidget(edit, 1);
    *button = new QToolButton(parent);
    (*button)->setObjectName(QString::fromUtf8(buttonName));
    (*button)->setText(QStringLiteral("..."));
    row->addWidget(*button);
    form->addRow(caption, row);
    return edit;
}

}  // namespace

ExportWebDialog::ExportWebDialog(webexport::ExportWebForm form, std::string projectFolder,
                                 ui::Prompts& prompts, const std::function<void(int)>& help,
                                 QWidget* parent)
    : QDialog(parent),
      form_(std::move(form)),
      projectFolder_(std::move(projectFolder)),
      prompts_(prompts) {
    setWindowTitle(QStringLiteral("Web形式で出力"));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QFormLayout();
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("EditTitle"));
    title_->setText(QString::fromStdString(platform::cp932ToUtf8(form_.title)));
    fields->addRow(QStringLiteral("タイトル"), title_);
    QToolButton* openCss = nullptr;
    QToolButton* openFolder = nullptr;
    css_ = fieldWithButton(this, fields, QStringLiteral("スタイルシート"), "EditCSS", "FileOpenCSS",
                           &openCss);
    css_->setText(nativeText(form_.styleSheet));
    folder_ = fieldWithButton(this, fields, QStringLiteral("出力フォルダ"), "EditFolder",
                              "FolderOpen", &openFolder);
    folder_->setText(nativeText(form_.outputFolder));
    layout->addLayout(fields);
    const DialogButtons b =
        addDialogButtons(this, {"BitBtnOK", "BitBtnCancel", "BitBtnHelp"}, help, kExportWebTopic);
    ok_ = b.ok;
    layout->addWidget(b.box);

    connect(openCss, &QToolButton::clicked, this, [this] {
        if (auto file = prompts_.chooseOpenFile("スタイルシートを開く",
                                                webexport::ExportWebForm::kStyleSheetFilter,
                                                platform::folderPart(form_.styleSheet)))
            css_->setText(nativeText(*file));
    });
    connect(openFolder, &QToolButton::clicked, this, [this] {
        if (auto folder = prompts_.chooseFolder("出力フォルダ", form_.outputFolder))
            folder_->setText(nativeText(*folder));
    });
    for (QLineEdit* e : {title_, css_, folder_})
        connect(e, &QLineEdit::textChanged, this, &ExportWebDialog::fieldsChanged);
    fieldsChanged();
}

void ExportWebDialog::fieldsChanged() {
    form_.title = platform::utf8ToCp932(title_->text().toStdString());
    form_.styleSheet = corePathOf(css_->text().trimmed());
    form_.outputFolder = corePathOf(folder_->text().trimmed());
    ok_->setEnabled(form_.okEnabled());
}

void ExportWebDialog::accept() {
    const std::string problem = form_.problem(projectFolder_);
    if (!problem.empty()) {
        prompts_.warn(problem);
        return;
    }
    QDialog::accept();
}

}  // namespace tarnbook::shell
