#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The binary contents (#TOCIDX): the contents tree as fixed-size entries, laid out one
// sibling list after another in breadth-first order after a 4 KB header, so that the viewer
// can walk it without parsing the contents file. #TOPICS records each topic's entry here,
// whether or not the file itself is written.
namespace tarnbook::chm {

struct TocNode {
    std::optional<std::uint32_t> topic;  // the #TOPICS number of its page
    std::string name;                    // shown where there is no page
    std::vector<TocNode> children;
};

struct TocLayout {
    std::string bytes;  // the #TOCIDX file
    // The entry of each topic in the contents (its first one, breadth-first).
    std::map<std::uint32_t, std::uint32_t> topicEntries;
};

// `nameOffset` gives the #STRINGS offset of the name of a node without a topic; it is called
// in layout order.
TocLayout layoutBinaryToc(const std::vector<TocNode>& top,
                          const std::function<std::uint32_t(const std::string&)>& nameOffset);

}  // namespace tarnbook::chm
