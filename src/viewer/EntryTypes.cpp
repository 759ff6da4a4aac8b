#include "viewer/EntryTypes.h"

#include <array>
#include <utility>

#include "platform/Cp932.h"
#include "sitemap/SourceEncoding.h"
#include "webexport/HtmlScanner.h"
#include "webexport/PageCharset.h"

namespace tarnbook::viewer {

namespace {

std::string extensionOf(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return webexport::asciiLower(name.substr(dot + 1));
}

bool hasHighBytes(std::string_view b) {
    for (unsigned char c : b)
        if (c >= 0x80 || c == 0x1B) return true;  // ESC starts ISO-2022-JP shifts
    return false;
}

// After a leading document type line, so that a declaration does not change the page's mode.
std::size_t declarationPlace(std::string_view html) {
    std::size_t i = 0;
    while (i < html.size() &&
           (html[i] == ' ' || html[i] == '\r' || html[i] == '\n' || html[i] == '\t'))
        ++i;
    if (html.substr(i, 2) == "<!") {
        const std::size_t end = html.find('>', i);
        if (end != std::string_view::npos) return end + 1;
    }
    return 0;
}

}  // namespace

std::string mimeTypeOf(std::string_view entryName) {
    static const std::array<std::pair<const char*, const char*>, 22> kTypes{{
        {"htm", "text/html"},       {"html", "text/html"},
        {"css", "text/css"},        {"js", "text/javascript"},
        {"txt", "text/plain"},      {"xml", "text/xml"},
        {"gif", "image/gif"},       {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},     {"png", "image/png"},
        {"bmp", "image/bmp"},       {"ico", "image/x-icon"},
        {"svg", "image/svg+xml"},   {"webp", "image/webp"},
        {"wav", "audio/wav"},       {"mp3", "audio/mpeg"},
        {"mid", "audio/midi"},      {"avi", "video/x-msvideo"},
        {"mp4", "video/mp4"},       {"swf", "application/x-shockwave-flash"},
        {"pdf", "application/pdf"}, {"hhc", "text/html"},
    }};
    const std::string ext = extensionOf(entryName);
    for (const auto& [e, type] : kTypes)
        if (ext == e) return type;
    return "application/octet-stream";
}

bool isHtmlEntry(std::string_view entryName) {
    const std::string ext = extensionOf(entryName);
    return ext == "htm" || ext == "html";
}

static bool hasByteOrderMark(std::string_view page) {
    return page.substr(0, 3) == "\xEF\xBB\xBF" || page.substr(0, 2) == "\xFF\xFE" ||
           page.substr(0, 2) == "\xFE\xFF";
}

std::string pageUtf8(std::string_view page, std::optional<std::uint32_t> languageId) {
    constexpr std::uint32_t kJapanese = 0x11;  // primary language of every Japanese LCID
    const bool japanese = !languageId || (*languageId & 0x3FF) == kJapanese;
    if (japanese || hasByteOrderMark(page) || !webexport::declaredCharset(page).empty() ||
        webexport::isValidUtf8(page))
        return webexport::decodePage(page).utf8;
    const auto decision = sitemap::decideEncoding(page, "", languageId);
    const auto decoded = sitemap::decodeSource(page, decision.encoding);
    return decoded.form == sitemap::TextForm::Cp932 ? platform::cp932ToUtf8(decoded.text)
                                                    : decoded.text;
}

std::string pageForView(std::string_view page, std::optional<std::uint32_t> languageId) {
    if (hasByteOrderMark(page) || !hasHighBytes(page) || !webexport::declaredCharset(page).empty())
        return std::string(page);
    const bool utf8 = webexport::isValidUtf8(page);
    const std::string body = utf8 ? std::string(page) : pageUtf8(page, languageId);
    const std::size_t at = declarationPlace(body);
    return body.substr(0, at) + "<meta charset=\"utf-8\">" + body.substr(at);
}

}  // namespace tarnbook::viewer
