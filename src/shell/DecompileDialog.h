#pragma once
#include <QDialog>

#include "compile/DecompileForm.h"

class QPushButton;
class QLineEdit;

namespace tarnbook::ui {
class Prompts;
}

namespace tarnbook::shell {

// "リソース保存ディレクトリ": the compiled help file to unpack into the chosen folder.
class DecompileDialog : public QDialog {
    Q_OBJECT
  public:
    DecompileDialog(const std::string& outputFolder, ui::Prompts& prompts,
                    QWidget* parent = nullptr);

    QLineEdit& chmField() { return *chm_; }
    bool okEnabled() const;
    const compile::DecompileForm& form() const { return form_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void chmChanged();
    compile::DecompileForm form_;
    ui::Prompts& prompts_;
    QLineEdit* chm_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace tarnbook::shell
