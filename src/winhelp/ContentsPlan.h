#pragma once
#include <functional>
#include <string>
#include <vector>

#include "winhelp/CntFile.h"
#include "winhelp/RtfTopics.h"

// Which contents nodes a converted help gets: the .cnt's books and topics when there is one,
// else the browse sequences, else every topic in file order.
namespace tarnbook::winhelp {

struct PlannedNode {
    int level = 0;  // 0 = top level
    bool heading = false;
    std::u16string title;
    int topic = -1;         // index into the topics, -1 for a heading without a page
    std::string contextId;  // the ID the node answers to (CP932)
};

struct ContentsPlan {
    std::vector<PlannedNode> nodes;
    std::vector<bool> topicInContents;  // per topic: some node shows it
    std::vector<std::string> warnings;  // UTF-8
};

// `findTopic` gives the topic a context ID (or alias) names, or -1. `decode` turns the
// contents file's bytes into text.
ContentsPlan planContents(const std::vector<Topic>& topics, const CntFile* cnt,
                          const std::function<int(const std::string&)>& findTopic,
                          const std::function<std::u16string(const std::string&)>& decode);

// The title a topic shows when nothing else names it.
std::u16string topicTitle(const Topic& topic, std::size_t index);

}  // namespace tarnbook::winhelp
