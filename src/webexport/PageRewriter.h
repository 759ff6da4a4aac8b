#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Turns one page (already UTF-8) into its web form: a UTF-8 charset declaration, the site's
// style sheets and scripts, every resolvable link pointing at the exported file, and the
// HTML Help control objects replaced by working HTML.
namespace tarnbook::webexport {

struct TopicLink {
    std::string title;  // UTF-8
    std::string url;    // relative to the page being written
};

struct PageContext {
    std::string rootPrefix;  // from the page to the site root: "", "../", ...
    bool userStyleSheet = false;
    // The new URL for a link written in the page (entities decoded), or nullopt to keep it;
    // an empty URL takes the attribute away (a file the site does not carry).
    std::function<std::optional<std::string>(std::string_view url)> rewriteUrl;
    // The topics an ALink (alink = true) or KLink keyword leads to.
    std::function<std::vector<TopicLink>(bool alink, std::string_view keyword)> keywordTopics;
};

struct RewrittenPage {
    std::string html;
    std::vector<std::string> notes;  // what had to go, for the export report (UTF-8)
};

RewrittenPage rewritePage(std::string_view html, const PageContext& context);

// Rewrites the url(...) and @import targets of style sheet text.
std::string rewriteCssUrls(
    std::string_view css,
    const std::function<std::optional<std::string>(std::string_view url)>& rewriteUrl);

// The url(...) and @import targets of style sheet text, as written.
std::vector<std::string> cssUrls(std::string_view css);

// The URLs a page refers to (links, pictures, scripts, style sheets, frames, related-topic
// items, style sheet urls), entities decoded, in order.
std::vector<std::string> pageReferences(std::string_view html);

}  // namespace tarnbook::webexport
