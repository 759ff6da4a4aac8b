#include "shell/ProjectPropertyDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "shell/DialogButtons.h"
#include "shell/PlainLabel.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

using project::ProjectPropertyForm;
using PageList = ProjectPropertyForm::PageList;

namespace {

// A page's widgets stacked from the top.
QVBoxLayout* column(QWidget* page, std::initializer_list<QWidget*> widgets) {
    auto* v = new QVBoxLayout(page);
    for (QWidget* w : widgets) v->addWidget(w);
    v->addStretch();
    return v;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
    auto* h = new QHBoxLayout;
    for (QWidget* w : widgets) h->addWidget(w);
    return h;
}

}  // namespace

ProjectPropertyDialog::ProjectPropertyDialog(project::Workspace& ws, QWidget* parent,
                                             std::function<void(int)> help)
    : QDialog(parent), ws_(ws), help_(std::move(help)), form_(ProjectPropertyForm::load(ws)) {
    setObjectName("TfrmProjectProperty");
    setWindowTitle(fromCp932(form_.caption()));
    widgets_ =
        std::make_unique<TemplateFieldWidgets>(this, ws.prompts, ws.settings, form_.fields, [] {});
    auto& w = *widgets_;
    // Template-only fields have no place here.
    for (QWidget* unused : {static_cast<QWidget*>(w.iconWin32), static_cast<QWidget*>(w.iconFolder),
                            static_cast<QWidget*>(w.useCss), static_cast<QWidget*>(w.css),
                            static_cast<QWidget*>(w.cssPick)})
        unused->hide();
    w.keepPos->setText(QString::fromUtf8("初回起動時に位置を記憶する"));

    tree_ = new QTreeWidget(this);
    tree_->setObjectName("TreeViewPrjProp");
    tree_->setHeaderHidden(true);
    pages_ = new QStackedWidget(this);
    pages_->setObjectName("PageControlPrjProp");
    pages_->addWidget(sizePage());
    pages_->addWidget(toolbarPage());
    pages_->addWidget(tabsPage());
    pages_->addWidget(behaviourPage());
    pages_->addWidget(mergePage());
    pages_->addWidget(templatesPage());
    pages_->addWidget(programPage());
    pages_->addWidget(specialPage());
    buildPageTree();

    DialogButtons buttons =
        addDialogButtons(this, {"BitBtnOK", "BitBtnCancel", "BitBtnHelp"}, help_, 48);
    ok_ = buttons.ok;
    ok_->setEnabled(form_.okEnabled());
    auto* top = new QHBoxLayout;
    top->addWidget(tree_, 1);
    top->addWidget(pages_, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons.box);
}

ProjectPropertyDialog::~ProjectPropertyDialog() = default;

void ProjectPropertyDialog::buildPageTree() {
    static constexpr std::array<const char*, 5> kHelpPages = {"サイズ", "ツールバー", "タブ設定",
                                                              "動作設定", "マージ"};
    static constexpr std::array<const char*, 3> kTopPages = {"自動作成", "プログラム連携",
                                                             "特殊操作"};
    auto* help = new QTreeWidgetItem(tree_, {QString::fromUtf8("ヘルプファイル")});
    help->setFlags(Qt::ItemIsEnabled);
    int page = 0;
    QTreeWidgetItem* first = nullptr;
    for (const char* title : kHelpPages) {
        auto* item = new QTreeWidgetItem(help, {QString::fromUtf8(title)});
        item->setData(0, Qt::UserRole, page++);
        if (!first) first = item;
    }
    for (const char* title : kTopPages) {
        auto* item = new QTreeWidgetItem(tree_, {QString::fromUtf8(title)});
        item->setData(0, Qt::UserRole, page++);
    }
    tree_->expandAll();
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && item->data(0, Qt::UserRole).isValid())
            pages_->setCurrentIndex(item->data(0, Qt::UserRole).toInt());
    });
    tree_->setCurrentItem(first);
}

QWidget* ProjectPropertyDialog::addPage(const char* name) {
    auto* p = new QWidget(this);
    p->setObjectName(name);
    return p;
}

QLineEdit* ProjectPropertyDialog::text(const char* name, std::string& value) {
    auto* e = new QLineEdit(fromCp932(value), this);
    e->setObjectName(name);
    connect(e, &QLineEdit::textChanged, this, [this, &value](const QString& t) {
        value = toCp932(t);
        if (ok_) ok_->setEnabled(form_.okEnabled());
    });
    return e;
}

QComboBox* ProjectPropertyDialog::pageList(const char* name, PageList list) {
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    for (const auto& e : form_.pageEntries()) c->addItem(fromCp932(e.title));
    c->setCurrentIndex(form_.pageSelection(list));
    connect(c, &QComboBox::currentIndexChanged, this,
            [this, list](int i) { form_.selectPage(list, i); });
    return c;
}

QWidget* ProjectPropertyDialog::sizePage() {
    auto& w = *widgets_;
    QWidget* p = addPage("TabSheetSize");
    auto* g = new QGridLayout(p);
    g->addWidget(plainLabel("ウインドウタイトル", p), 0, 0);
    g->addWidget(text("EditHelpCaption", form_.helpName), 0, 1, 1, 3);
    g->addWidget(plainLabel("起動時に表示するページ", p), 1, 0);
    g->addWidget(pageList("CBDefaultPage", PageList::Default), 1, 1, 1, 3);
    g->addWidget(plainLabel("ファイル名", p), 2, 0);
    g->addWidget(text("EditHelpfilename", form_.fileName), 2, 1, 1, 2);
    g->addWidget(plainLabel(".CHM", p), 2, 3);
    g->addWidget(plainLabel("現在のフォント", p), 3, 0);
    g->addWidget(w.font, 3, 1, 1, 2);
    g->addWidget(w.fontChange, 3, 3);
    g->addWidget(plainLabel("左位置", p), 4, 0);
    g->addWidget(w.posX, 4, 1);
    g->addWidget(plainLabel("上位置", p), 4, 2);
    g->addWidget(w.posY, 4, 3);
    g->addWidget(plainLabel("横幅", p), 5, 0);
    g->addWidget(w.width, 5, 1);
    g->addWidget(plainLabel("高さ", p), 5, 2);
    g->addWidget(w.height, 5, 3);
    g->addWidget(plainLabel("左フレームサイズ", p), 6, 0);
    g->addWidget(w.frameWidth, 6, 1);
    g->addWidget(w.autoSizer, 6, 3);
    g->addWidget(w.keepPos, 7, 0, 1, 4);
    g->setRowStretch(8, 1);
    return p;
}

QWidget* ProjectPropertyDialog::toolbarPage() {
    auto& w = *widgets_;
    QWidget* p = addPage("TabSheetToolbar");
    auto* g = new QGridLayout(p);
    for (std::size_t i = 0; i < w.buttons.size(); ++i)
        g->addWidget(w.buttons[i], static_cast<int>(i / 4), static_cast<int>(i % 4));
    auto* targets = new QGridLayout;
    targets->addWidget(plainLabel("ホーム", p), 0, 0);
    targets->addWidget(pageList("CmbBHome", PageList::Home), 0, 1, 1, 2);
    targets->addWidget(plainLabel("ジャンプ１", p), 1, 0);
    targets->addWidget(pageList("CmbBJump1", PageList::Jump1), 1, 1);
    targets->addWidget(text("EditJump1lbl", form_.jump1Label), 1, 2);
    targets->addWidget(plainLabel("ジャンプ２", p), 2, 0);
    targets->addWidget(pageList("CmbBJump2", PageList::Jump2), 2, 1);
    targets->addWidget(text("EditJump2lbl", form_.jump2Label), 2, 2);
    g->addLayout(targets, 4, 0, 1, 4);
    g->addWidget(w.hideToolbar, 5, 0, 1, 2);
    g->addWidget(w.hideText, 5, 2, 1, 2);
    g->setRowStretch(6, 1);
    return p;
}

QWidget* ProjectPropertyDialog::tabsPage() {
    auto& w = *widgets_;
    QWidget* p = addPage("TabSheetTab");
    column(p, {w.tabSearch, w.tabFavorite, w.fullTextSearch, w.visible, w.tabKeyword, w.hideFirst});
    return p;
}

QWidget* ProjectPropertyDialog::behaviourPage() {
    auto& w = *widgets_;
    QWidget* p = addPage("TabSheetAction");
    column(p, {w.topmost, w.edge, w.binaryToc, w.maximize, w.nodeSquare, w.nodeLines, w.oneClick});
    return p;
}

QWidget* ProjectPropertyDialog::mergePage() {
    QWidget* p = addPage("TabSheetMerge");
    merges_ = new QListWidget(p);
    merges_->setObjectName("ListBoxMerge");
    merges_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(merges_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { merges_->setToolTip(item->text()); });
    auto* add = new QPushButton(QString::fromUtf8("追加"), p);
    add->setObjectName("BitBtnMergeAdd");
    add->setToolTip(QString::fromUtf8("コンパイル済みヘルプ(*.CHM)を追加します"));
    mergeRemove_ = new QPushButton(QString::fromUtf8("削除"), p);
    mergeRemove_->setObjectName("BitBtnMergeDel");
    mergeRemove_->setToolTip(QString::fromUtf8("選択ファイルをマージ対象から外します"));
    connect(add, &QPushButton::clicked, this, [this] {
        auto file = ws_.prompts.chooseOpenFile("", "コンパイル済みHTML Help (*.chm)|*.chm",
                                               ws_.projectFolder());
        if (file && form_.addMergeFile(ws_.prompts, *file)) showMergeList();
    });
    connect(mergeRemove_, &QPushButton::clicked, this, [this] {
        std::vector<int> rows;
        for (const QModelIndex& i : merges_->selectionModel()->selectedRows())
            rows.push_back(i.row());
        form_.removeMergeFiles(rows);
        showMergeList();
    });
    auto* v = new QVBoxLayout(p);
    v->addWidget(merges_);
    auto* mergeHelp = new QPushButton(QString::fromUtf8("ヘルプ"), p);
    mergeHelp->setObjectName("BitBtnMergeHelp");
    wireHelpButton(this, mergeHelp, help_, 56, false);
    v->addLayout(row({add, mergeRemove_, mergeHelp}));
    showMergeList();
    return p;
}

void ProjectPropertyDialog::showMergeList() {
    merges_->clear();
    for (const std::string& path : form_.mergeFiles()) merges_->addItem(nativeText(path));
    merges_->setEnabled(form_.mergeListEnabled());
    mergeRemove_->setEnabled(form_.mergeListEnabled());
}

QWidget* ProjectPropertyDialog::templatesPage() {
    auto& w = *widgets_;
    QWidget* p = addPage("TabSheetAuto");
    auto* g = new QGridLayout(p);
    g->addWidget(plainLabel("自動HTML作成テンプレート <BODY>", p), 0, 0, 1, 2);
    g->addWidget(w.autoHtml, 1, 0);
    g->addWidget(w.autoHtmlPick, 1, 1);
    g->addWidget(plainLabel("目次HTML作成テンプレート", p), 2, 0, 1, 2);
    g->addWidget(w.autoIndex, 3, 0);
    g->addWidget(w.autoIndexPick, 3, 1);
    g->addWidget(plainLabel("自動作成HTMLテンプレート <HEAD>", p), 4, 0, 1, 2);
    g->addWidget(w.autoHead, 5, 0);
    g->addWidget(w.autoHeadPick, 5, 1);
    g->setRowStretch(6, 1);
    return p;
}

QWidget* ProjectPropertyDialog::programPage() {
    static constexpr std::array<const char*, 3> kCaptions = {
        "マップファイル使用", "ポップアップヘルプ使用", "ユーザ指定[Alias]の使用"};
    static constexpr std::array<const char*, 3> kBoxes = {"CBMap", "CBPopup", "CBUseUserAlias"};
    static constexpr std::array<const char*, 3> kFields = {"EditMap", "EditPopupText",
                                                           "EditUseUserAlias"};
    QWidget* p = addPage("TabSheetProgram");
    auto* g = new QGridLayout(p);
    g->addWidget(plainLabel("言語設定", p), 0, 0);
    g->addWidget(widgets_->language, 0, 1, 1, 2);
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        useFile_[i] = new QCheckBox(QString::fromUtf8(kCaptions[i]), p);
        useFile_[i]->setObjectName(kBoxes[i]);
        useFile_[i]->setChecked(form_.useFile[i]);
        connect(useFile_[i], &QCheckBox::toggled, this, [this, i](bool on) {
            form_.useFile[i] = on;
            enableLinkedFiles();
        });
        linkedFile_[i] = text(kFields[i], form_.linkedFile[i]);
        linkedPick_[i] = new QPushButton(QStringLiteral("..."), p);
        linkedPick_[i]->setObjectName(QStringLiteral("BitBtn") + QString::fromUtf8(kFields[i] + 4));
        connect(linkedPick_[i], &QPushButton::clicked, this, [this, i] {
            if (form_.chooseLinkedFile(ws_.prompts,
                                       static_cast<ProjectPropertyForm::LinkedFile>(i)))
                linkedFile_[i]->setText(fromCp932(form_.linkedFile[i]));
        });
        g->addWidget(useFile_[i], r, 0);
        g->addWidget(linkedFile_[i], r, 1);
        g->addWidget(linkedPick_[i], r, 2);
    }
    // The map file is only ever picked, never typed.
    linkedFile_[0]->setReadOnly(true);
    g->setRowStretch(4, 1);
    enableLinkedFiles();
    return p;
}

void ProjectPropertyDialog::enableLinkedFiles() {
    for (std::size_t i = 0; i < useFile_.size(); ++i) {
        linkedPick_[i]->setEnabled(form_.useFile[i]);
        linkedFile_[i]->setEnabled(i == 0 || form_.useFile[i]);
    }
}

QWidget* ProjectPropertyDialog::specialPage() {
    auto& w = *widgets_;
    QWidget* p = addPage("TabSheetSpecial");
    auto* icons = new QGroupBox(QString::fromUtf8("ノードアイコン一括初期化"), p);
    icons->setObjectName("RGNodeIcon");
    auto* winHelp = new QRadioButton(QString::fromUtf8("Win32 Help 形式"), icons);
    winHelp->setObjectName("RGNodeIconWin32");
    winHelp->setChecked(true);
    htmlHelpIcons_ = new QRadioButton(QString::fromUtf8("HTML Help形式"), icons);
    htmlHelpIcons_->setObjectName("RGNodeIconHtmlHelp");
    auto* run = new QPushButton(QString::fromUtf8("実行"), icons);
    run->setObjectName("BitBtnNodeIcon");
    connect(run, &QPushButton::clicked, this, [this] {
        form_.resetIcons(htmlHelpIcons_->isChecked() ? ProjectPropertyForm::IconStyle::HtmlHelp
                                                     : ProjectPropertyForm::IconStyle::WinHelp);
    });
    auto* iconLayout = new QHBoxLayout(icons);
    iconLayout->addWidget(winHelp);
    iconLayout->addWidget(htmlHelpIcons_);
    iconLayout->addWidget(run);

    auto* import = new QGroupBox(QString::fromUtf8("フォルダ取り込み時のHTMLソース変換処理"), p);
    auto* importLayout = new QVBoxLayout(import);
    for (QWidget* box : {w.convSjis, w.convKillJs, w.urlFilter}) importLayout->addWidget(box);
    auto* complete = new QGroupBox(QString::fromUtf8("コンパイル完了時の動作"), p);
    auto* completeLayout = new QVBoxLayout(complete);
    completeLayout->addWidget(w.setCompleteDest);
    completeLayout->addLayout(row({w.completeDest, w.browseDest}));
    column(p, {icons, import, complete});
    return p;
}

void ProjectPropertyDialog::accept() {
    // A failed write must not leave the dialog's event loop through an exception.
    try {
        if (form_.accept(ws_)) QDialog::accept();
    } catch (const std::exception& e) {
        ws_.prompts.showError(e.what());
    }
}

void runProjectProperty(QWidget* parent, project::Workspace& ws,
                        const std::function<int(QDialog&)>& runDialog,
                        const std::function<void(int)>& help) {
    if (!ws.project) return;
    ProjectPropertyDialog dialog(ws, parent, help);
    runDialog(dialog);
}

}  // namespace tarnbook::shell
