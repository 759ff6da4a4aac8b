#include "shell/ViewerPage.h"

#include <QDesktopServices>
#include <QWebEngineSettings>

#include "shell/ChmSchemeHandler.h"

namespace tarnbook::shell {

ViewerPage::ViewerPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    QWebEngineSettings* s = settings();
    // Pages that declare no charset are Shift_JIS, as the help compiler's users wrote them.
    s->setDefaultTextEncoding(QStringLiteral("Shift_JIS"));
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    s->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
}

bool ViewerPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool) {
    const QString scheme = url.scheme();
    if (scheme == QLatin1String(kChmScheme) || scheme == QLatin1String("ms-its") ||
        scheme == QLatin1String("mk") || scheme == QLatin1String("about") ||
        scheme == QLatin1String("data"))
        return true;
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                     scheme == QLatin1String("mailto");
    // Only a reader's click leaves the help; a script or a redirect does not.
    if (web && type == NavigationTypeLinkClicked) QDesktopServices::openUrl(url);
    return false;
}

QWebEnginePage* ViewerPage::createWindow(WebWindowType) {
    // Links with a target open in the one page view.
    return this;
}

}  // namespace tarnbook::shell
