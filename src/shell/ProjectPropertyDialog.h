#pragma once
#include <QDialog>
#include <array>
#include <memory>

#include "project/ProjectPropertyForm.h"
#include "project/Workspace.h"
#include "shell/TemplateFieldWidgets.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;

namespace tarnbook::shell {

// "プロジェクトプロパティ": the project properties form behind a page tree and eight pages.
// OK lets the form check and write everything; a field it refuses keeps the dialog open.
class ProjectPropertyDialog : public QDialog {
    Q_OBJECT
  public:
    ProjectPropertyDialog(project::Workspace& ws, QWidget* parent = nullptr,
                          std::function<void(int)> help = {});
    ~ProjectPropertyDialog() override;

    project::ProjectPropertyForm& form() { return form_; }
    TemplateFieldWidgets& fields() { return *widgets_; }
    QTreeWidget* pageTree() const { return tree_; }
    QStackedWidget* pages() const { return pages_; }
    QPushButton* okButton() const { return ok_; }

    void accept() override;

  private:
    QWidget* addPage(const char* name);
    void buildPageTree();
    QWidget* sizePage();
    QWidget* toolbarPage();
    QWidget* tabsPage();
    QWidget* behaviourPage();
    QWidget* mergePage();
    QWidget* templatesPage();
    QWidget* programPage();
    QWidget* specialPage();
    QLineEdit* text(const char* name, std::string& value);
    QComboBox* pageList(const char* name, project::ProjectPropertyForm::PageList list);
    void showMergeList();
    void enableLinkedFiles();

    project::Workspace& ws_;
    std::function<void(int)> help_;
    project::ProjectPropertyForm form_;
    std::unique_ptr<TemplateFieldWidgets> widgets_;
    QTreeWidget* tree_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QPushButton* ok_ = nullptr;
    QListWidget* merges_ = nullptr;
    QPushButton* mergeRemove_ = nullptr;
    std::array<QCheckBox*, 3> useFile_{};
    std::array<QLineEdit*, 3> linkedFile_{};
    std::array<QPushButton*, 3> linkedPick_{};
    QRadioButton* htmlHelpIcons_ = nullptr;
};

// ProjectProperty: shows the dialog on the open project.
void runProjectProperty(QWidget* parent, project::Workspace& ws,
                        const std::function<int(QDialog&)>& runDialog,
                        const std::function<void(int)>& help = {});

}  // namespace tarnbook::shell
