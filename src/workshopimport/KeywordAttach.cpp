#include "workshopimport/KeywordAttach.h"

#include "compile/SitemapWriter.h"
#include "platform/Cp932.h"
#include "workshopimport/LocalPath.h"

namespace tarnbook::workshopimport {

namespace {

std::string exactKey(const std::string& page, const std::string& anchor) {
    return pageKey(page) + '#' + anchor;
}

// One keyword as the fields hold it: a name with a comma is quoted so the list splits right
// (the index writer drops the quotes again); quotes and line breaks of its own cannot stay.
std::u16string keywordItem(std::string_view cp932) {
    std::u16string k;
    for (char16_t c : platform::decodeCp932(cp932)) {
        if (c == u'"') continue;
        k += c == u'\r' || c == u'\n' ? u' ' : c;
    }
    if (k.find(u',') != std::u16string::npos) k = u"\"" + k + u"\"";
    return k;
}

void appendUnique(std::u16string& field, const std::u16string& item) {
    if (item.empty()) return;
    for (const std::u16string& existing : compile::splitKeywordText(field))
        if (existing == item) return;
    if (!field.empty()) field += u',';
    field += item;
}

class Attacher {
  public:
    Attacher(sitemap::TextForm form, const KeywordTargets& targets, SjisFit& fit)
        : form_(form), targets_(targets), fit_(fit) {}

    void topLevel(const sitemap::Entry& e) {
        const std::u16string keyword = nameOf(e);
        for (project::TreeNode* node : nodesOf(e)) appendUnique(node->data.KeyWord, keyword);
        for (const sitemap::Entry& child : e.children) nested(child, keyword);
    }

    KeywordResult result;

  private:
    void nested(const sitemap::Entry& e, const std::u16string& keyword) {
        const std::u16string sub = nameOf(e);
        for (project::TreeNode* node : nodesOf(e)) {
            appendUnique(node->data.KeyWord, keyword);
            appendUnique(node->data.SubKeyWord, sub);
        }
        for (const sitemap::Entry& child : e.children) nested(child, keyword);
    }

    std::u16string nameOf(const sitemap::Entry& e) {
        const std::string* name = e.value("Name");
        return name ? keywordItem(fit_.toCp932(*name, form_)) : std::u16string();
    }

    std::vector<project::TreeNode*> nodesOf(const sitemap::Entry& e) {
        std::vector<project::TreeNode*> nodes;
        if (!e.value("Name")) return nodes;
        for (const std::string& local : e.values("Local")) {
            const LocalTarget t = classifyLocal(fit_.toCp932(local, form_));
            if (t.kind == LocalTarget::Kind::None) continue;
            project::TreeNode* node = targets_.find(t.page, t.anchor);
            if (!node) {
                ++result.unmatched;
                continue;
            }
            ++result.attached;
            nodes.push_back(node);
        }
        return nodes;
    }

    sitemap::TextForm form_;
    const KeywordTargets& targets_;
    SjisFit& fit_;
};

}  // namespace

void KeywordTargets::add(project::TreeNode* node, const std::string& page,
                         const std::string& anchor) {
    exact_.emplace(exactKey(page, anchor), node);
    byPage_.emplace(pageKey(page), node);
}

project::TreeNode* KeywordTargets::find(const std::string& page, const std::string& anchor) const {
    if (auto it = exact_.find(exactKey(page, anchor)); it != exact_.end()) return it->second;
    if (auto it = byPage_.find(pageKey(page)); it != byPage_.end()) return it->second;
    return nullptr;
}

KeywordResult attachKeywords(const sitemap::Sitemap& index, sitemap::TextForm form,
                             const KeywordTargets& targets, SjisFit& fit) {
    Attacher a(form, targets, fit);
    for (const sitemap::Entry& e : index.entries) a.topLevel(e);
    return a.result;
}

}  // namespace tarnbook::workshopimport
