#pragma once
#include <QDialog>
#include <functional>

#include "authoring/tags/ButtonTagForms.h"

class QPushButton;

// The dialogs of the HTML Help control buttons, each bound to its form in core. The caller
// owns the form, shows the dialog and, on OK, inserts the form's markup.
namespace tarnbook::shell {

// A dialog with an OK button that follows its form's rule.
class TagFormDialog : public QDialog {
    Q_OBJECT
  public:
    using QDialog::QDialog;

    // Enables OK by the form's rule (after every change of a field).
    void sync();

  protected:
    // Adds OK, Cancel and (with a help topic) Help; OK follows `okEnabled`.
    void addButtons(const std::function<void(int)>& help, int topic,
                    std::function<bool()> okEnabled);

  private:
    QPushButton* ok_ = nullptr;
    std::function<bool()> okEnabled_;
};

// "実行ファイルタグ挿入" (TagExt).
class ShortcutTagDialog : public TagFormDialog {
    Q_OBJECT
  public:
    ShortcutTagDialog(QWidget* parent, authoring::ShortcutForm& form,
                      std::function<void(int topic)> help = {});
};

// "関連トピックタグ挿入" (TagRelated).
class RelatedTopicsDialog : public TagFormDialog {
    Q_OBJECT
  public:
    RelatedTopicsDialog(QWidget* parent, authoring::RelatedTopicsForm& form,
                        std::function<void(int topic)> help = {});
};

// "Aリンク参照タグ挿入" / "Kリンク参照タグ挿入" (TagA, TagK).
class LinkButtonDialog : public TagFormDialog {
    Q_OBJECT
  public:
    LinkButtonDialog(QWidget* parent, authoring::LinkButtonForm& form,
                     std::function<void(int topic)> help = {});
};

// "「閉じる」タグ挿入" / "HHCtrl.ocx バージョンタグ挿入" (ActTagClose, ActTagOCXver).
class HelpButtonDialog : public TagFormDialog {
    Q_OBJECT
  public:
    HelpButtonDialog(QWidget* parent, authoring::HelpButtonForm& form,
                     std::function<void(int topic)> help = {});
};

}  // namespace tarnbook::shell
