#include "shell/WebPreview.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QWebEngineContextMenuRequest>
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

void WebPreview::contextMenuEvent(QContextMenuEvent* e) {
    // The engine's own menu is English and offers saving and inspecting; the preview offers
    // what an author needs, in Japanese.
    struct Item {
        QWebEnginePage::WebAction action;
        const char* text;
    };
    static const Item items[] = {
        {QWebEnginePage::Back, "戻る(&B)"},
        {QWebEnginePage::Forward, "進む(&F)"},
        {QWebEnginePage::Reload, "最新の情報に更新(&R)"},
        {QWebEnginePage::NoWebAction, nullptr},
        {QWebEnginePage::Copy, "コピー(&C)"},
        {QWebEnginePage::SelectAll, "すべて選択(&A)"},
        {QWebEnginePage::CopyLinkToClipboard, "リンクのアドレスをコピー(&L)"},
    };
    const QWebEngineContextMenuRequest* request = lastContextMenuRequest();
    const bool onLink = request && request->linkUrl().isValid();
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PreviewMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const Item& item : items) {
        if (item.action == QWebEnginePage::NoWebAction) {
            menu->addSeparator();
            continue;
        }
        if (item.action == QWebEnginePage::CopyLinkToClipboard && !onLink) continue;
        QAction* a = pageAction(item.action);
        a->setText(QString::fromUtf8(item.text));
        menu->addAction(a);
    }
    menu->popup(e->globalPos());
}

void WebPreview::dragEnterEvent(QDragEnterEvent* e) {
    e->ignore();
}

void WebPreview::dropEvent(QDropEvent* e) {
    e->ignore();
}

}  // namespace tarnbook::shell
