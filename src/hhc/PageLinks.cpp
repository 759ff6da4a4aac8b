#include "hhc/PageLinks.h"

#include <cctype>

namespace tarnbook::hhc {

namespace {

bool startsWithNoCase(std::string_view s, std::string_view p) {
    if (s.size() < p.size()) return false;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != p[i]) return false;
    return true;
}

bool isSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::vector<std::string_view> linkValues(std::string_view html) {
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (pos < html.size()) {
        std::size_t attrLen = 0;
        std::size_t at = pos;
        for (; at < html.size(); ++at) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(html[at])));
            if (c == 'h' && startsWithNoCase(html.substr(at), "href")) {
                attrLen = 4;
                break;
            }
            if (c == 's' && startsWithNoCase(html.substr(at), "src")) {
                attrLen = 3;
                break;
            }
        }
        if (at >= html.size()) break;
        // The attribute name must stand alone: preceded by a blank, followed by '='.
        std::size_t i = at + attrLen;
        const bool standsAlone = at > 0 && isSpace(html[at - 1]);
        while (i < html.size() && isSpace(html[i])) ++i;
        if (!standsAlone || i >= html.size() || html[i] != '=') {
            pos = at + attrLen;
            continue;
        }
        ++i;
        while (i < html.size() && isSpace(html[i])) ++i;
        std::size_t start = i, end;
        if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
            const char q = html[i];
            start = i + 1;
            end = html.find(q, start);
            if (end == std::string_view::npos) end = html.size();
        } else {
            end = start;
            while (end < html.size() && !isSpace(html[end]) && html[end] != '>') ++end;
        }
        out.push_back(html.substr(start, end - start));
        pos = end;
    }
    return out;
}

bool isWebAddress(std::string_view value) {
    return value.find("://") != std::string_view::npos || startsWithNoCase(value, "mailto:") ||
           startsWithNoCase(value, "news:");
}

}  // namespace tarnbook::hhc
