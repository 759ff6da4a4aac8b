#pragma once
#include <QDialog>
#include <functional>
#include <memory>

#include "project/TemplateEditorForm.h"
#include "project/Workspace.h"
#include "shell/TemplateFieldWidgets.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;

namespace tarnbook::shell {

// "プロジェクトスタイルテンプレート": the template editor bound to a TemplateEditorForm.
// Questions go through `prompts`; the settings are changed in place.
class TemplateEditorDialog : public QDialog {
    Q_OBJECT
  public:
    // `help` opens the editor's help topic; without it the help button is off.
    TemplateEditorDialog(QWidget* parent, platform::IniFile& settings, ui::Prompts& prompts,
                         std::function<void(int)> help = {});
    ~TemplateEditorDialog() override;

    project::TemplateEditorForm& form() { return form_; }
    TemplateFieldWidgets& fields() { return *widgets_; }
    QComboBox* templateList() const { return list_; }
    QTabWidget* pages() const { return pages_; }
    QPushButton* newStyleButton() const { return newStyle_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* saveButton() const { return save_; }
    QCheckBox* defaultBox() const { return default_; }

    // Closing asks about unsaved changes; "キャンセル" keeps the window open.
    void reject() override;
    void done(int result) override;

  private:
    void guarded(const std::function<void()>& f);
    // Shows the template the form loaded: fields, list and the default box.
    void reload();
    void sync();

    platform::IniFile& settings_;
    ui::Prompts& prompts_;
    project::TemplateEditorForm form_;
    std::unique_ptr<TemplateFieldWidgets> widgets_;
    QComboBox* list_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QPushButton* newStyle_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* save_ = nullptr;
    QCheckBox* default_ = nullptr;
    bool loading_ = false;
};

// TemplateSetting: shows the template editor on the window's settings.
void runTemplateEditor(QWidget* parent, project::Workspace& ws,
                       const std::function<void(int)>& help = {});

}  // namespace tarnbook::shell
