#include "shell/WebPreview.h"

#include <QDragEnterEvent>
#include <QWebEngineHistory>
#include <QWebEngineSettings>

#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "shell/QtText.h"

namespace tarnbook::shell {

WebPreview::WebPreview(QWidget* parent) : QWebEngineView(parent) {
    setAcceptDrops(false);
    settings()->setDefaultTextEncoding(QStringLiteral("Shift_JIS"));
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    connect(this, &QWebEngineView::loadFinished, this, [this](bool) {
        loaded_ = true;
        setTextSize(textSize_);
    });
}

QUrl WebPreview::urlFor(const std::string& target) {
    if (target == "about:blank") return QUrl(QStringLiteral("about:blank"));
    std::string path = target;
    std::string anchor;
    // The anchor follows the last '#' after the file name.
    const std::size_t hash = path.rfind('#');
    const std::size_t sep = platform::lastSeparator(path);
    if (hash != std::string::npos && (sep == std::string::npos || hash > sep)) {
        anchor = path.substr(hash + 1);
        path.resize(hash);
    }
    QUrl url = QUrl::fromLocalFile(nativeText(path));
    if (!anchor.empty()) url.setFragment(QString::fromStdString(platform::cp932ToUtf8(anchor)));
    return url;
}

void WebPreview::show(const std::string& target) {
    lastTarget_ = target;
    load(urlFor(target));
}

bool WebPreview::canGoBack() const {
    return history()->canGoBack();
}

bool WebPreview::canGoForward() const {
    return history()->canGoForward();
}

void WebPreview::setTextSize(int size) {
    if (size < 1 || size > 4) return;
    textSize_ = size;
    // 1-4 as the classic smallest..largest text sizes, 3 being the normal one.
    static const double zoom[] = {0.8, 0.9, 1.0, 1.2};
    if (loaded_) setZoomFactor(zoom[size - 1]);
}

void WebPreview::dragEnterEvent(QDragEnterEvent* e) {
    e->ignore();
}

void WebPreview::dropEvent(QDropEvent* e) {
    e->ignore();
}

}  // namespace tarnbook::shell
