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

  private:
    std::unordered_map<std::string, project::TreeNode*> exact_;
    std::unordered_map<std::string, project::TreeNode*> byPage_;
};

struct KeywordResult {
    std::size_t attached = 0;   // index targets that found their node
    std::size_t unmatched = 0;  // index targets that point at no imported node
};

KeywordResult attachKeywords(const sitemap::Sitemap& index, sitemap::TextForm form,
                             const KeywordTargets& targets, SjisFit& fit);

}  // namespace tarnbook::workshopimport
