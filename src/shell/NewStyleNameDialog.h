#pragma once
#include <QDialog>
#include <optional>
#include <string>

#include "platform/IniFile.h"

class QLineEdit;

namespace tarnbook::shell {

// "新規スタイル名入力": the name of a new project template.
class NewStyleNameDialog : public QDialog {
    Q_OBJECT
  public:
    NewStyleNameDialog(QWidget* parent, platform::IniFile& settings);

    QLineEdit* nameField() const { return name_; }
    void done(int result) override;

  private:
    platform::IniFile& settings_;
    QLineEdit* name_ = nullptr;
};

// The typed name (CP932), or nullopt when cancelled.
std::optional<std::string> askNewStyleName(QWidget* parent, platform::IniFile& settings);

}  // namespace tarnbook::shell
