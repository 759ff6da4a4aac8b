#pragma once
#include <QWebEnginePage>

// The page of the help viewer: it navigates only within the help; web and mail links go to
// the desktop's programs when the reader clicks them, anything else (file:, scripts opening
// windows) is refused.
namespace tarnbook::shell {

class ViewerPage : public QWebEnginePage {
    Q_OBJECT
  public:
    ViewerPage(QWebEngineProfile* profile, QObject* parent);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
};

}  // namespace tarnbook::shell
