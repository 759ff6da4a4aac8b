#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "project/ContentTree.h"
#include "sitemap/SitemapReader.h"
#include "workshopimport/SjisFit.h"

// Index keywords for imported nodes, taken in one pass over the index tree. A first-level
// entry gives its name to the KeyWord of every node it points at; an entry nested under it
// (at any depth) gives its name to the SubKeyWord of the nodes it points at, and its
// first-level entry's name to their KeyWord: the shape the index writer produces from the
// two fields.
namespace tarnbook::workshopimport {

class KeywordTargets {
  public:
    // Registers an imported node under its page and anchor (CP932, as stored).
    void add(project::TreeNode* node, const std::string& page, const std::string& anchor);
    // The node for an index target: the one with this page and anchor, else the first one
    // with this page.
    project::TreeNode* find(const std::string& page, const std::string& anchor) const;

    void reserve(std::size_t pages) { byPage_.reserve(pages); }

  private:
    struct Page {
        project::TreeNode* first = nullptr;  // the first node of the page, whatever its anchor
        std::vector<std::pair<std::string, project::TreeNode*>> anchors;  // first per anchor
    };
    std::unordered_map<std::string, Page> byPage_;
};

// An index entry whose page is no imported node's (a popup or a page reached by links).
struct UnmatchedTarget {
    std::string page;     // '\' separators, relative to the Workshop project (CP932)
    std::string keyword;  // the entry's name (CP932)
};

struct KeywordResult {
    std::size_t attached = 0;  // index targets that found their node
    std::vector<UnmatchedTarget> unmatched;
};

KeywordResult attachKeywords(const sitemap::Sitemap& index, sitemap::TextForm form,
                             const KeywordTargets& targets, SjisFit& fit);

}  // namespace tarnbook::workshopimport
