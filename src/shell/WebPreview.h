#pragma once
#include <QWebEngineView>

#include "ui/PreviewBrowser.h"

namespace tarnbook::shell {

// The preview. Pages that declare no character set are read as Shift_JIS, as the pages of a
// help project are written.
class WebPreview : public QWebEngineView, public ui::PreviewBrowser {
    Q_OBJECT
  public:
    explicit WebPreview(QWidget* parent = nullptr);

    void show(const std::string& target) override;
    void goBack() override { back(); }
    void goForward() override { forward(); }
    bool canGoBack() const override;
    bool canGoForward() const override;
    void setTextSize(int size) override;

    // The last target shown, as given (tests and the status pane read it).
    const std::string& lastTarget() const { return lastTarget_; }
    static QUrl urlFor(const std::string& target);

  protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

  private:
    std::string lastTarget_;
    bool loaded_ = false;
    int textSize_ = 3;
};

}  // namespace tarnbook::shell
