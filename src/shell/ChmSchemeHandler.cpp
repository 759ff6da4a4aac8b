#include "shell/ChmSchemeHandler.h"

#include <QBuffer>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "shell/QtText.h"
#include "viewer/EntryTypes.h"

namespace tarnbook::shell {

namespace {

constexpr char kItsScheme[] = "ms-its";
constexpr char kStoreScheme[] = "mk";

QString bookHost(std::size_t book) {
    return QStringLiteral("book%1").arg(book);
}

}  // namespace

void registerChmSchemes() {
    QWebEngineUrlScheme chm(kChmScheme);
    chm.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Cors lets a page's scripts read pages of its own help (same origin) as they would on
    // the web; nothing beyond the scheme is reachable that way.
    chm.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(chm);
    for (const char* name : {kItsScheme, kStoreScheme}) {
        QWebEngineUrlScheme s(name);
        s.setSyntax(QWebEngineUrlScheme::Syntax::Path);
        s.setFlags(QWebEngineUrlScheme::SecureScheme);
        QWebEngineUrlScheme::registerScheme(s);
    }
}

QUrl chmUrl(const viewer::HelpTarget& target) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kChmScheme));
    url.setHost(bookHost(target.book));
    url.setPath(QLatin1Char('/') + fromUtf8(target.path));
    if (!target.fragment.empty()) url.setFragment(fromUtf8(target.fragment));
    return url;
}

std::optional<viewer::HelpTarget> chmTarget(const QUrl& url) {
    if (url.scheme() != QLatin1String(kChmScheme)) return std::nullopt;
    const QString host = url.host();
    if (!host.startsWith(QLatin1String("book"))) return std::nullopt;
    bool ok = false;
    const uint book = host.mid(4).toUInt(&ok);
    if (!ok) return std::nullopt;
    viewer::HelpTarget t;
    t.book = book;
    t.path = viewer::normalizeEntryPath(url.path(QUrl::FullyDecoded).toStdString());
    t.fragment = url.fragment(QUrl::FullyDecoded).toStdString();
    return t;
}

ChmSchemeHandler::ChmSchemeHandler(viewer::HelpLibrary& library, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), library_(library) {}

void ChmSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (url.scheme() != QLatin1String(kChmScheme)) {
        // ms-its:file.chm::/page.htm and mk:@MSITStore:C:\dir\file.chm::/page.htm: the
        // library resolves the file among the opened help's siblings.
        const std::string link = (url.scheme() + QLatin1Char(':') + url.path()).toStdString();
        auto target = library_.resolve(link, {});
        if (!target || !library_.exists(*target)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        job->redirect(chmUrl(*target));
        return;
    }
    const auto target = chmTarget(url);
    const auto bytes = target ? library_.read(target->book, target->path) : std::nullopt;
    if (!bytes) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    const bool html = viewer::isHtmlEntry(target->path);
    auto* buffer = new QBuffer(job);
    buffer->setData(html ? QByteArray::fromStdString(
                               viewer::pageForView(*bytes, library_.languageId(target->book)))
                         : QByteArray::fromStdString(*bytes));
    buffer->open(QIODevice::ReadOnly);
    job->reply(QByteArray::fromStdString(viewer::mimeTypeOf(target->path)), buffer);
}

void ChmRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QString scheme = info.requestUrl().scheme();
    const bool allowed = scheme == QLatin1String(kChmScheme) ||
                         scheme == QLatin1String(kItsScheme) ||
                         scheme == QLatin1String(kStoreScheme) || scheme == QLatin1String("data") ||
                         scheme == QLatin1String("blob") || scheme == QLatin1String("about");
    if (!allowed) info.block(true);
}

}  // namespace tarnbook::shell
