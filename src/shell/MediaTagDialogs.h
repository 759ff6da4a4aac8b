#pragma once
#include <QString>
#include <functional>

#include "authoring/tags/MediaForm.h"
#include "authoring/tags/PageLinkForm.h"
#include "authoring/tags/SplashForm.h"
#include "shell/ButtonTagDialogs.h"

class QLineEdit;

// The dialogs of the splash, media, anchor and link commands, each bound to its form in core.
namespace tarnbook::shell {

// "スプラッシュ表示タグ" (ActTagSplash).
class SplashTagDialog : public TagFormDialog {
    Q_OBJECT
  public:
    SplashTagDialog(QWidget* parent, authoring::SplashForm& form,
                    std::function<void(int topic)> help = {});
};

// The sound, Flash and Director dialog.
class MediaTagDialog : public TagFormDialog {
    Q_OBJECT
  public:
    MediaTagDialog(QWidget* parent, authoring::MediaForm& form,
                   std::function<void(int topic)> help = {});
};

// "アンカー参照タグ挿入" (TagHref).
class PageLinkDialog : public TagFormDialog {
    Q_OBJECT
  public:
    PageLinkDialog(QWidget* parent, authoring::PageLinkForm& form,
                   std::function<void(int topic)> help = {});
};

// A one-line name (the keyword objects and the anchor): OK and Cancel, any text.
class TagNameDialog : public QDialog {
    Q_OBJECT
  public:
    TagNameDialog(QWidget* parent, const QString& caption, const QString& label);
    QString name() const;

  private:
    QLineEdit* name_ = nullptr;
};

}  // namespace tarnbook::shell
