#include "shell/WizardDialog.h"
#include "shell/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <exception>

#include "shell/PlainLabel.h"

namespace tarnbook::shell {

using namespace wizardui;

WizardDialog::WizardDialog(QWidget* parent, project::Workspace& ws, ui::Prompts& prompts,
                           std::function<void(int)> help)
    : QDialog(parent), ws_(ws), prompts_(prompts), form_(ws.settings) {
    setObjectName("TfrmWizard");
    setWindowTitle(QString::fromUtf8("Tarnbookウィザード"));
    widgets_ =
        std::make_unique<TemplateFieldWidgets>(this, prompts, ws.settings, form_.fields, [] {});
    auto& w = *widgets_;

    style_ = new QComboBox(this);
    style_->setObjectName("CBStyle");
    setHint(style_, "設定済みテンプレートから指定します");
    for (const std::string& n : form_.templateNames()) style_->addItem(fromCp932(n));
    style_->setCurrentIndex(form_.selectedItem());
    connect(style_, &QComboBox::activated, this, [this](int item) {
        form_.chooseTemplate(item);
        widgets_->show();
        sync();
    });

    // Page 1: the project in general.
    auto* page1 = new QGroupBox(QString::fromUtf8("プロジェクト全般"), this);
    page1->setObjectName("Page1");
    name_ = new QLineEdit(page1);
    name_->setObjectName("EditPrjName");
    setHint(name_, "プロジェクト名を入力して下さい");
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& t) {
        form_.projectName = toCp932(t);
        sync();
    });
    auto* icons = new QGroupBox(QString::fromUtf8("ノードアイコン"), page1);
    icons->setObjectName("RGNodeIcon");
    auto* iconLayout = new QVBoxLayout(icons);
    iconLayout->addWidget(plainLabel("アイコン", icons));
    iconLayout->addWidget(w.iconWin32);
    iconLayout->addWidget(w.iconFolder);
    auto* size = new QGridLayout;
    size->addWidget(plainLabel("現在のフォント", page1), 0, 0);
    size->addWidget(w.font, 0, 1, 1, 3);
    size->addWidget(w.fontChange, 0, 4);
    size->addWidget(plainLabel("左位置", page1), 1, 0);
    size->addWidget(w.posX, 1, 1);
    size->addWidget(plainLabel("上位置", page1), 1, 2);
    size->addWidget(w.posY, 1, 3);
    size->addWidget(plainLabel("横幅", page1), 2, 0);
    size->addWidget(w.width, 2, 1);
    size->addWidget(plainLabel("高さ", page1), 2, 2);
    size->addWidget(w.height, 2, 3);
    size->addWidget(plainLabel("左フレームサイズ", page1), 3, 0);
    size->addWidget(w.frameWidth, 3, 1);
    size->addWidget(w.autoSizer, 3, 4);
    auto* import =
        new QGroupBox(QString::fromUtf8("フォルダ取り込み時のHTMLソース変換処理"), page1);
    auto* importLayout = new QVBoxLayout(import);
    importLayout->addWidget(w.convSjis);
    importLayout->addWidget(w.convKillJs);
    importLayout->addWidget(w.urlFilter);
    auto* complete = new QGroupBox(QString::fromUtf8("コンパイル完了時の動作"), page1);
    auto* completeLayout = new QGridLayout(complete);
    completeLayout->addWidget(w.setCompleteDest, 0, 0, 1, 2);
    completeLayout->addWidget(w.completeDest, 1, 0);
    completeLayout->addWidget(w.browseDest, 1, 1);
    auto* p1 = new QVBoxLayout(page1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(plainLabel("プロジェクト名", page1));
    nameRow->addWidget(name_, 1);
    p1->addLayout(nameRow);
    p1->addWidget(icons);
    p1->addLayout(size);
    p1->addWidget(w.keepPos);
    p1->addWidget(w.topmost);
    p1->addWidget(w.hideFirst);
    p1->addWidget(import);
    p1->addWidget(complete);

    // Page 2: buttons, tabs, style and language.
    auto* page2 = new QGroupBox(QString::fromUtf8("ボタン設定"), this);
    page2->setObjectName("Page2");
    auto* buttonGrid = new QGridLayout;
    for (std::size_t i = 0; i < w.buttons.size(); ++i)
        buttonGrid->addWidget(w.buttons[i], static_cast<int>(i / 4), static_cast<int>(i % 4));
    auto* tabs = new QGridLayout;
    tabs->addWidget(w.fullTextSearch, 0, 0);
    tabs->addWidget(w.tabSearch, 0, 1);
    tabs->addWidget(w.tabFavorite, 1, 0);
    tabs->addWidget(w.tabKeyword, 1, 1);
    auto* files = new QGridLayout;
    files->addWidget(w.useCss, 0, 0, 1, 2);
    files->addWidget(w.css, 1, 0);
    files->addWidget(w.cssPick, 1, 1);
    files->addWidget(plainLabel("言語設定", page2), 2, 0, 1, 2);
    files->addWidget(w.language, 3, 0, 1, 2);
    files->addWidget(plainLabel("自動作成HTMLテンプレート <BODY>", page2), 4, 0, 1, 2);
    files->addWidget(w.autoHtml, 5, 0);
    files->addWidget(w.autoHtmlPick, 5, 1);
    files->addWidget(plainLabel("自動作成HTMLテンプレート <HEAD>", page2), 6, 0, 1, 2);
    files->addWidget(w.autoHead, 7, 0);
    files->addWidget(w.autoHeadPick, 7, 1);
    auto* p2 = new QVBoxLayout(page2);
    p2->addLayout(buttonGrid);
    p2->addLayout(tabs);
    p2->addLayout(files);
    p2->addStretch();
    // The wizard does not offer the index-page template or the editor-only window options.
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             w.autoIndex, w.autoIndexPick, w.edge, w.maximize, w.visible, w.binaryToc, w.oneClick,
             w.hideToolbar, w.hideText, w.nodeSquare, w.nodeLines})
        hidden->hide();

    pages_ = new QStackedWidget(this);
    pages_->addWidget(page1);
    pages_->addWidget(page2);

    back_ = new QPushButton(QString::fromUtf8("戻る(&B)"), this);
    back_->setObjectName("BitBtnBack");
    next_ = new QPushButton(this);
    next_->setObjectName("BitBtnNext");
    next_->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), this);
    cancel->setObjectName("BitBtnCancel");
    auto* helpButton = new QPushButton(QString::fromUtf8("ヘルプ"), this);
    helpButton->setObjectName("BitBtnHelp");
    wireHelpButton(this, helpButton, help, 36);
    connect(back_, &QPushButton::clicked, this, [this] {
        form_.back();
        sync();
    });
    connect(next_, &QPushButton::clicked, this, [this] { pressNext(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);
    auto* top = new QHBoxLayout;
    top->addWidget(plainLabel("テンプレート", this));
    top->addWidget(style_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages_);
    layout->addLayout(buttons);

    restorePosition(this, ws.settings, "Wizard");
    sync();
    name_->setFocus();
}

WizardDialog::~WizardDialog() = default;

void WizardDialog::sync() {
    pages_->setCurrentIndex(form_.page() - 1);
    back_->setEnabled(form_.backEnabled());
    next_->setText(QString::fromStdString(form_.nextCaption()));
    next_->setEnabled(form_.nextEnabled());
    const QString name = fromCp932(form_.projectName);
    if (name_->text() != name) name_->setText(name);
}

void WizardDialog::pressNext() {
    project::WizardForm::Step step = project::WizardForm::Step::Stayed;
    try {
        step = form_.next(prompts_, ws_);
    } catch (const std::exception& e) {
        // A field that is not a number or a folder that cannot be made ends the step here.
        prompts_.showError(e.what());
    }
    sync();
    if (step == project::WizardForm::Step::Created)
        accept();
    else if (step == project::WizardForm::Step::Stayed && form_.page() == 1)
        name_->setFocus();
}

void WizardDialog::done(int result) {
    storePosition(this, ws_.settings, "Wizard");
    QDialog::done(result);
}

bool runNewProjectWizard(QWidget* parent, project::Workspace& ws,
                         const std::function<void(int)>& help) {
    WizardDialog dialog(parent, ws, ws.prompts, help);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace tarnbook::shell
