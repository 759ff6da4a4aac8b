#include "workshopimport/LocalPath.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"

namespace tarnbook::workshopimport {

namespace {

// "http:", "ms-its:", "mk:@MSITStore:" ...; a single letter before ':' is a drive.
bool hasScheme(std::string_view value) {
    std::size_t colon = value.find(':');
    if (colon == std::string_view::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        char c = value[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                  (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok) return false;
    }
    return true;
}

bool isDrivePath(std::string_view value) {
    return value.size() >= 2 && value[1] == ':' &&
           ((value[0] >= 'a' && value[0] <= 'z') || (value[0] >= 'A' && value[0] <= 'Z'));
}

void splitAnchor(std::string_view value, LocalTarget& t) {
    std::size_t hash = platform::findSjis(value, "#");
    t.page = std::string(value.substr(0, hash));
    if (hash != std::string_view::npos) t.anchor = std::string(value.substr(hash + 1));
}

}  // namespace

LocalTarget classifyLocal(std::string_view value) {
    LocalTarget t;
    std::size_t start = 0;
    while (start < value.size() && (value[start] == ' ' || value[start] == '\t')) ++start;
    value.remove_prefix(start);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    if (value.empty()) return t;
    if (hasScheme(value)) {
        t.kind = LocalTarget::Kind::Address;
        splitAnchor(value, t);
        return t;
    }
    splitAnchor(value, t);
    if (isDrivePath(value) || value.starts_with("\\\\") || value.starts_with("//")) {
        t.kind = LocalTarget::Kind::Outside;
        return t;
    }
    std::string page = platform::backslashSeparators(t.page);
    std::size_t lead = 0;
    while (lead < page.size() && page[lead] == '\\') ++lead;
    bool escapes = false;
    t.page = platform::normalizeRelative(std::string_view(page).substr(lead), &escapes);
    t.kind = escapes ? LocalTarget::Kind::Outside : LocalTarget::Kind::Page;
    if (t.page.empty()) t.kind = LocalTarget::Kind::None;
    return t;
}

std::string pageKey(std::string_view page) {
    return platform::upperCaseSjis(platform::backslashSeparators(page));
}

}  // namespace tarnbook::workshopimport
