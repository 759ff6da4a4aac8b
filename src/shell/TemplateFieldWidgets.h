#pragma once
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "platform/IniFile.h"
#include "project/TemplateFields.h"
#include "ui/Prompts.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace tarnbook::shell {

namespace wizardui {

QString fromCp932(std::string_view bytes);
std::string toCp932(const QString& text);
// "short|long": the short part as tool tip, the long part for the status bar.
void setHint(QWidget* w, const char* utf8Hint);

// Dialog positions live in SYSTEM/<prefix>PosX and <prefix>PosY; without them Qt places the
// dialog.
void restorePosition(QWidget* dialog, const platform::IniFile& settings, const char* prefix);
void storePosition(const QWidget* dialog, platform::IniFile& settings, const char* prefix);

// Number fields of the wizard and the template editor: a typed character other than 0-9 is
// discarded (Backspace included); keys that type nothing, such as Delete and the arrows, work.
class NumberKeyFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

// A template path shown shortened to the field's width; the full path appears for editing
// while the field has the focus.
class PathField : public QLineEdit {
  public:
    PathField(QWidget* parent, std::string& path, std::function<void()> edited);
    // Shows the bound path again (after it was changed from outside).
    void refresh();

  protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    std::string& path_;
};

}  // namespace wizardui

// The widgets of a project template's fields, shared by the wizard and the template editor,
// which lay them out on their own pages. Every edit goes straight into `fields` and then
// calls `changed`.
class TemplateFieldWidgets {
  public:
    TemplateFieldWidgets(QWidget* owner, ui::Prompts& prompts, const platform::IniFile& settings,
                         project::TemplateFields& fields, std::function<void()> changed);

    // Shows every field of `fields` (after a template was loaded).
    void show();

    QRadioButton* iconWin32 = nullptr;
    QRadioButton* iconFolder = nullptr;
    QLabel* font = nullptr;
    QPushButton* fontChange = nullptr;
    QLineEdit* posX = nullptr;
    QLineEdit* posY = nullptr;
    QLineEdit* width = nullptr;
    QLineEdit* height = nullptr;
    QLineEdit* frameWidth = nullptr;
    QPushButton* autoSizer = nullptr;
    QCheckBox* keepPos = nullptr;
    QCheckBox* topmost = nullptr;
    QCheckBox* hideFirst = nullptr;
    QCheckBox* convSjis = nullptr;
    QCheckBox* convKillJs = nullptr;
    QCheckBox* urlFilter = nullptr;
    QCheckBox* setCompleteDest = nullptr;
    QLineEdit* completeDest = nullptr;
    QPushButton* browseDest = nullptr;
    std::array<QCheckBox*, project::kToolbarButtonKeys.size()> buttons{};
    QCheckBox* fullTextSearch = nullptr;
    QCheckBox* tabSearch = nullptr;
    QCheckBox* tabFavorite = nullptr;
    QCheckBox* tabKeyword = nullptr;
    QCheckBox* edge = nullptr;
    QCheckBox* maximize = nullptr;
    QCheckBox* visible = nullptr;
    QCheckBox* binaryToc = nullptr;
    QCheckBox* oneClick = nullptr;
    QCheckBox* hideToolbar = nullptr;
    QCheckBox* hideText = nullptr;
    QCheckBox* nodeSquare = nullptr;
    QCheckBox* nodeLines = nullptr;
    QCheckBox* useCss = nullptr;
    QLineEdit* css = nullptr;
    QPushButton* cssPick = nullptr;
    QComboBox* language = nullptr;
    wizardui::PathField* autoHtml = nullptr;
    QPushButton* autoHtmlPick = nullptr;
    wizardui::PathField* autoHead = nullptr;
    QPushButton* autoHeadPick = nullptr;
    wizardui::PathField* autoIndex = nullptr;
    QPushButton* autoIndexPick = nullptr;

  private:
    QCheckBox* check(const char* caption, const char* name, bool project::TemplateFields::*member);
    QLineEdit* number(const char* name, std::string project::TemplateFields::*member);
    void runAutoSizer();
    void chooseFont();
    void enableDependents();

    QWidget* owner_;
    ui::Prompts& prompts_;
    const platform::IniFile& settings_;
    project::TemplateFields& fields_;
    std::function<void()> changed_;
    bool showing_ = false;
};

}  // namespace tarnbook::shell
