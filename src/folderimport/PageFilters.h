#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The changes an imported page may go through on its way into the resource folder: disabling
// its scripts and neutralising listed addresses. Matching ignores ASCII letter case, but a
// changed line keeps its own letters; only the inserted text is new.
namespace tarnbook::folderimport {

// A line with "<script" and ".js" refers to ".jss" instead; an anchor line's "onmouseover" and
// "onmouseout" become "_onmouseover" and "_onmouseout". True when the line changed.
bool disableScriptsInLine(std::string& line);

// Puts "_" in front of each occurrence of each listed text, once per occurrence, on lines that
// hold an anchor or an image tag. True when the line changed.
bool neutraliseUrlsInLine(std::string& line, const std::vector<std::string>& urls);

// What to do to an imported HTML page.
struct PageConversions {
    bool toSjis = false;
    bool killScripts = false;
    std::vector<std::string> urlFilters;  // empty: no address filter
    bool any() const { return toSjis || killScripts || !urlFilters.empty(); }
};

// The converted bytes of the page (lines end with CR LF), or nullopt when no conversion is
// chosen and the page is copied as it is. Throws platform::IoError.
std::optional<std::string> convertPage(std::string_view pagePath, const PageConversions& c);

}  // namespace tarnbook::folderimport
