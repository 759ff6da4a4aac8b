#pragma once
#include <QDialog>
#include <functional>
#include <memory>

#include "project/WizardForm.h"
#include "project/Workspace.h"
#include "shell/TemplateFieldWidgets.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tarnbook::shell {

// "Tarnbookウィザード": the two-page new-project wizard bound to a WizardForm. Questions go
// through `prompts`; "完了(&N)" creates the project in `ws` and accepts the dialog.
class WizardDialog : public QDialog {
    Q_OBJECT
  public:
    // `help` opens the wizard's help topic; without it the help button is off.
    WizardDialog(QWidget* parent, project::Workspace& ws, ui::Prompts& prompts,
                 std::function<void(int)> help = {});
    ~WizardDialog() override;

    project::WizardForm& form() { return form_; }
    TemplateFieldWidgets& fields() { return *widgets_; }
    QLineEdit* projectNameField() const { return name_; }
    QComboBox* templateList() const { return style_; }
    QPushButton* backButton() const { return back_; }
    QPushButton* nextButton() const { return next_; }

    void done(int result) override;

  private:
    void sync();
    void pressNext();

    project::Workspace& ws_;
    ui::Prompts& prompts_;
    project::WizardForm form_;
    std::unique_ptr<TemplateFieldWidgets> widgets_;
    QComboBox* style_ = nullptr;
    QLineEdit* name_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
};

// NewProject's wizard step (the callback of project::newProject): true when the project was
// created.
bool runNewProjectWizard(QWidget* parent, project::Workspace& ws,
                         const std::function<void(int)>& help = {});

}  // namespace tarnbook::shell
