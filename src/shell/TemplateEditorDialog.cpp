#include "shell/TemplateEditorDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>

#include "shell/DialogButtons.h"
#include "shell/NewStyleNameDialog.h"
#include "shell/PlainLabel.h"

namespace tarnbook::shell {

using namespace wizardui;

namespace {

QWidget* page(QTabWidget* tabs, const char* title, const char* name) {
    auto* p = new QWidget(tabs);
    p->setObjectName(name);
    tabs->addTab(p, QString::fromUtf8(title));
    return p;
}

}  // namespace

TemplateEditorDialog::TemplateEditorDialog(QWidget* parent, platform::IniFile& settings,
                                           ui::Prompts& prompts, std::function<void(int)> help)
    : QDialog(parent), settings_(settings), prompts_(prompts), form_(settings) {
    setObjectName("TfrmPrjTmpSetting");
    setWindowTitle(QString::fromUtf8("プロジェクトスタイルテンプレート"));
    pages_ = new QTabWidget(this);
    pages_->setObjectName("PageControl1");
    widgets_ = std::make_unique<TemplateFieldWidgets>(this, prompts, settings, form_.fields,
                                                      [this] { form_.fieldChanged(); });
    auto& w = *widgets_;

    list_ = new QComboBox(this);
    list_->setObjectName("ComboBox1");
    list_->setEditable(true);
    list_->setInsertPolicy(QComboBox::NoInsert);
    // The list's text is the shown template's name.
    connect(list_->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
        form_.fields.name = toCp932(t);
        form_.fieldChanged();
    });
    connect(list_, &QComboBox::activated, this, [this](int item) {
        guarded([&] { form_.choose(item); });
        reload();
    });

    // Basic settings: icons, font, window size and position, import and completion options.
    QWidget* basic = page(pages_, "基本設定", "TabBasic");
    auto* icons = new QGroupBox(QString::fromUtf8("ノードアイコン"), basic);
    icons->setObjectName("RGNodeIcon");
    auto* iconLayout = new QVBoxLayout(icons);
    iconLayout->addWidget(w.iconWin32);
    iconLayout->addWidget(w.iconFolder);
    auto* size = new QGridLayout;
    size->addWidget(plainLabel("現在のフォント", basic), 0, 0);
    size->addWidget(w.font, 0, 1, 1, 3);
    size->addWidget(w.fontChange, 0, 4);
    size->addWidget(plainLabel("左位置", basic), 1, 0);
    size->addWidget(w.posX, 1, 1);
    size->addWidget(plainLabel("上位置", basic), 1, 2);
    size->addWidget(w.posY, 1, 3);
    size->addWidget(plainLabel("横幅", basic), 2, 0);
    size->addWidget(w.width, 2, 1);
    size->addWidget(plainLabel("高さ", basic), 2, 2);
    size->addWidget(w.height, 2, 3);
    size->addWidget(plainLabel("左フレームサイズ", basic), 3, 0);
    size->addWidget(w.frameWidth, 3, 1);
    size->addWidget(w.autoSizer, 3, 4);
    auto* import =
        new QGroupBox(QString::fromUtf8("フォルダ取り込み時のHTMLソース変換処理"), basic);
    auto* importLayout = new QVBoxLayout(import);
    importLayout->addWidget(w.convSjis);
    importLayout->addWidget(w.convKillJs);
    auto* b = new QVBoxLayout(basic);
    b->addWidget(icons);
    b->addLayout(size);
    b->addWidget(w.keepPos);
    b->addWidget(w.topmost);
    b->addWidget(import);
    b->addStretch();
    // Templates do not store the URL filter or the completion folder.
    for (QWidget* hidden : std::initializer_list<QWidget*>{w.urlFilter, w.setCompleteDest,
                                                           w.completeDest, w.browseDest})
        hidden->hide();

    // Buttons of the help window's toolbar.
    QWidget* buttonsPage = page(pages_, "ボタン設定", "TabButtons");
    auto* buttonGrid = new QGridLayout(buttonsPage);
    for (std::size_t i = 0; i < w.buttons.size(); ++i)
        buttonGrid->addWidget(w.buttons[i], static_cast<int>(i / 4), static_cast<int>(i % 4));
    const int below = static_cast<int>((w.buttons.size() + 3) / 4);
    buttonGrid->addWidget(w.hideToolbar, below, 0, 1, 2);
    buttonGrid->addWidget(w.hideText, below, 2, 1, 2);
    buttonGrid->setRowStretch(below + 1, 1);

    // Tabs and window behaviour.
    QWidget* tabsPage = page(pages_, "タブ設定", "TabTabs");
    auto* t = new QGridLayout(tabsPage);
    int row = 0;
    for (auto [left, right] :
         std::initializer_list<std::pair<QCheckBox*, QCheckBox*>>{{w.tabSearch, w.tabFavorite},
                                                                  {w.fullTextSearch, w.tabKeyword},
                                                                  {w.visible, w.hideFirst},
                                                                  {w.binaryToc, w.edge},
                                                                  {w.maximize, w.oneClick},
                                                                  {w.nodeSquare, w.nodeLines}}) {
        t->addWidget(left, row, 0);
        t->addWidget(right, row, 1);
        ++row;
    }
    t->setRowStretch(row, 1);

    // Style sheet, language and page templates.
    QWidget* stylePage = page(pages_, "スタイル", "TabStyle");
    auto* s = new QGridLayout(stylePage);
    s->addWidget(w.useCss, 0, 0, 1, 2);
    s->addWidget(w.css, 1, 0);
    s->addWidget(w.cssPick, 1, 1);
    s->addWidget(plainLabel("言語設定", stylePage), 2, 0, 1, 2);
    s->addWidget(w.language, 3, 0, 1, 2);
    s->addWidget(plainLabel("自動HTML作成テンプレート <BODY>", stylePage), 4, 0, 1, 2);
    s->addWidget(w.autoHtml, 5, 0);
    s->addWidget(w.autoHtmlPick, 5, 1);
    s->addWidget(plainLabel("目次HTML作成テンプレート", stylePage), 6, 0, 1, 2);
    s->addWidget(w.autoIndex, 7, 0);
    s->addWidget(w.autoIndexPick, 7, 1);
    s->addWidget(plainLabel("自動作成HTMLテンプレート <HEAD>", stylePage), 8, 0, 1, 2);
    s->addWidget(w.autoHead, 9, 0);
    s->addWidget(w.autoHeadPick, 9, 1);
    s->setRowStretch(10, 1);

    newStyle_ = new QPushButton(QString::fromUtf8("新規スタイル"), this);
    newStyle_->setObjectName("BitBtnNewStyle");
    delete_ = new QPushButton(QString::fromUtf8("削除"), this);
    delete_->setObjectName("BitBtnDelete");
    save_ = new QPushButton(QString::fromUtf8("保存"), this);
    save_->setObjectName("BitBtnSave");
    auto* closeButton = new QPushButton(QString::fromUtf8("閉じる"), this);
    closeButton->setObjectName("BitBtnClose");
    auto* helpButton = new QPushButton(QString::fromUtf8("ヘルプ"), this);
    helpButton->setObjectName("BitBtnHelp");
    wireHelpButton(this, helpButton, help, 54);
    default_ = new QCheckBox(QString::fromUtf8("デフォルトに指定"), this);
    default_->setObjectName("CBDefault");
    setHint(default_, "表示中のスタイルをデフォルトに指定します");

    connect(newStyle_, &QPushButton::clicked, this, [this] {
        const auto name = askNewStyleName(this, settings_);
        guarded([&] { form_.newStyle(name); });
        reload();
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        guarded([this] { form_.deleteShown(); });
        reload();
    });
    connect(save_, &QPushButton::clicked, this, [this] {
        guarded([this] { form_.save(); });
        reload();
    });
    connect(default_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_ && on) guarded([this] { form_.makeDefault(); });
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    top->addWidget(default_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(newStyle_);
    buttons->addWidget(delete_);
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(closeButton);
    buttons->addWidget(helpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    restorePosition(this, settings, "TmpSetting");
    pages_->setCurrentIndex(0);
    reload();
}

TemplateEditorDialog::~TemplateEditorDialog() = default;

void TemplateEditorDialog::guarded(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        // A number field that is not a number, or a settings file that cannot be written.
        prompts_.showError(e.what());
    }
}

void TemplateEditorDialog::reload() {
    loading_ = true;
    list_->clear();
    for (const std::string& n : form_.templateNames()) list_->addItem(fromCp932(n));
    list_->setCurrentIndex(form_.shown() - 1);
    list_->setEditText(fromCp932(form_.fields.name));
    default_->setChecked(form_.defaultChecked());
    widgets_->show();
    loading_ = false;
    sync();
}

void TemplateEditorDialog::sync() {
    delete_->setEnabled(form_.deleteEnabled());
}

void TemplateEditorDialog::reject() {
    // A failed save on "はい" keeps the window open with the author's changes.
    bool mayClose = false;
    guarded([&] { mayClose = form_.close(prompts_); });
    if (mayClose) QDialog::reject();
}

void TemplateEditorDialog::done(int result) {
    storePosition(this, settings_, "TmpSetting");
    QDialog::done(result);
}

void runTemplateEditor(QWidget* parent, project::Workspace& ws,
                       const std::function<void(int)>& help) {
    TemplateEditorDialog dialog(parent, ws.settings, ws.prompts, help);
    dialog.exec();
}

}  // namespace tarnbook::shell
