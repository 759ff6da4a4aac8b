#pragma once
#include <map>
#include <string>
#include <vector>

// The navigation the export generates: the contents tree as the side bar's data (toc.js),
// the index page built from the keywords, the search page, and the start page.
namespace tarnbook::webexport {

// One contents node. Texts are UTF-8; urls are relative to the site root, except external
// ones (web-link nodes), which are absolute.
struct NavNode {
    std::string title;
    std::string url;  // empty: a heading without a page, or a page that is missing
    bool external = false;
    std::vector<NavNode> children;
};

struct NavTopic {
    std::string title;
    std::string url;  // relative to the site root
    bool operator<(const NavTopic& o) const {
        return url < o.url || (url == o.url && title < o.title);
    }
    bool operator==(const NavTopic& o) const { return url == o.url && title == o.title; }
};

// A keyword of the index with its topics and the sub-keywords under it.
struct IndexEntry {
    std::vector<NavTopic> topics;
    std::map<std::string, std::vector<NavTopic>> subEntries;
};
using KeywordIndex = std::map<std::string, IndexEntry>;

struct SiteInfo {
    std::string title;      // UTF-8
    std::string startPage;  // relative to the site root
    bool userStyleSheet = false;
};

// window.TARNBOOK_SITE = {"title":..,"start":..,"nodes":[{"t":..,"u":..,"x":1,"c":[..]}]};
std::string tocScript(const SiteInfo& site, const std::vector<NavNode>& nodes);

// The pages in "_tarnbook/" (the root prefix "../" leads back to the site).
std::string keywordsPage(const SiteInfo& site, const KeywordIndex& index);
std::string contentsPage(const SiteInfo& site, const std::vector<NavNode>& nodes);
std::string searchPage(const SiteInfo& site);
// The site's index.html: sends the reader to the start page.
std::string startPage(const SiteInfo& site);

}  // namespace tarnbook::webexport
