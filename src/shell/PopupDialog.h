#pragma once
#include <QDialog>
#include <functional>
#include <optional>

#include "contents/ItemForms.h"

class QLineEdit;
class QPlainTextEdit;

namespace tarnbook::shell {

// The popup-text dialog: the text to click, the popup text and its font.
class PopupDialog : public QDialog {
    Q_OBJECT
  public:
    PopupDialog(QWidget* parent, contents::PopupForm preset,
                std::function<void(int topic)> help = {});

    const contents::PopupForm& form() const { return form_; }

  private:
    contents::PopupForm form_;
    QLineEdit* call_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

// Shows the dialog with the preset fields; the filled fields on OK, nothing on Cancel.
std::optional<contents::PopupForm> runPopupDialog(QWidget* parent, contents::PopupForm preset = {});

}  // namespace tarnbook::shell
