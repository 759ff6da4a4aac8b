#pragma once
#include <QGroupBox>
#include <QString>
#include <functional>

#include "authoring/tags/ButtonTagForms.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

// Widgets shared by the tag dialogs: the button style choice and the font button.
namespace tarnbook::shell {

// "ショートカットスタイル": three radio buttons, the button text and the icon with its browse
// button, bound to a ButtonFaceForm. The text goes through `setText` (the link-button dialog
// keeps it as Unicode).
class ButtonFaceBox : public QGroupBox {
    Q_OBJECT
  public:
    ButtonFaceBox(QWidget* parent, authoring::ButtonFaceForm& face, const QString& text,
                  std::function<void(const QString&)> setText);

  signals:
    void changed();

  private:
    void showStyle();

    authoring::ButtonFaceForm& face_;
    QRadioButton* styles_[3] = {};
    QLineEdit* text_ = nullptr;
    QLineEdit* icon_ = nullptr;
    QPushButton* browse_ = nullptr;
};

// A label above a text field; with `browse`, a "参照..." button beside the field.
QLineEdit* addLabelledField(QWidget* parent, QVBoxLayout* layout, const char* label,
                            const char* name, const QString& text, QPushButton** browse = nullptr);

// "フォント変更": opens the font chooser on `font` and keeps name and size on OK.
QPushButton* makeFontButton(QWidget* parent, authoring::TagFont& font);

}  // namespace tarnbook::shell
