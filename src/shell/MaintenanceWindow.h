#pragma once
#include <QDialog>
#include <functional>
#include <string>

#include "maintenance/MaintenanceForm.h"

class QAction;
class QLabel;
class QProgressBar;
class QTreeWidget;
class QWidget;

namespace tarnbook::ui {
class Prompts;
}

namespace tarnbook::shell {

// "プロジェクトメンテナンス": the analysis of the project's references with its phase
// display, the five views with their counters, and the move of unused files out of the
// project. All rules live in maintenance::MaintenanceForm.
class MaintenanceWindow : public QDialog {
    Q_OBJECT
  public:
    // `help` shows a help topic; `openFolder` shows a folder in the file manager (the dust
    // folder after a move).
    MaintenanceWindow(maintenance::AnalysisInput input, std::string dustFolder,
                      ui::Prompts& prompts, std::function<void(int)> help,
                      std::function<void(const std::string&)> openFolder,
                      QWidget* parent = nullptr);

    QAction& action(const char* name);  // "Analize", "Erace", "ViewHTML", ... by object name
    QTreeWidget& list() { return *list_; }
    QString counterText(const char* labelName) const;  // "LabelHTML", ..., "lblInvalid"
    const maintenance::MaintenanceForm& form() const { return form_; }

  private:
    QAction* addAction(QWidget* panel, const char* name, const char* caption, const char* hint);
    void analyze();
    void moveUnused();
    void showView(maintenance::View view);
    void showRows();
    void showCounters();
    void updateActions();

    maintenance::MaintenanceForm form_;
    ui::Prompts& prompts_;
    std::function<void(const std::string&)> openFolder_;
    QWidget* panel_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace tarnbook::shell
