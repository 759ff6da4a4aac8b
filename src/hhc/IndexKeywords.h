#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chm/BinaryIndex.h"
#include "sitemap/SitemapReader.h"

// The keywords of a binary index, from the index file and from the keyword objects of the
// pages, with the topics they lead to.
namespace tarnbook::hhc {

// The #TOPICS number of a "Local" value, or nullopt when it names no stored page.
using TopicOf = std::function<std::optional<std::uint32_t>(const std::string& local)>;

// Every entry of an index file at every depth: its first Name is the keyword (a sub-keyword
// is filed as "parent, child"), its Locals the topics, or its "See Also" a keyword.
std::vector<chm::IndexKeyword> sitemapKeywords(const sitemap::Sitemap& index,
                                               const TopicOf& topicOf);

struct PageKeywords {
    std::vector<std::string> keywords;    // "Keyword" params: the page in the index
    std::vector<std::string> aLinkNames;  // "ALink Name" params: the page for ALinks
};

// The keyword objects of a page (the class that carries index keywords and ALink names).
PageKeywords pageKeywords(std::string_view html);

}  // namespace tarnbook::hhc
