#include "shell/HpjConvertDialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/Paths.h"
#include "shell/DialogButtons.h"
#include "ui/Prompts.h"

namespace tarnbook::shell {

HpjConvertDialog::HpjConvertDialog(const winhelp::ProjectTarget& target, QWidget* parent)
    : QDialog(parent), form_(target), prompts_(target.prompts) {
    setWindowTitle(QStringLiteral("Win32ヘルププロジェクトコンバート"));
    auto* layout = new QVBoxLayout(this);
    auto* open = new QPushButton(QStringLiteral("開く(&O)..."), this);
    open->setObjectName(QStringLiteral("FileOpenHPJ"));
    layout->addWidget(open, 0, Qt::AlignLeft);
    auto* openAction = new QAction(this);
    openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addAction(openAction);

    auto* grid = new QGridLayout();
    const char* labels[4] = {"1. Win32プロジェクト読み込み", "2. 依存ファイル確認",
                             "3. コンテンツファイルコンバート", "4. プロジェクト登録、後処理"};
    const char* fieldNames[4] = {"EditHPJ", "EditCheck", "EditConvert", "EditEnd"};
    for (int i = 0; i < 4; ++i) {
        markers_[i] = new QRadioButton(this);
        markers_[i]->setObjectName(QStringLiteral("RB%1").arg(i + 1));
        markers_[i]->setEnabled(false);
        fields_[i] = new QLineEdit(this);
        fields_[i]->setObjectName(QString::fromLatin1(fieldNames[i]));
        fields_[i]->setReadOnly(true);
        fields_[i]->setMinimumWidth(320);
        grid->addWidget(markers_[i], i, 0);
        grid->addWidget(new QLabel(QString::fromUtf8(labels[i]), this), i, 1);
        grid->addWidget(fields_[i], i, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("結果、エラー"), this), 4, 1);
    result_ = new QLineEdit(this);
    result_->setObjectName(QStringLiteral("EditResult"));
    result_->setReadOnly(true);
    grid->addWidget(result_, 4, 2);
    layout->addLayout(grid);

    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    layout->addWidget(progress_);
    warnings_ = new QListWidget(this);
    warnings_->setObjectName(QStringLiteral("ListWarnings"));
    warnings_->setMinimumHeight(120);
    layout->addWidget(warnings_);

    const DialogButtons b = addDialogButtons(this, {"BitBtnOK", "BitBtnCancel", "BitBtnHelp"});
    ok_ = b.ok;
    layout->addWidget(b.box);

    connect(open, &QPushButton::clicked, this, &HpjConvertDialog::openProject);
    connect(openAction, &QAction::triggered, this, &HpjConvertDialog::openProject);
    form_.onStep = [this] {
        showForm();
        // The conversion runs on this thread: let the window show each step as it starts.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    form_.reset();
}

void HpjConvertDialog::openProject() {
    const std::string& last = winhelp::HpjConvertForm::lastPath();
    auto file = prompts_.chooseOpenFile("開く", "Help Workshop プロジェクト(*.HPJ)|*.hpj",
                                        last.empty() ? std::string() : platform::folderPart(last));
    if (file) convert(*file);
}

void HpjConvertDialog::convert(const std::string& hpjPath) {
    progress_->setValue(0);
    form_.convert(hpjPath, [this](int p) { progress_->setValue(p); });
    progress_->setValue(form_.okEnabled() ? 100 : 0);
    showForm();
}

void HpjConvertDialog::showForm() {
    for (int i = 0; i < 4; ++i) markers_[i]->setChecked(form_.step() == i + 1);
    const QString hpj = QString::fromStdString(form_.hpjField());
    fields_[0]->setText(
        fields_[0]->fontMetrics().elidedText(hpj, Qt::ElideMiddle, fields_[0]->width() - 8));
    fields_[0]->setToolTip(hpj);
    fields_[1]->setText(QString::fromStdString(form_.checkField()));
    fields_[2]->setText(QString::fromStdString(form_.convertField()));
    fields_[3]->setText(QString::fromStdString(form_.endField()));
    result_->setText(QString::fromStdString(form_.result()));
    if (warnings_->count() != static_cast<int>(form_.warnings().size())) {
        warnings_->clear();
        for (const auto& w : form_.warnings()) warnings_->addItem(QString::fromStdString(w));
    }
    ok_->setEnabled(form_.okEnabled());
}

}  // namespace tarnbook::shell
