#pragma once
#include <QDialog>
#include <functional>

#include "project/SettingsForm.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QTextEdit;

namespace tarnbook::ui {
class Prompts;
}

namespace tarnbook::shell {

// "環境設定": six pages of fields bound to the settings form. The caller runs it and, on OK,
// takes form() (collected from the fields) and lets the form write and apply it.
class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    using RunDialog = std::function<int(QDialog&)>;
    SettingsDialog(project::SettingsForm form, ui::Prompts& prompts, RunDialog runDialog,
                   QWidget* parent = nullptr, const std::function<void(int)>& help = {});

    // The form with every field's current value.
    project::SettingsForm form();
    QTabWidget& pages() { return *pages_; }
    // The field bound to a form member by its object name (tests set fields through it).
    QLineEdit* field(const char* name) const;
    QCheckBox* box(const char* name) const;

  private:
    void buildPages();
    void loadFields();
    void collect();
    void updateSample();
    QLineEdit* line(QWidget* page, const char* name, std::string* value);
    QCheckBox* check(QWidget* page, const char* name, const QString& caption, bool* value);

    project::SettingsForm form_;
    ui::Prompts& prompts_;
    RunDialog runDialog_;
    QTabWidget* pages_ = nullptr;
    QTextEdit* sample_ = nullptr;
    QLineEdit* completeDest_ = nullptr;
    QWidget* completeDestButton_ = nullptr;
    std::vector<std::pair<QLineEdit*, std::string*>> lines_;
    std::vector<std::pair<QCheckBox*, bool*>> checks_;
};

}  // namespace tarnbook::shell
