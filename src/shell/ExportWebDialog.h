#pragma once
#include <QDialog>
#include <functional>

#include "webexport/ExportWebForm.h"

class QLineEdit;
class QPushButton;

namespace tarnbook::ui {
class Prompts;
}

namespace tarnbook::shell {

// "Web形式で出力": the title, the style sheet and the output folder of a web export. OK is
// enabled while a folder is named and closes the dialog only for settings the export can
// use; the caller then runs webexport::runWebExport with form().
class ExportWebDialog : public QDialog {
    Q_OBJECT
  public:
    ExportWebDialog(webexport::ExportWebForm form, std::string projectFolder, ui::Prompts& prompts,
                    const std::function<void(int)>& help = {}, QWidget* parent = nullptr);

    const webexport::ExportWebForm& form() const { return form_; }
    QLineEdit& titleField() { return *title_; }
    QLineEdit& styleSheetField() { return *css_; }
    QLineEdit& folderField() { return *folder_; }
    QPushButton& okButton() { return *ok_; }

    void accept() override;

  private:
    void fieldsChanged();

    webexport::ExportWebForm form_;
    std::string projectFolder_;
    ui::Prompts& prompts_;
    QLineEdit* title_ = nullptr;
    QLineEdit* css_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace tarnbook::shell
