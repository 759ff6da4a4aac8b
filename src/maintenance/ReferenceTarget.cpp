#include "maintenance/ReferenceTarget.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"

namespace tarnbook::maintenance {
namespace {

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The scheme of an address ("http" of "http://x"), lower case; "" when the value has none.
// One letter before ':' is a drive, not a scheme.
std::string schemeOf(std::string_view v) {
    if (v.empty() || !isLetter(v[0])) return {};
    std::size_t i = 1;
    while (i < v.size() &&
           (isLetter(v[i]) || isDigit(v[i]) || v[i] == '+' || v[i] == '-' || v[i] == '.'))
        ++i;
    if (i >= v.size() || v[i] != ':' || i < 2) return {};
    return platform::lowerCaseSjis(v.substr(0, i));
}

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

ReferenceKind localKind(std::string_view path) {
    const std::string ext = platform::lowerCaseSjis(platform::extensionPart(path));
    if (ext == ".htm" || ext == ".html" || ext == ".php" || ext == ".asp")
        return ReferenceKind::Page;
    return ReferenceKind::File;
}

std::string percentDecoded(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '%' && i + 2 < path.size() && hexValue(path[i + 1]) >= 0 &&
            hexValue(path[i + 2]) >= 0) {
            const int byte = hexValue(path[i + 1]) * 16 + hexValue(path[i + 2]);
            // A decoded NUL or separator would change which file is meant; keep those encoded.
            if (byte != 0 && byte != '/' && byte != '\\') {
                out += static_cast<char>(byte);
                i += 2;
                continue;
            }
        }
        out += path[i];
    }
    return out;
}

ReferenceTarget resolveReference(std::string_view pageFolder, std::string_view value) {
    ReferenceTarget t;
    if (value.empty() || value.front() == '#') {
        t.ignored = true;
        return t;
    }
    const std::string scheme = schemeOf(value);
    if (scheme == "mailto" || scheme == "javascript" || scheme == "vbscript" || scheme == "data" ||
        scheme == "about") {
        t.ignored = true;
        return t;
    }
    if (!scheme.empty() || value.starts_with("//")) {
        t.kind = ReferenceKind::External;
        t.path = std::string(value);
        return t;
    }
    std::string_view local = value.substr(0, value.find_first_of("#?"));
    if (local.empty()) {
        t.ignored = true;
        return t;
    }
    if (local.size() >= 2 && isLetter(local[0]) && local[1] == ':') {
        t.outside = true;
        t.path = platform::backslashSeparators(local);
        t.kind = localKind(t.path);
        return t;
    }
    std::string joined;
    if (isSeparator(local.front())) {
        joined = std::string(local);
    } else {
        joined = std::string(pageFolder);
        if (!joined.empty()) joined += '\\';
        joined += local;
    }
    bool escapes = false;
    std::string relative = platform::backslashSeparators(joined);
    while (!relative.empty() && relative.front() == '\\') relative.erase(0, 1);
    t.path = platform::normalizeRelative(relative, &escapes);
    // normalizeRelative drops a "..", and says so, only when it cannot climb; a kept one leaves.
    t.outside = escapes;
    t.kind = localKind(t.path);
    if (t.path.empty()) t.ignored = true;  // "." or "sub/.." names the folder, not a file
    return t;
}

}  // namespace tarnbook::maintenance
