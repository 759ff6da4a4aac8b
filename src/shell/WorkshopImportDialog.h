#pragma once
#include <QDialog>

#include "workshopimport/ImportCommand.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarnbook::shell {

// "WorkShopプロジェクト取り込み": the Workshop contents file to import (typed or chosen with the
// file dialog) and whether the resource files are copied too.
class WorkshopImportDialog : public QDialog {
    Q_OBJECT
  public:
    explicit WorkshopImportDialog(const std::string& initialFolder, QWidget* parent = nullptr);

    QLineEdit& pathField() { return *path_; }
    QCheckBox& copyBox() { return *copy_; }
    bool okEnabled() const;
    // The fields after OK.
    const workshopimport::ImportForm& form() const { return form_; }

  private:
    void browse();
    void fieldsChanged();
    workshopimport::ImportForm form_;
    std::string initialFolder_;
    QLineEdit* path_ = nullptr;
    QCheckBox* copy_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace tarnbook::shell
