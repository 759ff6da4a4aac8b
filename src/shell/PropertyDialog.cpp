#include "shell/PropertyDialog.h"
#include "shell/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "shell/ItemDialogSupport.h"

namespace tarnbook::shell {

using namespace itemdialog;

namespace {

QString fromUtf16(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string toUtf16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace

PropertyDialog::PropertyDialog(QWidget* parent, project::Workspace& ws, project::TreeNode& node,
                               std::function<void(int topic)> help)
    : QDialog(parent), form_(ws, node) {
    setWindowTitle(QString::fromUtf8("アイテムのプロパティ"));
    setObjectName("TfrmPropChange");

    itemType_ = new QLabel(this);
    itemType_->setObjectName("StaticTextItemType");
    typeButton_ = new QPushButton(QString::fromUtf8("タイプ変更"), this);
    typeButton_->setObjectName("CngType");
    setHint(typeButton_, "タイプ変更|アイテムのタイプを変更します");
    title_ = new QLineEdit(this);
    title_->setObjectName("EditTitle");
    page_ = new QLineEdit(this);
    page_->setObjectName("EditHTML");
    fileOpen_ = new QPushButton(QString::fromUtf8("開く..."), this);
    fileOpen_->setObjectName("FileOpen1");
    setHint(fileOpen_, "開く|既存のファイルを開く");
    anchor_ = new QComboBox(this);
    anchor_->setObjectName("CmbboxAnchor");
    headingIcons_ = new QComboBox(this);
    headingIcons_->setObjectName("CB1");
    fillIcons(headingIcons_, 4, 0, 2);
    contentIcons_ = new QComboBox(this);
    contentIcons_->setObjectName("CB2");
    fillIcons(contentIcons_, 34, 8, 1);
    keyword_ = new QLineEdit(this);
    keyword_->setObjectName("EditKeyWord");
    keyword_->setMaxLength(static_cast<int>(contents::PropertyForm::kKeywordLimit));
    subTick_ = new QCheckBox(QString::fromUtf8("サブキーワード"), this);
    subTick_->setObjectName("CBKWsub");
    subKeyword_ = new QLineEdit(this);
    subKeyword_->setObjectName("EditKWsub");
    subKeyword_->setMaxLength(static_cast<int>(contents::PropertyForm::kKeywordLimit));
    copyTitle_ = new QPushButton(QString::fromUtf8("コピー"), this);
    copyTitle_->setObjectName("CopyTitle");
    setHint(copyTitle_, "コピー|タイトルをキーワードにコピーします");
    clearKey_ = new QPushButton(QString::fromUtf8("消去"), this);
    clearKey_->setObjectName("ClearKey");
    setHint(clearKey_, "消去|現在のキーワードを削除します");
    id_ = new QLineEdit(this);
    id_->setObjectName("EditID");
    id_->setMaxLength(static_cast<int>(contents::PropertyForm::kIdLimit));
    for (QLineEdit* e : {title_, page_, keyword_, subKeyword_, id_}) e->installEventFilter(this);

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(itemType_, 1);
    typeRow->addWidget(typeButton_);
    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(page_, 1);
    pageRow->addWidget(fileOpen_);
    auto* iconRow = new QHBoxLayout;
    iconRow->addWidget(headingIcons_);
    iconRow->addWidget(contentIcons_);
    iconRow->addStretch(1);
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(keyword_, 1);
    keyRow->addWidget(copyTitle_);
    keyRow->addWidget(clearKey_);
    auto* subRow = new QHBoxLayout;
    subRow->addWidget(subTick_);
    subRow->addWidget(subKeyword_, 1);

    auto* grid = new QGridLayout;
    int row = 0;
    auto add = [&](const char* label, QLayout* l) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        grid->addLayout(l, row++, 1);
    };
    auto addWidget = [&](const char* label, QWidget* w) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
        grid->addWidget(w, row++, 1);
    };
    add("アイテムタイプ", typeRow);
    addWidget("表示タイトル", title_);
    add("参照HTML", pageRow);
    addWidget("アンカー", anchor_);
    add("表示アイコン", iconRow);
    add("キーワード", keyRow);
    grid->addLayout(subRow, row++, 1);
    addWidget("ID", id_);
    grid->setColumnStretch(1, 1);

    const DialogButtons b =
        addDialogButtons(this, {"BitBtnOK", "BitBtnCancel", "BitBtnHlpPropChange"}, help, 46);
    ok_ = b.ok;
    QDialogButtonBox* buttons = b.box;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    resize(560, sizeHint().height());
    move(form_.position().x, form_.position().y);

    connect(title_, &QLineEdit::textEdited, this, [this](const QString& text) {
        form_.setTitle(toCp932(text));
        sync();
    });
    connect(page_, &QLineEdit::textEdited, this, [this](const QString& text) {
        form_.setPage(toCp932(text));
        sync();
    });
    connect(keyword_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.setKeyword(toUtf16(text)); });
    connect(subKeyword_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_.setSubKeyword(toUtf16(text)); });
    connect(id_, &QLineEdit::textEdited, this, [this](const QString& text) {
        form_.setContextId(toCp932(text));
        sync();
    });
    connect(subTick_, &QCheckBox::clicked, this, [this](bool ticked) {
        form_.setSubKeywordTicked(ticked);
        sync();
        if (ticked) subKeyword_->setFocus();
    });
    connect(typeButton_, &QPushButton::clicked, this, [this] {
        form_.toggleType();
        sync();
    });
    connect(copyTitle_, &QPushButton::clicked, this, [this] {
        form_.copyTitle();
        sync();
    });
    connect(clearKey_, &QPushButton::clicked, this, [this] {
        form_.clearKeyword();
        sync();
    });
    auto choose = [this] {
        form_.chooseFile();
        sync();
    };
    connect(fileOpen_, &QPushButton::clicked, this, choose);
    connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+O")), this), &QShortcut::activated,
            this, choose);
    connect(headingIcons_, &QComboBox::activated, this,
            [this](int index) { form_.setHeadingIcon(index); });
    connect(contentIcons_, &QComboBox::activated, this,
            [this](int index) { form_.setContentIcon(index); });
    bindAnchorBox(anchor_, form_.anchors(), [this] { sync(); });
    sync();
}

void PropertyDialog::sync() {
    if (syncing_) return;
    syncing_ = true;
    itemType_->setText(QString::fromUtf8(form_.itemTypeText().c_str()));
    showText(title_, fromCp932(form_.title()));
    setHint(title_, platform::cp932ToUtf8(form_.titleHint()));
    showText(page_, fromCp932(form_.page()));
    setHint(page_, platform::cp932ToUtf8(form_.pageHint()));
    showAnchors(anchor_, form_.anchors());
    headingIcons_->setEnabled(form_.headingIconEnabled());
    headingIcons_->setCurrentIndex(form_.headingIcon());
    contentIcons_->setEnabled(form_.contentIconEnabled());
    contentIcons_->setCurrentIndex(form_.contentIcon());
    showText(keyword_, fromUtf16(form_.keyword()));
    showText(subKeyword_, fromUtf16(form_.subKeyword()));
    showText(id_, fromCp932(form_.contextId()));
    subTick_->setChecked(form_.subKeywordTicked());
    subKeyword_->setVisible(form_.subKeywordVisible());
    const bool keys = form_.keywordFieldsEnabled();
    keyword_->setEnabled(keys);
    subKeyword_->setEnabled(keys && form_.subKeywordTicked());
    clearKey_->setEnabled(keys);
    id_->setEnabled(keys);
    subTick_->setEnabled(form_.subKeywordCheckEnabled());
    copyTitle_->setEnabled(form_.copyTitleEnabled());
    ok_->setEnabled(form_.okEnabled());
    syncing_ = false;
}

bool PropertyDialog::eventFilter(QObject* watched, QEvent* e) {
    // Double-clicking a text field selects its whole text.
    if (e->type() == QEvent::MouseButtonDblClick)
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            edit->selectAll();
            return true;
        }
    return QDialog::eventFilter(watched, e);
}

void PropertyDialog::done(int result) {
    form_.storePosition({pos().x(), pos().y()});
    QDialog::done(result);
}

bool runPropertyDialog(QWidget* parent, project::Workspace& ws,
                       const std::function<void(int)>& help) {
    project::TreeNode* node = ws.tree.focused();
    if (!node) return false;
    PropertyDialog dialog(parent, ws, *node, help);
    if (dialog.exec() != QDialog::Accepted) {
        dialog.form().cancel();
        return false;
    }
    dialog.form().accept();
    return true;
}

}  // namespace tarnbook::shell
