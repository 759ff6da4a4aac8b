#include "webexport/SiteLinks.h"

#include <algorithm>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "webexport/HtmlScanner.h"
#include "webexport/PageCharset.h"

namespace tarnbook::webexport {
namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && asciiLower(s.substr(0, prefix.size())) == prefix;
}

// Length of the help-store prefix ("ms-its:", ...), or 0.
std::size_t helpStorePrefix(std::string_view url) {
    for (std::string_view p : {"ms-its:", "mk:@msitstore:", "its:"})
        if (startsWithNoCase(url, p)) return p.size();
    return 0;
}

// Splits "path?query#fragment" into the path and the rest.
void splitSuffix(std::string_view url, std::string* path, std::string* suffix) {
    const std::size_t cut = url.find_first_of("?#");
    *path = std::string(url.substr(0, cut));
    *suffix = cut == std::string_view::npos ? std::string() : std::string(url.substr(cut));
}

// A URL path (UTF-8 or, for bytes that are not, the page's own bytes) as a core path.
std::string corePathOf(std::string_view urlPath) {
    const std::string bytes = decodePercent(urlPath);
    return isValidUtf8(bytes) ? platform::utf8ToCp932(bytes) : bytes;
}

std::optional<ResolvedLink> existing(const std::string& path, std::string suffix) {
    const std::string normal = normalizeFilePath(platform::slashSeparators(path));
    if (normal.empty() || !platform::fileExists(normal)) return std::nullopt;
    const std::string native = normalizeFilePath(platform::nativePath(normal).str());
    return ResolvedLink{platform::corePath(platform::NativePath(native)), std::move(suffix)};
}

// "C:\..." or "c:/...": a drive of the author's machine.
bool isDrivePath(std::string_view path) {
    return path.size() >= 3 &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

}  // namespace

UrlKind classifyUrl(std::string_view url) {
    url = trimmed(url);
    if (url.empty()) return UrlKind::Empty;
    if (url.front() == '#') return UrlKind::Fragment;
    if (helpStorePrefix(url)) return UrlKind::HelpStore;
    if (startsWithNoCase(url, "javascript:")) return UrlKind::Script;
    // A scheme is letters, digits, '+', '-', '.' before the first ':'; a one-letter one is a
    // Windows drive, a local path.
    const std::size_t colon = url.find(':');
    const std::size_t slash = url.find_first_of("/\\?#");
    if (colon != std::string_view::npos && (slash == std::string_view::npos || colon < slash)) {
        bool scheme = colon > 1;
        for (std::size_t i = 0; i < colon; ++i) {
            const char c = url[i];
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '+' || c == '-' || c == '.'))
                scheme = false;
        }
        if (scheme) return UrlKind::External;
    }
    return UrlKind::Local;
}

bool splitHelpStoreUrl(std::string_view url, std::string* helpFile, std::string* path) {
    url = trimmed(url);
    const std::size_t prefix = helpStorePrefix(url);
    const std::size_t sep = url.find("::", prefix);
    if (sep == std::string_view::npos) return false;
    *helpFile = std::string(url.substr(prefix, sep - prefix));
    *path = std::string(url.substr(sep + 2));
    return true;
}

std::optional<ResolvedLink> resolveLink(std::string_view url, std::string_view pageFile,
                                        const LinkContext& context) {
    url = trimmed(url);
    std::string path, suffix;
    switch (classifyUrl(url)) {
        case UrlKind::Local: {
            splitSuffix(url, &path, &suffix);
            if (path.empty()) return std::nullopt;
            const std::string core = corePathOf(path);
            std::optional<ResolvedLink> found;
            if (isDrivePath(core)) {
                // A Windows path: only its place in a resource folder means anything here.
            } else if (core[0] == '/' || core[0] == '\\') {  // the root of the compiled help
                found = existing(platform::joinPath(context.projectFolder, core.substr(1)), suffix);
            } else {
                found = existing(platform::joinPath(platform::folderPart(pageFile), core), suffix);
            }
            if (found) return found;
            // Related-topic items name pages by their full path in the author's resource
            // folder, which may have been anywhere.
            const std::string folded = asciiLower(platform::slashSeparators(core));
            const std::size_t at = folded.rfind("/_resource/");
            if (at == std::string::npos) return std::nullopt;
            return existing(
                platform::joinPath(context.projectFolder,
                                   "_RESOURCE/" + platform::slashSeparators(core).substr(at + 11)),
                suffix);
        }
        case UrlKind::HelpStore: {
            std::string helpFile, inside;
            if (!splitHelpStoreUrl(url, &helpFile, &inside)) return std::nullopt;
            const std::string name = asciiLower(platform::fileNamePart(helpFile));
            if (!name.empty() && std::find(context.ownHelpFiles.begin(), context.ownHelpFiles.end(),
                                           name) == context.ownHelpFiles.end())
                return std::nullopt;
            splitSuffix(inside, &path, &suffix);
            std::string core = corePathOf(path);
            while (!core.empty() && (core[0] == '/' || core[0] == '\\')) core.erase(0, 1);
            if (core.empty()) return std::nullopt;
            return existing(platform::joinPath(context.projectFolder, core), suffix);
        }
        default:
            return std::nullopt;
    }
}

std::string normalizeFilePath(std::string_view path) {
    bool escapes = false;
    return platform::normalizeRelative(platform::slashSeparators(path), &escapes);
}

std::string relativeUrl(std::string_view from, std::string_view to) {
    std::size_t common = 0;  // length of the shared folder prefix, up to a '/'
    for (std::size_t i = 0; i < from.size() && i < to.size() && from[i] == to[i]; ++i)
        if (from[i] == '/') common = i + 1;
    std::string out;
    for (std::size_t i = common; i < from.size(); ++i)
        if (from[i] == '/') out += "../";
    out += to.substr(common);
    return encodeUrlPath(out);
}

std::string encodeUrlPath(std::string_view utf8Path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : utf8Path) {
        if (c <= ' ' || c == '%' || c == '#' || c == '?' || c == '"' || c == '\'' || c == '<' ||
            c == '>' || c == '\\' || c == 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string decodePercent(std::string_view text) {
    auto value = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && value(text[i + 1]) >= 0 &&
            value(text[i + 2]) >= 0) {
            out += static_cast<char>(value(text[i + 1]) * 16 + value(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace tarnbook::webexport
