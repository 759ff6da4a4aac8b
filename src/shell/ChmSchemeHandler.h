#pragma once
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>
#include <optional>

#include "viewer/HelpLibrary.h"

// The page view's only way into a compiled help: "tarnbook-chm://bookN/path" is served from
// the library in memory; the help's own "ms-its:" and "mk:@MSITStore:" links are turned into
// that form. Nothing else (file:, the network) may be loaded by a page.
namespace tarnbook::shell {

inline constexpr char kChmScheme[] = "tarnbook-chm";

// Registers the schemes with the web engine; must run before the QApplication exists.
void registerChmSchemes();

// The URL of a page of the library, and the page a URL of ours names.
QUrl chmUrl(const viewer::HelpTarget& target);
std::optional<viewer::HelpTarget> chmTarget(const QUrl& url);

class ChmSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
  public:
    ChmSchemeHandler(viewer::HelpLibrary& library, QObject* parent);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

  private:
    viewer::HelpLibrary& library_;
};

// Refuses every request that is not for a help page or inline data: a script of a hostile
// help can reach neither local files nor the network.
class ChmRequestGuard : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
  public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

}  // namespace tarnbook::shell
