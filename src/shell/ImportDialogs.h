#pragma once
#include <QDialog>

#include "folderimport/FilterForms.h"

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tarnbook::shell {

// "タイトル取得方法の選択": title from the file name (0) or from the page's title element (1).
class TitleSourceDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TitleSourceDialog(QWidget* parent, const std::function<void(int)>& help = {});
    int choice() const;  // 1 when nothing is chosen

  private:
    QButtonGroup* group_;
};

// "インポートフィルタ": folder names to skip and extensions that may be dropped.
class ImportFilterDialog : public QDialog {
    Q_OBJECT
  public:
    ImportFilterDialog(const platform::IniFile& settings, QWidget* parent,
                       const std::function<void(int)>& help = {});
    // The form with the ticks as the lists show them.
    folderimport::ImportFilterForm& form();

  private:
    void fillSkipList();
    folderimport::ImportFilterForm form_;
    QListWidget* skip_;
    QListWidget* drop_;
    QLineEdit* name_;
};

// "URLフィルタ": the texts the address filter neutralises.
class UrlFilterDialog : public QDialog {
    Q_OBJECT
  public:
    UrlFilterDialog(const platform::IniFile& settings, QWidget* parent,
                    const std::function<void(int)>& help = {});
    const folderimport::UrlFilterForm& form() const { return form_; }

  private:
    void fillList();
    folderimport::UrlFilterForm form_;
    QListWidget* list_;
    QLineEdit* text_;
};

}  // namespace tarnbook::shell
