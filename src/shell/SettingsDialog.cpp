#include "shell/SettingsDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "platform/Cp932.h"
#include "shell/DialogButtons.h"

namespace tarnbook::shell {
namespace {

QString fromCp(const std::string& s) {
    return QString::fromStdString(platform::cp932ToUtf8(s));
}
std::string toCp(const QString& s) {
    return platform::utf8ToCp932(s.toStdString());
}
QColor colour(unsigned rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
unsigned rgbOf(const QColor& c) {
    return (static_cast<unsigned>(c.red()) << 16) | (static_cast<unsigned>(c.green()) << 8) |
           static_cast<unsigned>(c.blue());
}

QWidget* page(QTabWidget* tabs, const QString& caption) {
    auto* w = new QWidget(tabs);
    auto* form = new QFormLayout(w);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    tabs->addTab(w, caption);
    return w;
}
QFormLayout* formOf(QWidget* page) {
    return static_cast<QFormLayout*>(page->layout());
}

}  // namespace

SettingsDialog::SettingsDialog(project::SettingsForm form, ui::Prompts& prompts,
                               RunDialog runDialog, QWidget* parent,
                               const std::function<void(int)>& help)
    : QDialog(parent), form_(std::move(form)), prompts_(prompts), runDialog_(std::move(runDialog)) {
    setObjectName(QStringLiteral("TfrmSetting"));
    setWindowTitle(QStringLiteral("環境設定"));
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    // Six captions side by side: the dialog grows to show them whole rather than cut them.
    pages_->setUsesScrollButtons(false);
    pages_->setElideMode(Qt::ElideNone);
    layout->addWidget(pages_);
    buildPages();
    layout->addWidget(
        addDialogButtons(this, {"BitBtnOK", "BitBtnCancel", "BitBtnHelp"}, help, 52).box);
    loadFields();
    pages_->setCurrentIndex(0);
    resize(520, 400);
}

QLineEdit* SettingsDialog::line(QWidget* p, const char* name, std::string* value) {
    auto* e = new QLineEdit(p);
    e->setObjectName(QString::fromLatin1(name));
    lines_.emplace_back(e, value);
    return e;
}

QCheckBox* SettingsDialog::check(QWidget* p, const char* name, const QString& caption,
                                 bool* value) {
    auto* b = new QCheckBox(caption, p);
    b->setObjectName(QString::fromLatin1(name));
    checks_.emplace_back(b, value);
    formOf(p)->addRow(b);
    return b;
}

void SettingsDialog::buildPages() {
    auto& f = form_;
    // A field with a browse button that runs one of the form's choosers.
    auto browsed = [this](QWidget* p, const QString& caption, const char* name, std::string* value,
                          std::function<void()> browse) {
        auto* row = new QHBoxLayout();
        QLineEdit* e = line(p, name, value);
        row->addWidget(e, 1);
        auto* b = new QPushButton(QStringLiteral("参照..."), p);
        connect(b, &QPushButton::clicked, this, [this, browse] {
            collect();
            browse();
            loadFields();
        });
        row->addWidget(b);
        formOf(p)->addRow(caption, row);
        return b;
    };

    QWidget* base = page(pages_, QStringLiteral("基本設定"));
    browsed(base, QStringLiteral("プロジェクトディレクトリ"), "PROJECT", &f.projectFolder,
            [this] { form_.browseProjectFolder(prompts_); });
    browsed(base, QStringLiteral("HTML Help コンパイラ ( HHC.EXE )"), "HHC", &f.compiler,
            [this] { form_.browseCompiler(prompts_); });
    formOf(base)->addRow(QStringLiteral("HTMLエディタ"), line(base, "EditHTML", &f.htmlEditor));
    formOf(base)->addRow(QStringLiteral("テキストエディタ"), line(base, "EditTXT", &f.textEditor));

    QWidget* b1 = page(pages_, QStringLiteral("動作設定１"));
    browsed(b1, QStringLiteral("テンプレートディレクトリ"), "TEMPLATE", &f.templateFolder,
            [this] { form_.browseTemplateFolder(prompts_); });
    browsed(b1, QStringLiteral("標準HTML指定"), "DefHTML", &f.standardPage,
            [this] { form_.browseStandardPage(prompts_); });
    formOf(b1)->addRow(QStringLiteral("標準カスケーディングスタイルシート"),
                       line(b1, "DefCSS", &f.standardCss));
    formOf(b1)->addRow(QStringLiteral("ユーザカスタムタグ"), line(b1, "CustomTag", &f.customTag));

    QWidget* b2 = page(pages_, QStringLiteral("動作設定２"));
    auto* looks = new QHBoxLayout();
    auto* font = new QPushButton(QStringLiteral("フォントの選択"), b2);
    auto* back = new QPushButton(QStringLiteral("背景色の指定"), b2);
    auto* obj = new QPushButton(QStringLiteral("オブジェクトタグ"), b2);
    for (auto* b : {font, back, obj}) looks->addWidget(b);
    formOf(b2)->addRow(looks);
    sample_ = new QTextEdit(b2);
    sample_->setObjectName(QStringLiteral("Sample"));
    sample_->setReadOnly(true);
    sample_->setFixedHeight(64);
    formOf(b2)->addRow(sample_);
    check(b2, "ColObjtag", QStringLiteral("オブジェクトタグ色付け"), &f.colourObjectTags);
    check(b2, "ColAnchortag", QStringLiteral("アンカータグ色付け"), &f.colourAnchorTags);
    check(b2, "ColHreftag", QStringLiteral("リンクタグ色付け"), &f.colourLinkTags);
    connect(font, &QPushButton::clicked, this, [this] {
        QFontDialog d(QFont(fromCp(form_.fontName), form_.fontSize), this);
        d.setWindowTitle(QStringLiteral("フォントの選択"));
        if (runDialog_(d) != QDialog::Accepted) return;
        form_.fontName = toCp(d.selectedFont().family());
        form_.fontSize = d.selectedFont().pointSize();
        QColorDialog c(colour(form_.fontRgb()), this);
        c.setWindowTitle(QStringLiteral("文字色"));
        if (runDialog_(c) == QDialog::Accepted) form_.setFontColour(rgbOf(c.selectedColor()));
        updateSample();
    });
    auto pickColour = [this](const QString& title, unsigned current,
                             void (project::SettingsForm::*set)(unsigned)) {
        QColorDialog c(colour(current), this);
        c.setWindowTitle(title);
        if (runDialog_(c) != QDialog::Accepted) return;
        (form_.*set)(rgbOf(c.selectedColor()));
        updateSample();
    };
    connect(back, &QPushButton::clicked, this, [this, pickColour] {
        pickColour(QStringLiteral("背景色の指定"), form_.backRgb(),
                   &project::SettingsForm::setBackColour);
    });
    connect(obj, &QPushButton::clicked, this, [this, pickColour] {
        pickColour(QStringLiteral("オブジェクトタグ"), form_.objectRgb(),
                   &project::SettingsForm::setObjectColour);
    });

    QWidget* b3 = page(pages_, QStringLiteral("動作設定３"));
    formOf(b3)->addRow(QStringLiteral("プレフィックス"), line(b3, "Prefix", &f.prefix));
    check(b3, "NodeBox", QStringLiteral("ボックス表示する"), &f.nodeBox);
    check(b3, "ViewDialog", QStringLiteral("コンパイル終了確認ダイアログを表示しない"),
          &f.noCompileDialog);
    check(b3, "RClickRefresh", QStringLiteral("右クリック時のプレビュー画面更新"),
          &f.rightClickRefresh);
    check(b3, "Resume", QStringLiteral("前回終了時のプロジェクトを開く"), &f.resume);
    check(b3, "ConfirmAutoHTML", QStringLiteral("同名のHTMLがあるときは知らせる"),
          &f.confirmAutoHtml);
    check(b3, "ConfirmOverWrite", QStringLiteral("全て確認する"), &f.confirmOverwrite);
    QCheckBox* dest =
        check(b3, "SetCompleteDest", QStringLiteral("コンパイル済みヘルプの保存先を指定する"),
              &f.setCompleteDest);
    auto* destRow = new QHBoxLayout();
    completeDest_ = line(b3, "SetCompleteDestPath", &f.completeDestPath);
    destRow->addWidget(completeDest_, 1);
    auto* destButton = new QPushButton(QStringLiteral("フォルダの参照"), b3);
    completeDestButton_ = destButton;
    destRow->addWidget(destButton);
    formOf(b3)->addRow(destRow);
    connect(destButton, &QPushButton::clicked, this, [this] {
        collect();
        form_.browseCompleteDest(prompts_);
        loadFields();
    });
    connect(dest, &QCheckBox::toggled, this, [this](bool on) {
        completeDest_->setEnabled(on);
        completeDestButton_->setEnabled(on);
    });

    QWidget* cap = page(pages_, QStringLiteral("画面キャプチャ"));
    formOf(cap)->addRow(QStringLiteral("キャプチャ画像編集アプリケーション"),
                        line(cap, "CaptureEx", &f.captureProgram));
    check(cap, "CaptureCursor", QStringLiteral("マウスカーソルを含める"), &f.captureCursor);
    check(cap, "CaptureActive", QStringLiteral("デスクトップ全体をキャプチャ"), &f.captureActive);

    QWidget* tools = page(pages_, QStringLiteral("外部ツール"));
    static const char* const kToolNames[][2] = {
        {"Ext1name", "Ext1"}, {"Ext2name", "Ext2"}, {"Ext3name", "Ext3"}};
    static const char* const kToolCaptions[] = {"ツール１", "ツール２", "ツール３"};
    for (int n = 0; n < project::kExternalToolCount; ++n) {
        auto* group = new QGroupBox(QString::fromUtf8(kToolCaptions[n]), tools);
        auto* g = new QFormLayout(group);
        g->addRow(QStringLiteral("タイトル :"), line(group, kToolNames[n][0], &f.tools[n].title));
        auto* row = new QHBoxLayout();
        row->addWidget(line(group, kToolNames[n][1], &f.tools[n].path), 1);
        auto* b = new QPushButton(QStringLiteral("参照..."), group);
        connect(b, &QPushButton::clicked, this, [this, n] {
            collect();
            form_.browseTool(prompts_, n + 1);
            loadFields();
        });
        row->addWidget(b);
        g->addRow(QStringLiteral("パス :"), row);
        formOf(tools)->addRow(group);
    }
}

void SettingsDialog::loadFields() {
    for (auto& [e, v] : lines_) e->setText(fromCp(*v));
    for (auto& [b, v] : checks_) b->setChecked(*v);
    completeDest_->setEnabled(form_.completeDestEnabled());
    completeDestButton_->setEnabled(form_.completeDestEnabled());
    updateSample();
}

void SettingsDialog::collect() {
    for (auto& [e, v] : lines_) *v = toCp(e->text());
    for (auto& [b, v] : checks_) *v = b->isChecked();
}

project::SettingsForm SettingsDialog::form() {
    collect();
    return form_;
}

QLineEdit* SettingsDialog::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

QCheckBox* SettingsDialog::box(const char* name) const {
    return findChild<QCheckBox*>(QString::fromLatin1(name));
}

void SettingsDialog::updateSample() {
    QFont font(fromCp(form_.fontName), form_.fontSize > 0 ? form_.fontSize : 9);
    sample_->setFont(font);
    QPalette p = sample_->palette();
    p.setColor(QPalette::Base, colour(form_.backRgb()));
    sample_->setPalette(p);
    sample_->setHtml(QStringLiteral("<div style=\"color:%1\">HTML テキスト</div>"
                                    "<div style=\"color:%2\">&lt;OBJECT&gt;～</div>")
                         .arg(colour(form_.fontRgb()).name(), colour(form_.objectRgb()).name()));
}

}  // namespace tarnbook::shell
