#include "viewer/IndexOrder.h"

#include <algorithm>
#include <string>

#include "webexport/SearchIndex.h"

namespace tarnbook::viewer {

namespace {

std::u32string sortKey(const std::string& keyword) {
    std::u32string key = webexport::normalizeForSearch(keyword);
    for (char32_t& c : key)
        if (c >= U'\u30A1' && c <= U'\u30F6') c -= 0x60;  // katakana sorts with hiragana
    return key;
}

struct Group {
    std::u32string key;
    std::size_t first = 0, count = 0;  // a keyword and its sub-keywords in `index`
};

}  // namespace

void sortIndexForDisplay(std::vector<IndexItem>& index) {
    std::vector<Group> groups;
    for (std::size_t i = 0; i < index.size(); ++i) {
        if (index[i].level == 0 || groups.empty())
            groups.push_back({sortKey(index[i].keyword), i, 0});
        ++groups.back().count;
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.key < b.key; });
    std::vector<IndexItem> sorted;
    sorted.reserve(index.size());
    for (const Group& g : groups)
        for (std::size_t i = g.first; i < g.first + g.count; ++i)
            sorted.push_back(std::move(index[i]));
    index = std::move(sorted);
}

}  // namespace tarnbook::viewer
