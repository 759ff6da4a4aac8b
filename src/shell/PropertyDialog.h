#pragma once
#include <QDialog>
#include <functional>

#include "contents/ItemForms.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarnbook::shell {

// The item property dialog: widgets bound to a PropertyForm for one node.
class PropertyDialog : public QDialog {
    Q_OBJECT
  public:
    PropertyDialog(QWidget* parent, project::Workspace& ws, project::TreeNode& node,
                   std::function<void(int topic)> help = {});

    contents::PropertyForm& form() { return form_; }

    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void sync();

    contents::PropertyForm form_;
    QLabel* itemType_ = nullptr;
    QPushButton* typeButton_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLineEdit* page_ = nullptr;
    QPushButton* fileOpen_ = nullptr;
    QComboBox* anchor_ = nullptr;
    QComboBox* headingIcons_ = nullptr;
    QComboBox* contentIcons_ = nullptr;
    QLineEdit* keyword_ = nullptr;
    QCheckBox* subTick_ = nullptr;
    QLineEdit* subKeyword_ = nullptr;
    QPushButton* copyTitle_ = nullptr;
    QPushButton* clearKey_ = nullptr;
    QLineEdit* id_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool syncing_ = false;
};

// TbCngProperty: runs the dialog for the focused node and applies it on OK. True when
// confirmed; the window is refreshed either way.
bool runPropertyDialog(QWidget* parent, project::Workspace& ws,
                       const std::function<void(int)>& help = {});

}  // namespace tarnbook::shell
