#include "shell/TagDialogParts.h"

#include <QFont>
#include <QFontDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <exception>

#include "shell/ItemDialogSupport.h"
#include "shell/QtPrompts.h"

namespace tarnbook::shell {

using authoring::ButtonStyle;
using itemdialog::fromCp932;
using itemdialog::toCp932;

ButtonFaceBox::ButtonFaceBox(QWidget* parent, authoring::ButtonFaceForm& face, const QString& text,
                             std::function<void(const QString&)> setText)
    : QGroupBox(QString::fromUtf8("ショートカットスタイル"), parent), face_(face) {
    setObjectName("RGStyle");
    const char* captions[] = {"テキストボタン", "アイコンボタン", "ショートカットボタン"};
    const char* names[] = {"RBTextButton", "RBIconButton", "RBShortcutButton"};
    const ButtonStyle values[] = {ButtonStyle::Text, ButtonStyle::Icon, ButtonStyle::Shortcut};
    auto* layout = new QGridLayout(this);
    for (int i = 0; i < 3; ++i) {
        styles_[i] = new QRadioButton(QString::fromUtf8(captions[i]), this);
        styles_[i]->setObjectName(names[i]);
        layout->addWidget(styles_[i], 0, i);
        const ButtonStyle style = values[i];
        connect(styles_[i], &QRadioButton::toggled, this, [this, style](bool on) {
            if (!on) return;
            face_.setStyle(style);
            showStyle();
            emit changed();
        });
    }
    text_ = new QLineEdit(text, this);
    text_->setObjectName("EditButtonText");
    icon_ = new QLineEdit(fromCp932(face.face().icon), this);
    icon_->setObjectName("EditIcon");
    icon_->setReadOnly(true);
    browse_ = new QPushButton(QString::fromUtf8("参照..."), this);
    browse_->setObjectName("BtnIcon");
    layout->addWidget(text_, 1, 0, 1, 3);
    layout->addWidget(icon_, 2, 0, 1, 2);
    layout->addWidget(browse_, 2, 2);

    connect(text_, &QLineEdit::textEdited, this, [this, setText](const QString& t) {
        setText(t);
        emit changed();
    });
    connect(browse_, &QPushButton::clicked, this, [this] {
        try {
            if (!face_.chooseIcon()) return;
        } catch (const std::exception& e) {
            QtPrompts(this).showError(e.what());
            return;
        }
        icon_->setText(fromCp932(face_.face().icon));
        emit changed();
    });
    for (int i = 0; i < 3; ++i)
        if (values[i] == face.face().style) styles_[i]->setChecked(true);
    showStyle();
}

void ButtonFaceBox::showStyle() {
    text_->setVisible(face_.textVisible());
    icon_->setVisible(face_.iconVisible());
    browse_->setVisible(face_.iconVisible());
}

QLineEdit* addLabelledField(QWidget* parent, QVBoxLayout* layout, const char* label,
                            const char* name, const QString& text, QPushButton** browse) {
    layout->addWidget(new QLabel(QString::fromUtf8(label), parent));
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    if (!browse) {
        layout->addWidget(edit);
        return edit;
    }
    auto* row = new QHBoxLayout;
    *browse = new QPushButton(QString::fromUtf8("参照..."), parent);
    (*browse)->setObjectName("BtnBrowse");
    row->addWidget(edit, 1);
    row->addWidget(*browse);
    layout->addLayout(row);
    return edit;
}

QPushButton* makeFontButton(QWidget* parent, authoring::TagFont& font) {
    auto* button = new QPushButton(QString::fromUtf8("フォント変更"), parent);
    button->setObjectName("FontEdit1");
    QObject::connect(button, &QPushButton::clicked, parent, [parent, &font] {
        bool ok = false;
        const QFont chosen =
            QFontDialog::getFont(&ok, QFont(fromCp932(font.family), font.size), parent);
        if (!ok) return;
        font.family = toCp932(chosen.family());
        if (chosen.pointSize() > 0) font.size = chosen.pointSize();
    });
    return button;
}

}  // namespace tarnbook::shell
