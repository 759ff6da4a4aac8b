#include "folderimport/PageFilters.h"

#include "authoring/SjisConvert.h"
#include "platform/Files.h"

namespace tarnbook::folderimport {
namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Only ASCII letters change, so offsets in the copy are offsets in the line.
std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = asciiLower(c);
    return out;
}

bool contains(const std::string& loweredLine, std::string_view loweredNeedle) {
    return loweredLine.find(loweredNeedle) != std::string::npos;
}

// Inserts `prefix` before every occurrence of `needle` (matched ignoring case) and, when
// `suffix` is given, after it. True when something was inserted.
bool markOccurrences(std::string& line, std::string_view needle, std::string_view prefix,
                     std::string_view suffix) {
    if (needle.empty()) return false;
    const std::string low = lowered(line);
    const std::string lowNeedle = lowered(needle);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = low.find(lowNeedle); at != std::string::npos;
         at = low.find(lowNeedle, at + lowNeedle.size())) {
        out.append(line, from, at - from);
        out += prefix;
        out.append(line, at, lowNeedle.size());
        out += suffix;
        from = at + lowNeedle.size();
    }
    if (from == 0) return false;
    out.append(line, from, std::string::npos);
    line = std::move(out);
    return true;
}

}  // namespace

bool disableScriptsInLine(std::string& line) {
    bool changed = false;
    const std::string low = lowered(line);
    if (contains(low, "<script") && contains(low, ".js"))
        changed |= markOccurrences(line, ".js", "", "s");
    if (contains(low, "<a")) {
        // "onmouseout" is not a part of "onmouseover", so the two never mark each other.
        if (contains(low, "onmouseover")) changed |= markOccurrences(line, "onmouseover", "_", "");
        if (contains(low, "onmouseout")) changed |= markOccurrences(line, "onmouseout", "_", "");
    }
    return changed;
}

bool neutraliseUrlsInLine(std::string& line, const std::vector<std::string>& urls) {
    const std::string low = lowered(line);
    if (!contains(low, "<a") && !contains(low, "<img")) return false;
    bool changed = false;
    for (const std::string& url : urls) changed |= markOccurrences(line, url, "_", "");
    return changed;
}

std::optional<std::string> convertPage(std::string_view pagePath, const PageConversions& c) {
    if (!c.any()) return std::nullopt;
    std::vector<std::string> lines;
    if (c.toSjis) {
        // The converter also rewrites a declared EUC-JP charset; it hands back a temporary file.
        const std::string temp = authoring::convertPageToSjis(pagePath, true);
        const std::optional<std::string> bytes = platform::tryReadFile(temp);
        platform::deleteFile(temp);
        lines = platform::splitLines(bytes ? *bytes : platform::readFile(pagePath));
    } else {
        lines = platform::readLines(pagePath);
    }
    for (std::string& line : lines) {
        if (c.killScripts) disableScriptsInLine(line);
        if (!c.urlFilters.empty()) neutraliseUrlsInLine(line, c.urlFilters);
    }
    return platform::joinLinesCrLf(lines);
}

}  // namespace tarnbook::folderimport
