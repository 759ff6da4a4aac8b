#include "shell/TemplateFieldWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <stdexcept>

#include "platform/Cp932.h"
#include "project/Languages.h"
#include "shell/AutoSizerWindow.h"

namespace tarnbook::shell {

namespace wizardui {

QString fromCp932(std::string_view bytes) {
    return QString::fromStdString(platform::cp932ToUtf8(bytes));
}

std::string toCp932(const QString& text) {
    return platform::utf8ToCp932(text.toStdString());
}

void setHint(QWidget* w, const char* utf8Hint) {
    const QString hint = QString::fromUtf8(utf8Hint);
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    w->setToolTip(bar < 0 ? hint : hint.left(bar));
    w->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

void restorePosition(QWidget* dialog, const platform::IniFile& settings, const char* prefix) {
    const std::string x = std::string(prefix) + "PosX", y = std::string(prefix) + "PosY";
    if (settings.valueExists("SYSTEM", x) && settings.valueExists("SYSTEM", y))
        dialog->move(settings.readInteger("SYSTEM", x), settings.readInteger("SYSTEM", y));
}

void storePosition(const QWidget* dialog, platform::IniFile& settings, const char* prefix) {
    settings.writeInteger("SYSTEM", std::string(prefix) + "PosX", dialog->pos().x());
    settings.writeInteger("SYSTEM", std::string(prefix) + "PosY", dialog->pos().y());
}

bool NumberKeyFilter::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Backspace) return true;
        const QString text = key->text();
        // Delete types nothing in the fields it is meant for; some platforms report it as 0x7F.
        if (!text.isEmpty() && key->key() != Qt::Key_Delete) {
            const bool digit = text.size() == 1 && text[0].unicode() < 0x80 &&
                               project::acceptsNumberKey(static_cast<char>(text[0].unicode()));
            if (!digit) return true;
        }
    }
    return QObject::eventFilter(watched, e);
}

PathField::PathField(QWidget* parent, std::string& path, std::function<void()> edited)
    : QLineEdit(parent), path_(path) {
    connect(this, &QLineEdit::textEdited, this, [this, edited](const QString& text) {
        path_ = toCp932(text);
        edited();
    });
}

void PathField::refresh() {
    const QString full = fromCp932(path_);
    setToolTip(full);
    if (hasFocus()) {
        if (text() != full) setText(full);
        return;
    }
    const int room = contentsRect().width() - 8;
    setText(room > 0 ? fontMetrics().elidedText(full, Qt::ElideMiddle, room) : full);
    setCursorPosition(0);
}

void PathField::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    refresh();
}

void PathField::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    refresh();
}

void PathField::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    refresh();
}

}  // namespace wizardui

using namespace wizardui;
using project::TemplateFields;

namespace {

QString folderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? QString() : fromCp932(path.substr(0, cut));
}

}  // namespace

TemplateFieldWidgets::TemplateFieldWidgets(QWidget* owner, ui::Prompts& prompts,
                                           const platform::IniFile& settings,
                                           TemplateFields& fields, std::function<void()> changed)
    : owner_(owner),
      prompts_(prompts),
      settings_(settings),
      fields_(fields),
      changed_(std::move(changed)) {
    iconWin32 = new QRadioButton(QString::fromUtf8("Win32 Help　形式のアイコン"), owner);
    iconFolder = new QRadioButton(QString::fromUtf8("フォルダアイコン"), owner);
    iconWin32->setObjectName("RGNodeIcon0");
    iconFolder->setObjectName("RGNodeIcon1");
    for (QRadioButton* r : {iconWin32, iconFolder})
        QObject::connect(r, &QRadioButton::toggled, owner, [this](bool) {
            if (showing_) return;
            fields_.nodeIcon = iconFolder->isChecked() ? 1 : 0;
            changed_();
        });

    font = new QLabel(owner);
    font->setObjectName("STFont");
    fontChange = new QPushButton(QString::fromUtf8("フォント変更"), owner);
    fontChange->setObjectName("BitBtnFont");
    QObject::connect(fontChange, &QPushButton::clicked, owner, [this] { chooseFont(); });

    posX = number("EditPosX", &TemplateFields::posX);
    posY = number("EditPosY", &TemplateFields::posY);
    width = number("EditPosW", &TemplateFields::width);
    height = number("EditPosH", &TemplateFields::height);
    frameWidth = number("EditFrameWidth", &TemplateFields::frameWidth);
    autoSizer = new QPushButton(QString::fromUtf8("サイズ調整"), owner);
    autoSizer->setObjectName("BitBtnAutoSizer");
    setHint(autoSizer, "ウインドウを表示して各サイズを調節します");
    QObject::connect(autoSizer, &QPushButton::clicked, owner, [this] { runAutoSizer(); });

    keepPos = check("最初に表示した位置を記憶する", "CBKeepPos", &TemplateFields::keepPos);
    topmost = check("常に一番上に表示する", "CBTopmost", &TemplateFields::topmost);
    hideFirst =
        check("ヘルプ表示時に左タブを非表示にする", "CBHideFirst", &TemplateFields::hideFirst);
    convSjis = check("シフトJISに変換して取り込む", "CBConvSJIS", &TemplateFields::convSjis);
    convKillJs = check("HTMLソース中のJavaScriptを無効にして取り込む", "CBConvKillJS",
                       &TemplateFields::convKillJs);
    urlFilter = check("指定したURLをフィルタする", "CBURLFilter", &TemplateFields::urlFilter);
    setCompleteDest = check("コンパイル済みヘルプの保存先を指定する", "CBSetCompleteDest",
                            &TemplateFields::setCompleteDest);
    completeDest = new QLineEdit(owner);
    completeDest->setObjectName("EditCompleteDest");
    QObject::connect(completeDest, &QLineEdit::textEdited, owner, [this](const QString& t) {
        fields_.completeDestPath = toCp932(t);
        changed_();
    });
    browseDest = new QPushButton(QString::fromUtf8("フォルダの参照"), owner);
    browseDest->setObjectName("BitBtnCompleteDest");
    QObject::connect(browseDest, &QPushButton::clicked, owner, [this] {
        auto folder =
            prompts_.chooseFolder("コンパイル済みヘルプの保存先選択", fields_.completeDestPath);
        if (!folder) return;
        fields_.completeDestPath = *folder;
        show();
        changed_();
    });

    static constexpr std::array<const char*, project::kToolbarButtonKeys.size()> kCaptions = {
        "表示/隠す", "戻る", "次へ",   "オプション", "印刷",       "更新",       "中止",
        "上",        "下",   "ホーム", "フォント",   "ジャンプ１", "ジャンプ２", "同期"};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i] = new QCheckBox(QString::fromUtf8(kCaptions[i]), owner);
        buttons[i]->setObjectName(QStringLiteral("CB") + project::kToolbarButtonKeys[i]);
        QObject::connect(buttons[i], &QCheckBox::toggled, owner, [this, i](bool on) {
            if (showing_) return;
            fields_.buttons[i] = on;
            changed_();
        });
    }
    fullTextSearch = check("テキスト全文検索", "CBFullTextSearch", &TemplateFields::fullTextSearch);
    tabSearch = check("検索タブの表示", "CBTabSearch", &TemplateFields::tabSearch);
    tabFavorite = check("お気に入りタブの表示", "CBTabFavorite", &TemplateFields::tabFavorite);
    tabKeyword = check("キーワードタブの表示", "CBTabKeyword", &TemplateFields::tabKeyword);
    edge = check("へこんだウインドウ", "CBEdge", &TemplateFields::edge);
    maximize = check("最大化して表示", "CBMaximize", &TemplateFields::maximize);
    visible = check("左フレーム非表示", "CBVisible", &TemplateFields::visible);
    binaryToc = check("バイナリの目次を作成する", "CBBToc", &TemplateFields::binaryToc);
    oneClick = check("１クリックでのノード展開", "CBOneClick", &TemplateFields::oneClick);
    hideToolbar = check("ツールバー非表示", "CBHideTB", &TemplateFields::hideToolbar);
    hideText = check("ボタンの文字非表示", "CBHideTxt", &TemplateFields::hideText);
    nodeSquare = check("ノードの[ + ][ - ]表示", "CBNodeSquare", &TemplateFields::nodeSquare);
    nodeLines = check("ノード間ラインの表示", "CBNodeLines", &TemplateFields::nodeLines);

    useCss = check("スタイルシートを使う", "CBUseCSS", &TemplateFields::useCss);
    css = new QLineEdit(owner);
    css->setObjectName("EditCSS");
    QObject::connect(css, &QLineEdit::textEdited, owner, [this](const QString& t) {
        fields_.css = toCp932(t);
        changed_();
    });
    cssPick = new QPushButton(QStringLiteral("..."), owner);
    cssPick->setObjectName("BitBtnCSS");
    QObject::connect(cssPick, &QPushButton::clicked, owner, [this] {
        auto file = prompts_.chooseOpenFile("", "スタイルシート (*.css)|*.css",
                                            toCp932(folderOf(fields_.css)));
        if (!file) return;
        fields_.css = *file;
        show();
        changed_();
    });

    language = new QComboBox(owner);
    language->setObjectName("CmbBLanguage");
    for (std::string_view lang : project::kHelpLanguages)
        language->addItem(QString::fromUtf8(lang.data(), static_cast<qsizetype>(lang.size())));
    QObject::connect(language, &QComboBox::currentIndexChanged, owner, [this](int index) {
        if (showing_) return;
        fields_.langNum = index;
        fields_.langStr = std::string(project::helpLanguageText(index));
        changed_();
    });

    auto pathField = [this](const char* name, std::string TemplateFields::*member,
                            const char* filter, bool inTemplateFolder,
                            QPushButton** pick) -> PathField* {
        auto* field = new PathField(owner_, fields_.*member, [this] { changed_(); });
        field->setObjectName(name);
        *pick = new QPushButton(QStringLiteral("..."), owner_);
        (*pick)->setObjectName(QStringLiteral("BitBtn") + QString::fromLatin1(name).mid(4));
        QObject::connect(
            *pick, &QPushButton::clicked, owner_, [this, member, filter, inTemplateFolder] {
                const std::string start = inTemplateFolder
                                              ? settings_.readString("SYSTEM", "TEMPLATE")
                                              : toCp932(folderOf(fields_.*member));
                auto file = prompts_.chooseOpenFile("", filter, start);
                if (!file) return;
                fields_.*member = *file;
                show();
                changed_();
            });
        return field;
    };
    autoHtml =
        pathField("EditAutoHTML", &TemplateFields::autoHtml,
                  "HTML自動作成テンプレート (*.html;*.htm)|*.html;*.htm", true, &autoHtmlPick);
    autoHead = pathField("EditAutoHEAD", &TemplateFields::autoHead,
                         "HTML ファイル (*.html;*.htm)|*.html;*.htm", false, &autoHeadPick);
    autoIndex = pathField("EditAutoIndex", &TemplateFields::autoIndex,
                          "目次HTMLテンプレート (*.html;*.htm)|*.html;*.htm", true, &autoIndexPick);
    show();
}

QCheckBox* TemplateFieldWidgets::check(const char* caption, const char* name,
                                       bool TemplateFields::*member) {
    auto* box = new QCheckBox(QString::fromUtf8(caption), owner_);
    box->setObjectName(name);
    QObject::connect(box, &QCheckBox::toggled, owner_, [this, member](bool on) {
        if (showing_) return;
        fields_.*member = on;
        enableDependents();
        changed_();
    });
    return box;
}

QLineEdit* TemplateFieldWidgets::number(const char* name, std::string TemplateFields::*member) {
    auto* edit = new QLineEdit(owner_);
    edit->setObjectName(name);
    edit->installEventFilter(new NumberKeyFilter(edit));
    QObject::connect(edit, &QLineEdit::textEdited, owner_, [this, member](const QString& t) {
        fields_.*member = toCp932(t);
        changed_();
    });
    return edit;
}

void TemplateFieldWidgets::show() {
    showing_ = true;
    (fields_.nodeIcon == 1 ? iconFolder : iconWin32)->setChecked(true);
    font->setText(fromCp932(fields_.fontName) + QStringLiteral("  ") +
                  QString::number(fields_.fontSize) + QStringLiteral(" pt"));
    posX->setText(fromCp932(fields_.posX));
    posY->setText(fromCp932(fields_.posY));
    width->setText(fromCp932(fields_.width));
    height->setText(fromCp932(fields_.height));
    frameWidth->setText(fromCp932(fields_.frameWidth));
    keepPos->setChecked(fields_.keepPos);
    topmost->setChecked(fields_.topmost);
    hideFirst->setChecked(fields_.hideFirst);
    convSjis->setChecked(fields_.convSjis);
    convKillJs->setChecked(fields_.convKillJs);
    urlFilter->setChecked(fields_.urlFilter);
    setCompleteDest->setChecked(fields_.setCompleteDest);
    completeDest->setText(fromCp932(fields_.completeDestPath));
    for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i]->setChecked(fields_.buttons[i]);
    fullTextSearch->setChecked(fields_.fullTextSearch);
    tabSearch->setChecked(fields_.tabSearch);
    tabFavorite->setChecked(fields_.tabFavorite);
    tabKeyword->setChecked(fields_.tabKeyword);
    edge->setChecked(fields_.edge);
    maximize->setChecked(fields_.maximize);
    visible->setChecked(fields_.visible);
    binaryToc->setChecked(fields_.binaryToc);
    oneClick->setChecked(fields_.oneClick);
    hideToolbar->setChecked(fields_.hideToolbar);
    hideText->setChecked(fields_.hideText);
    nodeSquare->setChecked(fields_.nodeSquare);
    nodeLines->setChecked(fields_.nodeLines);
    useCss->setChecked(fields_.useCss);
    css->setText(fromCp932(fields_.css));
    language->setCurrentIndex(
        fields_.langNum >= 0 && fields_.langNum < language->count() ? fields_.langNum : -1);
    autoHtml->refresh();
    autoHead->refresh();
    autoIndex->refresh();
    enableDependents();
    showing_ = false;
}

void TemplateFieldWidgets::enableDependents() {
    css->setEnabled(fields_.useCss);
    cssPick->setEnabled(fields_.useCss);
}

void TemplateFieldWidgets::chooseFont() {
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, QFont(fromCp932(fields_.fontName), fields_.fontSize), owner_);
    if (!ok) return;
    fields_.fontName = toCp932(chosen.family());
    if (chosen.pointSize() > 0) fields_.fontSize = chosen.pointSize();
    show();
    changed_();
}

void TemplateFieldWidgets::runAutoSizer() {
    project::AutoSizerGeometry current{};
    try {
        current = {project::numberFieldValue(fields_.posX), project::numberFieldValue(fields_.posY),
                   project::numberFieldValue(fields_.width),
                   project::numberFieldValue(fields_.height),
                   project::numberFieldValue(fields_.frameWidth)};
    } catch (const std::invalid_argument& e) {
        prompts_.showError(e.what());
        return;
    }
    auto result = shell::runAutoSizer(owner_, current);
    if (!result) return;
    fields_.posX = std::to_string(result->left);
    fields_.posY = std::to_string(result->top);
    fields_.width = std::to_string(result->width);
    fields_.height = std::to_string(result->height);
    fields_.frameWidth = std::to_string(result->paneWidth);
    show();
    changed_();
}

}  // namespace tarnbook::shell
