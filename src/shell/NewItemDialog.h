#pragma once
#include <QDialog>
#include <functional>

#include "contents/ItemForms.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tarnbook::shell {

// The new-heading and new-content dialogs: widgets bound to a NewItemForm.
class NewItemDialog : public QDialog {
    Q_OBJECT
  public:
    // `help` opens a topic of the program's help file; without it the help button is off.
    NewItemDialog(QWidget* parent, project::Workspace& ws, contents::ItemKind kind,
                  std::function<void(int topic)> help = {});

    contents::NewItemForm& form() { return form_; }

    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void sync();

    contents::NewItemForm form_;
    QLineEdit* title_ = nullptr;
    QLineEdit* page_ = nullptr;
    QComboBox* anchor_ = nullptr;
    QComboBox* icon_ = nullptr;
    QPushButton* autoNew_ = nullptr;
    QPushButton* fileOpen_ = nullptr;
    QPushButton* searchAnchor_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool syncing_ = false;
};

// TbAddHeader / TbAddContent: runs the dialog, then adds the item (a new page is written from
// the project's page settings). Returns the new node, or null when cancelled.
project::TreeNode* runAddItemDialog(QWidget* parent, project::Workspace& ws,
                                    contents::ItemKind kind,
                                    const std::function<void(int)>& help = {});

}  // namespace tarnbook::shell
