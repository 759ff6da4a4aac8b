#include "shell/ButtonTagDialogs.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/DialogButtons.h"
#include "shell/ItemDialogSupport.h"
#include "shell/TagDialogParts.h"

namespace tarnbook::shell {

using itemdialog::fromCp932;
using itemdialog::toCp932;

namespace {

constexpr int kControlTopic = 60;
constexpr int kLinkTopic = 70;

// Two radio buttons for a yes/no choice; `first` is checked when `firstChosen`.
void addChoice(QWidget* parent, QVBoxLayout* layout, const char* title, const char* first,
               const char* firstName, const char* second, const char* secondName, bool firstChosen,
               const std::function<void(bool)>& chooseFirst) {
    auto* box = new QGroupBox(QString::fromUtf8(title), parent);
    auto* row = new QHBoxLayout(box);
    auto* a = new QRadioButton(QString::fromUtf8(first), box);
    a->setObjectName(firstName);
    auto* b = new QRadioButton(QString::fromUtf8(second), box);
    b->setObjectName(secondName);
    row->addWidget(a);
    row->addWidget(b);
    (firstChosen ? a : b)->setChecked(true);
    QObject::connect(a, &QRadioButton::toggled, parent, chooseFirst);
    layout->addWidget(box);
}

}  // namespace

void TagFormDialog::addButtons(const std::function<void(int)>& help, int topic,
                               std::function<bool()> okEnabled) {
    okEnabled_ = std::move(okEnabled);
    const DialogButtons b =
        addDialogButtons(this, {"OKBtn", "CancelBtn", topic ? "BitBtnHelp" : nullptr}, help, topic);
    ok_ = b.ok;
    layout()->addWidget(b.box);
    sync();
}

void TagFormDialog::sync() {
    if (ok_) ok_->setEnabled(okEnabled_());
}

ShortcutTagDialog::ShortcutTagDialog(QWidget* parent, authoring::ShortcutForm& form,
                                     std::function<void(int topic)> help)
    : TagFormDialog(parent) {
    setWindowTitle(QString::fromUtf8("実行ファイルタグ挿入"));
    setObjectName("TdlgExt");
    auto* layout = new QVBoxLayout(this);
    auto* face = new ButtonFaceBox(this, form.face, fromCp932(form.face.face().text),
                                   [&form](const QString& t) { form.face.setText(toCp932(t)); });
    layout->addWidget(face);
    QLineEdit* program =
        addLabelledField(this, layout, "実行ファイル名", "EditProgram", fromCp932(form.program));
    QLineEdit* parameters =
        addLabelledField(this, layout, "パラメータ", "EditParameters", fromCp932(form.parameters));
    layout->addWidget(makeFontButton(this, form.font), 0, Qt::AlignLeft);
    addButtons(help, kControlTopic, [&form] { return form.okEnabled(); });

    connect(face, &ButtonFaceBox::changed, this, &TagFormDialog::sync);
    connect(program, &QLineEdit::textEdited, this, [this, &form](const QString& t) {
        form.program = toCp932(t);
        sync();
    });
    connect(parameters, &QLineEdit::textEdited, this,
            [&form](const QString& t) { form.parameters = toCp932(t); });
}

RelatedTopicsDialog::RelatedTopicsDialog(QWidget* parent, authoring::RelatedTopicsForm& form,
                                         std::function<void(int topic)> help)
    : TagFormDialog(parent) {
    setWindowTitle(QString::fromUtf8("関連トピックタグ挿入"));
    setObjectName("TdlgRelated");
    auto* layout = new QVBoxLayout(this);
    auto* topics = new QListWidget(this);
    topics->setObjectName("CLBTopics");
    for (const auto& t : form.topics()) {
        auto* item = new QListWidgetItem(fromCp932(t.page.title), topics);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(t.ticked ? Qt::Checked : Qt::Unchecked);
    }
    layout->addWidget(topics, 1);
    addChoice(this, layout, "リンクスタイル", "ポップアップ", "RBPopup", "ダイアログ", "RBDialog",
              form.popupMenu, [&form](bool popup) { form.popupMenu = popup; });
    auto* face = new ButtonFaceBox(this, form.face, fromCp932(form.face.face().text),
                                   [&form](const QString& t) { form.face.setText(toCp932(t)); });
    layout->addWidget(face);
    layout->addWidget(makeFontButton(this, form.font), 0, Qt::AlignLeft);
    addButtons(help, kControlTopic, [&form] { return form.okEnabled(); });

    connect(face, &ButtonFaceBox::changed, this, &TagFormDialog::sync);
    connect(topics, &QListWidget::itemChanged, this, [this, topics, &form](QListWidgetItem* item) {
        form.setTicked(static_cast<std::size_t>(topics->row(item)),
                       item->checkState() == Qt::Checked);
        sync();
    });
}

LinkButtonDialog::LinkButtonDialog(QWidget* parent, authoring::LinkButtonForm& form,
                                   std::function<void(int topic)> help)
    : TagFormDialog(parent) {
    setWindowTitle(QString::fromUtf8(form.caption().c_str()));
    setObjectName("TdlgAKlink");
    auto* layout = new QVBoxLayout(this);
    const QString text = QString::fromStdU16String(form.buttonText());
    auto* face = new ButtonFaceBox(this, form.face, text, [&form](const QString& t) {
        form.setButtonText(t.toStdU16String());
    });
    layout->addWidget(face);
    QLineEdit* keyword =
        addLabelledField(this, layout, "キーワード", "EditKeyword", fromCp932(form.keyword()));
    keyword->setMaxLength(static_cast<int>(authoring::LinkButtonForm::kKeywordLimit));
    layout->addWidget(makeFontButton(this, form.font), 0, Qt::AlignLeft);
    addButtons(help, kLinkTopic, [&form] { return form.okEnabled(); });

    connect(face, &ButtonFaceBox::changed, this, &TagFormDialog::sync);
    connect(keyword, &QLineEdit::textEdited, this, [this, &form](const QString& t) {
        form.setKeyword(toCp932(t));
        sync();
    });
}

HelpButtonDialog::HelpButtonDialog(QWidget* parent, authoring::HelpButtonForm& form,
                                   std::function<void(int topic)> help)
    : TagFormDialog(parent) {
    setWindowTitle(QString::fromUtf8(form.caption().c_str()));
    setObjectName("TdlgHelpExitTag");
    auto* layout = new QVBoxLayout(this);
    addChoice(this, layout, "ショートカットスタイル", "テキストボタン", "RBTextButton",
              "リンクテキスト", "RBLinkText", form.face == authoring::HelpButtonFace::Button,
              [&form](bool button) {
                  form.face = button ? authoring::HelpButtonFace::Button
                                     : authoring::HelpButtonFace::LinkText;
              });
    auto* text = new QLineEdit(fromCp932(form.text), this);
    text->setObjectName("EditText");
    layout->addWidget(text);
    QPushButton* font = makeFontButton(this, form.font);
    // The version button writes no font.
    font->setEnabled(form.fontUsed());
    layout->addWidget(font, 0, Qt::AlignLeft);
    addButtons(help, kLinkTopic, [&form] { return form.okEnabled(); });

    connect(text, &QLineEdit::textEdited, this, [this, &form](const QString& t) {
        form.text = toCp932(t);
        sync();
    });
}

}  // namespace tarnbook::shell
