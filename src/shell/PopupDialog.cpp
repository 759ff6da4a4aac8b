#include "shell/PopupDialog.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "shell/DialogButtons.h"

namespace tarnbook::shell {

PopupDialog::PopupDialog(QWidget* parent, contents::PopupForm preset,
                         std::function<void(int topic)> help)
    : QDialog(parent), form_(std::move(preset)) {
    setWindowTitle(QString::fromUtf8("ポップアップタグ挿入"));
    setObjectName("TdlgNewPopup");
    call_ = new QLineEdit(QString::fromUtf8(form_.callText.c_str()), this);
    call_->setObjectName("EditPopCall");
    text_ = new QPlainTextEdit(QString::fromUtf8(form_.popupText.c_str()), this);
    text_->setObjectName("MemoPopTxt");
    auto* font = new QPushButton(QString::fromUtf8("フォント変更"), this);
    font->setObjectName("FontEdit1");

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(false);
    buttons->addButton(QString::fromUtf8("キャンセル"), QDialogButtonBox::RejectRole);
    QPushButton* helpButton =
        buttons->addButton(QString::fromUtf8("ヘルプ"), QDialogButtonBox::HelpRole);
    helpButton->setObjectName("BitBtnHlpPopup");
    wireHelpButton(this, helpButton, help, 60);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8("ポップアップ呼び出しテキスト"), this));
    layout->addWidget(call_);
    layout->addWidget(new QLabel(QString::fromUtf8("ポップアップ表示されるテキスト"), this));
    layout->addWidget(text_, 1);
    layout->addWidget(font, 0, Qt::AlignLeft);
    layout->addWidget(buttons);

    connect(call_, &QLineEdit::textEdited, this,
            [this](const QString& t) { form_.callText = t.toStdString(); });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] {
        const std::string typed = text_->toPlainText().toStdString();
        form_.setPopupText(typed);
        if (form_.popupText != typed) {
            // Over the limit: show the cut text and keep the caret at its end.
            const QSignalBlocker block(text_);
            text_->setPlainText(QString::fromUtf8(form_.popupText.c_str()));
            text_->moveCursor(QTextCursor::End);
        }
    });
    connect(font, &QPushButton::clicked, this, [this] {
        QFont current(QString::fromUtf8(form_.fontFamily.c_str()), form_.fontSize);
        current.setBold(form_.bold);
        current.setItalic(form_.italic);
        current.setUnderline(form_.underline);
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, current, this);
        if (!ok) return;
        form_.fontFamily = chosen.family().toStdString();
        form_.fontSize = chosen.pointSize() > 0 ? chosen.pointSize() : form_.fontSize;
        form_.bold = chosen.bold();
        form_.italic = chosen.italic();
        form_.underline = chosen.underline();
    });
}

std::optional<contents::PopupForm> runPopupDialog(QWidget* parent, contents::PopupForm preset) {
    PopupDialog dialog(parent, std::move(preset));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.form();
}

}  // namespace tarnbook::shell
