#include "shell/NewItemDialog.h"
#include "shell/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "contents/GeneratedPages.h"
#include "shell/ItemDialogSupport.h"

namespace tarnbook::shell {

using namespace itemdialog;
using contents::ItemKind;

NewItemDialog::NewItemDialog(QWidget* parent, project::Workspace& ws, ItemKind kind,
                             std::function<void(int topic)> help)
    : QDialog(parent), form_(ws, kind) {
    const bool heading = kind == ItemKind::Heading;
    setWindowTitle(QString::fromUtf8(heading ? "新規ヘッダ" : "新規コンテンツ"));
    setObjectName(heading ? "TdlgNewHeading" : "TdlgNewContent");

    title_ = new QLineEdit(this);
    title_->setObjectName(heading ? "EditHeadTitle" : "EditContentTitle");
    if (heading) {
        title_->setMaxLength(static_cast<int>(form_.titleLimit()));
        setHint(title_, "新規ヘッダのタイトル|ヘッダのタイトルを指定します");
    }
    page_ = new QLineEdit(this);
    page_->setObjectName(heading ? "EditHeadHTML" : "EditContentHTML");
    page_->installEventFilter(this);
    autoNew_ = new QPushButton(QString::fromUtf8("自動作成"), this);
    autoNew_->setObjectName("AutoNew");
    setHint(autoNew_, "HTML自動作成|タイトルからHTMLを自動作成します");
    fileOpen_ = new QPushButton(QString::fromUtf8("開く..."), this);
    fileOpen_->setObjectName("FileOpen1");
    setHint(fileOpen_, "開く|既存のファイルを開く");
    anchor_ = new QComboBox(this);
    anchor_->setObjectName("CmbBoxAnchor");
    searchAnchor_ = new QPushButton(QString::fromUtf8("再検索"), this);
    searchAnchor_->setObjectName("SearchAnchor");
    setHint(searchAnchor_, heading ? "アンカー再検索|アンカーポイントを再検索します"
                                   : "ｱﾝｶｰ再検索|アンカーポイントを検索します");
    icon_ = new QComboBox(this);
    icon_->setObjectName(heading ? "CBIconList" : "CBIcon2");
    setHint(icon_, "ｱｲｺﾝの指定|このコンテンツの表示アイコンを指定します");
    if (heading)
        fillIcons(icon_, 4, 0, 2);
    else
        fillIcons(icon_, 34, 8, 1);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QString::fromUtf8("タイトル"), this), 0, 0);
    grid->addWidget(title_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QString::fromUtf8("HTMLファイル/URL"), this), 1, 0);
    grid->addWidget(page_, 1, 1);
    grid->addWidget(autoNew_, 1, 2);
    grid->addWidget(fileOpen_, 1, 3);
    grid->addWidget(new QLabel(QString::fromUtf8("アンカー"), this), 2, 0);
    grid->addWidget(anchor_, 2, 1, 1, 2);
    grid->addWidget(searchAnchor_, 2, 3);
    grid->addWidget(new QLabel(QString::fromUtf8("アイコンファイル"), this), 3, 0);
    grid->addWidget(icon_, 3, 1, 1, 3, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    const DialogButtons b = addDialogButtons(
        this, {"OKBtn", "CancelBtn", heading ? "BitBtnHlpNewHeader" : "BitBtnHlpNewContent"}, help,
        44);
    ok_ = b.ok;
    QDialogButtonBox* buttons = b.box;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());
    move(form_.position().x, form_.position().y);

    connect(title_, &QLineEdit::textEdited, this, [this](const QString& text) {
        form_.setTitle(toCp932(text));
        sync();
    });
    connect(page_, &QLineEdit::textEdited, this, [this](const QString& text) {
        form_.setPage(toCp932(text));
        sync();
    });
    connect(autoNew_, &QPushButton::clicked, this, [this] {
        if (!form_.heading()) page_->setFocus();
        const bool select = form_.autoNew();
        sync();
        if (select) page_->selectAll();
    });
    connect(fileOpen_, &QPushButton::clicked, this, [this] {
        form_.chooseFile();
        sync();
    });
    connect(searchAnchor_, &QPushButton::clicked, this, [this] {
        form_.searchAnchor();
        sync();
    });
    connect(icon_, &QComboBox::activated, this, [this](int index) { form_.setIconChoice(index); });
    bindAnchorBox(anchor_, form_.anchors(), [this] { sync(); });
    sync();
}

void NewItemDialog::sync() {
    if (syncing_) return;
    syncing_ = true;
    showText(title_, fromCp932(form_.title()));
    showText(page_, fromCp932(form_.page()));
    showAnchors(anchor_, form_.anchors());
    icon_->setCurrentIndex(form_.iconChoice());
    ok_->setEnabled(form_.okEnabled());
    autoNew_->setEnabled(form_.autoNewEnabled());
    searchAnchor_->setEnabled(form_.searchAnchorEnabled());
    syncing_ = false;
}

bool NewItemDialog::eventFilter(QObject* watched, QEvent* e) {
    // Entering the page field selects its whole text.
    if (watched == page_ && e->type() == QEvent::FocusIn)
        QTimer::singleShot(0, page_, [edit = page_] { edit->selectAll(); });
    return QDialog::eventFilter(watched, e);
}

void NewItemDialog::done(int result) {
    form_.storePosition({pos().x(), pos().y()});
    QDialog::done(result);
}

project::TreeNode* runAddItemDialog(QWidget* parent, project::Workspace& ws, ItemKind kind,
                                    const std::function<void(int)>& help) {
    NewItemDialog dialog(parent, ws, kind, help);
    if (dialog.exec() != QDialog::Accepted) {
        contents::addItem(ws, kind, nullptr, {});
        return nullptr;
    }
    const contents::ItemForm result = dialog.form().result();
    return contents::addItem(ws, kind, &result,
                             [&ws](const std::string& path, const std::string& title) {
                                 return contents::newPageFromTemplate(*ws.project, path, title);
                             });
}

}  // namespace tarnbook::shell
