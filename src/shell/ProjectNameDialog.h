#pragma once
#include <QDialog>

#include "project/NewProjectNameForm.h"

class QPushButton;
class QLineEdit;

namespace tarnbook::shell {

// "新プロジェクト名": the name of the folder save-as creates. OK follows the form.
class ProjectNameDialog : public QDialog {
    Q_OBJECT
  public:
    ProjectNameDialog(const std::string& projectsFolder, QWidget* parent = nullptr);

    QLineEdit& nameField() { return *name_; }
    bool okEnabled() const;
    // The name as typed (CP932), valid after OK.
    const std::string& name() const { return form_.name(); }

  private:
    void nameChanged();
    project::NewProjectNameForm form_;
    QLineEdit* name_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace tarnbook::shell
