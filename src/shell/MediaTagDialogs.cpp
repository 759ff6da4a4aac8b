#include "shell/MediaTagDialogs.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "shell/AutoSizerWindow.h"
#include "shell/DialogButtons.h"
#include "shell/ItemDialogSupport.h"
#include "shell/TagDialogParts.h"

namespace tarnbook::shell {

using itemdialog::fromCp932;
using itemdialog::toCp932;

namespace {

constexpr int kMediaTopic = 61;
constexpr int kSplashTopic = 70;

QLineEdit* sizeField(QWidget* parent, const std::string& value, const char* name) {
    auto* edit = new QLineEdit(fromCp932(value), parent);
    edit->setObjectName(name);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

}  // namespace

SplashTagDialog::SplashTagDialog(QWidget* parent, authoring::SplashForm& form,
                                 std::function<void(int topic)> help)
    : TagFormDialog(parent) {
    setWindowTitle(QString::fromUtf8(authoring::SplashForm::caption()));
    setObjectName("TdlgTagSplash");
    auto* layout = new QVBoxLayout(this);
    QPushButton* browse = nullptr;
    QLineEdit* picture = addLabelledField(this, layout, "スプラッシュ画像ファイル", "EditPicture",
                                          QString(), &browse);
    layout->addWidget(new QLabel(QString::fromUtf8("表示ミリ秒 ( 1秒=1000ミリ秒 )"), this));
    auto* ms = new QSpinBox(this);
    ms->setObjectName("SpinMilliseconds");
    ms->setRange(authoring::SplashForm::kMinMilliseconds, authoring::SplashForm::kMaxMilliseconds);
    ms->setValue(form.milliseconds());
    layout->addWidget(ms);
    addButtons(help, kSplashTopic, [&form] { return form.okEnabled(); });

    connect(picture, &QLineEdit::textChanged, this, [this, &form](const QString& t) {
        form.setPicture(toCp932(t));
        sync();
    });
    connect(browse, &QPushButton::clicked, this, [picture, &form] {
        if (form.choosePicture()) picture->setText(fromCp932(form.picture()));
    });
    connect(ms, &QSpinBox::valueChanged, this, [&form](int v) { form.setMilliseconds(v); });
}

MediaTagDialog::MediaTagDialog(QWidget* parent, authoring::MediaForm& form,
                               std::function<void(int topic)> help)
    : TagFormDialog(parent) {
    const authoring::MediaKindTexts& texts = authoring::mediaKindTexts(form.kind());
    setWindowTitle(QString::fromUtf8(texts.caption));
    setObjectName("TdlgVisual");
    auto* layout = new QVBoxLayout(this);
    QPushButton* browse = nullptr;
    QLineEdit* file =
        addLabelledField(this, layout, texts.fileLabel, "EditFile", QString(), &browse);
    if (form.hasVolume()) {
        layout->addWidget(new QLabel(QString::fromUtf8("ボリューム"), this));
        auto* volume = new QSlider(Qt::Horizontal, this);
        volume->setObjectName("TBVolume");
        volume->setRange(0, authoring::MediaForm::kMaxVolume);
        volume->setSingleStep(1);
        volume->setPageStep(5);
        volume->setValue(form.volume());
        layout->addWidget(volume);
        connect(volume, &QSlider::valueChanged, this, [&form](int v) { form.setVolume(v); });
    }
    if (form.hasSize()) {
        auto* grid = new QGridLayout;
        QLineEdit* width = sizeField(this, form.width(), "EditWidth");
        QLineEdit* height = sizeField(this, form.height(), "EditHeight");
        auto* sizer = new QPushButton(QString::fromUtf8("表示サイズ"), this);
        sizer->setObjectName("BtnAutoSizer");
        grid->addWidget(new QLabel(QString::fromUtf8("幅"), this), 0, 0);
        grid->addWidget(width, 0, 1);
        grid->addWidget(new QLabel(QString::fromUtf8("高さ"), this), 1, 0);
        grid->addWidget(height, 1, 1);
        grid->addWidget(sizer, 0, 2, 2, 1);
        layout->addLayout(grid);
        connect(width, &QLineEdit::textChanged, this, [this, &form](const QString& t) {
            form.setWidth(toCp932(t));
            sync();
        });
        connect(height, &QLineEdit::textChanged, this, [this, &form](const QString& t) {
            form.setHeight(toCp932(t));
            sync();
        });
        connect(sizer, &QPushButton::clicked, this, [this, width, height, &form] {
            const auto result =
                runAutoSizer(this, {100, 100, form.widthNumber(), form.heightNumber(), 0});
            if (!result) return;
            width->setText(QString::number(result->width));
            height->setText(QString::number(result->height));
        });
    }
    addButtons(help, kMediaTopic, [&form] { return form.okEnabled(); });

    connect(file, &QLineEdit::textChanged, this, [this, &form](const QString& t) {
        form.setFile(toCp932(t));
        sync();
    });
    connect(browse, &QPushButton::clicked, this, [file, &form] {
        if (form.chooseFile()) file->setText(fromCp932(form.file()));
    });
}

PageLinkDialog::PageLinkDialog(QWidget* parent, authoring::PageLinkForm& form,
                               std::function<void(int topic)> help)
    : TagFormDialog(parent) {
    setWindowTitle(QString::fromUtf8(authoring::PageLinkForm::caption()));
    setObjectName("TdlgHref");
    auto* layout = new QVBoxLayout(this);
    auto* pages = new QListWidget(this);
    pages->setObjectName("LBPages");
    for (const auto& p : form.pages()) pages->addItem(fromCp932(p.title));
    layout->addWidget(pages, 1);
    layout->addWidget(new QLabel(QString::fromUtf8("アンカー"), this));
    auto* anchors = new QComboBox(this);
    anchors->setObjectName("CBAnchor");
    anchors->setEnabled(false);
    layout->addWidget(anchors);
    layout->addWidget(new QLabel(QString::fromUtf8("リンクテキスト"), this));
    auto* text = new QLineEdit(fromCp932(form.linkText()), this);
    text->setObjectName("EditLinkText");
    layout->addWidget(text);
    // OK waits for a page.
    addButtons(help, kMediaTopic, [&form] { return form.okEnabled(); });

    connect(pages, &QListWidget::currentRowChanged, this, [this, anchors, text, &form](int row) {
        form.choosePage(row);
        const QSignalBlocker block(anchors);
        anchors->clear();
        for (const std::string& a : form.anchors().entries()) anchors->addItem(fromCp932(a));
        anchors->setCurrentIndex(form.anchors().chosen());
        anchors->setEnabled(form.anchorsEnabled());
        text->setText(fromCp932(form.linkText()));
        sync();
    });
    connect(anchors, &QComboBox::activated, this, [this, text, &form](int index) {
        form.chooseAnchor(index);
        text->setText(fromCp932(form.linkText()));
        text->setFocus();
        sync();
    });
    connect(text, &QLineEdit::textEdited, this, [this, &form](const QString& t) {
        form.setLinkText(toCp932(t));
        sync();
    });
}

TagNameDialog::TagNameDialog(QWidget* parent, const QString& caption, const QString& label)
    : QDialog(parent) {
    setWindowTitle(caption);
    setObjectName("TdlgTagName");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(label, this));
    name_ = new QLineEdit(this);
    name_->setObjectName("EditName");
    layout->addWidget(name_);
    layout->addWidget(addDialogButtons(this, {"OKBtn", "CancelBtn", nullptr}).box);
}

QString TagNameDialog::name() const {
    return name_->text();
}

}  // namespace tarnbook::shell
