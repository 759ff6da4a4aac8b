#pragma once
#include <QDialog>

#include "winhelp/HpjConvertForm.h"

class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tarnbook::shell {

// "Win32ヘルププロジェクトコンバート": choose a WinHelp project and watch its four steps run.
class HpjConvertDialog : public QDialog {
    Q_OBJECT
  public:
    HpjConvertDialog(const winhelp::ProjectTarget& target, QWidget* parent = nullptr);

    // The "開く" command: asks for the project file and converts it.
    void openProject();
    // Converts a chosen file (what accepting the file dialog does).
    void convert(const std::string& hpjPath);

    const winhelp::HpjConvertForm& form() const { return form_; }

  private:
    void showForm();

    winhelp::HpjConvertForm form_;
    ui::Prompts& prompts_;
    QRadioButton* markers_[4] = {};
    QLineEdit* fields_[4] = {};
    QLineEdit* result_ = nullptr;
    QListWidget* warnings_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace tarnbook::shell
