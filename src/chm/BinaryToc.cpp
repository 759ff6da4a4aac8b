#include "chm/BinaryToc.h"

#include <deque>

#include "chm/ByteWriter.h"

namespace tarnbook::chm {

namespace {

constexpr std::uint32_t kHeader = 0x1000;
constexpr std::uint32_t kLeafEntry = 20;
constexpr std::uint32_t kBookEntry = 28;
constexpr std::uint32_t kHasChildren = 0x4;
constexpr std::uint32_t kHasTopic = 0x8;

std::uint32_t entrySize(const TocNode& n) {
    return n.children.empty() ? kLeafEntry : kBookEntry;
}

}  // namespace

TocLayout layoutBinaryToc(const std::vector<TocNode>& top,
                          const std::function<std::uint32_t(const std::string&)>& nameOffset) {
    // First pass: where each sibling list starts, breadth-first.
    struct List {
        const std::vector<TocNode>* nodes;
        std::uint32_t parent;  // entry offset of the parent, 0 for the top level
        std::uint32_t at;
    };
    std::vector<List> lists;
    std::deque<std::size_t> queue;
    std::uint32_t end = kHeader;
    lists.push_back({&top, 0, end});
    queue.push_back(0);
    while (!queue.empty()) {
        const std::size_t l = queue.front();
        queue.pop_front();
        std::uint32_t at = lists[l].at = end;
        for (const auto& n : *lists[l].nodes) {
            if (!n.children.empty()) {
                lists.push_back({&n.children, at, 0});
                queue.push_back(lists.size() - 1);
            }
            at += entrySize(n);
        }
        end = at;
    }

    TocLayout out;
    std::string entries;
    std::size_t childList = 1;  // lists are numbered in the order their parents were laid out
    std::vector<std::uint32_t> topicOrder;
    for (const List& list : lists) {
        std::uint32_t at = list.at;
        for (std::size_t i = 0; i < list.nodes->size(); ++i) {
            const TocNode& n = (*list.nodes)[i];
            const std::uint32_t next = i + 1 < list.nodes->size() ? at + entrySize(n) : 0;
            std::uint32_t flags = n.children.empty() ? 0 : kHasChildren;
            if (n.topic) {
                flags |= kHasTopic;
                if (out.topicEntries.emplace(*n.topic, at).second) topicOrder.push_back(at);
            }
            putU32(entries, 0);
            putU32(entries, flags);
            putU32(entries, n.topic ? *n.topic : nameOffset(n.name));
            putU32(entries, list.parent);
            putU32(entries, next);
            if (!n.children.empty()) {
                putU32(entries, lists[childList++].at);
                putU32(entries, 0);
            }
            at += entrySize(n);
        }
    }

    std::string& b = out.bytes;
    putU32(b, top.empty() ? 0 : kHeader);
    putU32(b, end);  // the table of topic entries follows the entries
    putU32(b, static_cast<std::uint32_t>(topicOrder.size()));
    putU32(b, end);
    b.resize(kHeader, '\0');
    b += entries;
    for (auto at : topicOrder) putU32(b, at);
    return out;
}

}  // namespace tarnbook::chm
