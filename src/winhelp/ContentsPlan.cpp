#include "winhelp/ContentsPlan.h"

#include <algorithm>
#include <map>

#include "platform/Cp932.h"

namespace tarnbook::winhelp {

namespace platform = tarnbook::platform;

std::u16string topicTitle(const Topic& topic, std::size_t index) {
    if (!topic.title.empty()) return topic.title;
    if (!topic.contextIds.empty()) return platform::decodeCp932(topic.contextIds.front());
    return u"Topic " + platform::utf8ToUtf16(std::to_string(index + 1));
}

namespace {

PlannedNode topicNode(const std::vector<Topic>& topics, std::size_t i, int level) {
    PlannedNode n;
    n.level = level;
    n.title = topicTitle(topics[i], i);
    n.topic = static_cast<int>(i);
    if (!topics[i].contextIds.empty()) n.contextId = topics[i].contextIds.front();
    return n;
}

void fromCnt(ContentsPlan& plan, const std::vector<Topic>& topics, const CntFile& cnt,
             const std::function<int(const std::string&)>& findTopic,
             const std::function<std::u16string(const std::string&)>& decode) {
    int lastLevel = -1;
    for (const CntEntry& e : cnt.entries) {
        const std::string what = platform::cp932ToUtf8(e.title);
        if (e.macro) {
            plan.warnings.push_back("contents entry \"" + what + "\" runs a macro; left out");
            continue;
        }
        if (!e.helpFile.empty()) {
            plan.warnings.push_back("contents entry \"" + what + "\" shows a topic of " +
                                    platform::cp932ToUtf8(e.helpFile) + "; left out");
            continue;
        }
        PlannedNode n;
        // A level may rise by one step at most; deeper numbers hang under the last node.
        n.level = std::min(e.level - 1, lastLevel + 1);
        n.title = decode(e.title);
        n.heading = e.book;
        if (!e.book) {
            n.topic = findTopic(e.context);
            if (n.topic < 0) {
                plan.warnings.push_back("contents entry \"" + what + "\" names the unknown topic " +
                                        platform::cp932ToUtf8(e.context));
            } else {
                // One node per page answers to the topic's ID (an alias or a second entry
                // would give the page two aliases, which the build cannot compile).
                const auto t = static_cast<std::size_t>(n.topic);
                if (!plan.topicInContents[t] && !topics[t].contextIds.empty())
                    n.contextId = topics[t].contextIds.front();
                plan.topicInContents[t] = true;
            }
        }
        lastLevel = n.level;
        plan.nodes.push_back(std::move(n));
    }
}

// "+" footnotes: "name:order", "order" (the unnamed sequence) or "auto".
struct BrowsePlace {
    std::u16string sequence;
    std::u16string order;
};

BrowsePlace browsePlace(const std::u16string& text) {
    const auto colon = text.find(u':');
    if (colon == std::u16string::npos) return {u"", text};
    return {text.substr(0, colon), text.substr(colon + 1)};
}

void fromBrowseSequences(ContentsPlan& plan, const std::vector<Topic>& topics) {
    std::map<std::u16string, std::vector<std::size_t>> sequences;
    for (std::size_t i = 0; i < topics.size(); ++i)
        if (!topics[i].browse.empty())
            sequences[browsePlace(topics[i].browse).sequence].push_back(i);
    for (auto& [name, members] : sequences) {
        // Numbered members go by their order text; "auto" ones keep the file order (ahead of
        // numbered ones when a sequence mixes both).
        auto key = [&](std::size_t t) {
            auto order = browsePlace(topics[t].browse).order;
            return order == u"auto" ? std::u16string() : order;
        };
        std::stable_sort(members.begin(), members.end(),
                         [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    }
    std::map<std::u16string, bool> placed;
    for (std::size_t i = 0; i < topics.size(); ++i) {
        if (topics[i].browse.empty()) {
            plan.nodes.push_back(topicNode(topics, i, 0));
            plan.topicInContents[i] = true;
            continue;
        }
        const std::u16string name = browsePlace(topics[i].browse).sequence;
        if (placed[name]) continue;
        placed[name] = true;
        int level = 0;
        if (!name.empty()) {
            PlannedNode h;
            h.heading = true;
            h.title = name;
            plan.nodes.push_back(std::move(h));
            level = 1;
        }
        for (std::size_t member : sequences[name]) {
            plan.nodes.push_back(topicNode(topics, member, level));
            plan.topicInContents[member] = true;
        }
    }
}

}  // namespace

ContentsPlan planContents(const std::vector<Topic>& topics, const CntFile* cnt,
                          const std::function<int(const std::string&)>& findTopic,
                          const std::function<std::u16string(const std::string&)>& decode) {
    ContentsPlan plan;
    plan.topicInContents.assign(topics.size(), false);
    if (cnt && !cnt->entries.empty()) {
        fromCnt(plan, topics, *cnt, findTopic, decode);
        return plan;
    }
    const bool browse =
        std::any_of(topics.begin(), topics.end(), [](const Topic& t) { return !t.browse.empty(); });
    if (browse) {
        fromBrowseSequences(plan, topics);
        return plan;
    }
    for (std::size_t i = 0; i < topics.size(); ++i) {
        plan.nodes.push_back(topicNode(topics, i, 0));
        plan.topicInContents[i] = true;
    }
    return plan;
}

}  // namespace tarnbook::winhelp
