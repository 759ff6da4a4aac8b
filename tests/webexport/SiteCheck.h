#pragma once
#include <string>
#include <vector>

namespace tarnbook::testing {

// What a link checker finds in an exported site (native paths, relative to its folder).
struct SiteCheck {
    std::vector<std::string> pages;        // every .htm/.html file
    std::vector<std::string> brokenLinks;  // "page: url" of local links naming no file
    std::vector<std::string> tocUrls;      // the local urls of the side bar's data
};

// Reads every page of the site and follows each local href/src exactly as written (letter
// case and percent-encoding included), as a web server on a case-sensitive system would.
SiteCheck checkSite(const std::string& folder);

std::string readText(const std::string& path);

}  // namespace tarnbook::testing
