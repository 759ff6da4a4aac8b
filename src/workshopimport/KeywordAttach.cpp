#include "workshopimport/KeywordAttach.h"

#include "compile/SitemapWriter.h"
#include "platform/Cp932.h"
#include "workshopimport/LocalPath.h"

namespace tarnbook::workshopimport {

namespace {

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
                if (t.kind == LocalTarget::Kind::Page)
                    result.unmatched.push_back({t.page, fit_.toCp932(*e.value("Name"), form_)});
                else
                    result.unmatched.push_back({});
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
    Page& p = byPage_[pageKey(page)];
    if (!p.first) p.first = node;
    for (const auto& known : p.anchors)
        if (known.first == anchor) return;
    p.anchors.emplace_back(anchor, node);
}

project::TreeNode* KeywordTargets::find(const std::string& page, const std::string& anchor) const {
    const auto it = byPage_.find(pageKey(page));
    if (it == byPage_.end()) return nullptr;
    for (const auto& [known, node] : it->second.anchors)
        if (known == anchor) return node;
    return it->second.first;
}

KeywordResult attachKeywords(const sitemap::Sitemap& index, sitemap::TextForm form,
                             const KeywordTargets& targets, SjisFit& fit) {
    Attacher a(form, targets, fit);
    for (const sitemap::Entry& e : index.entries) a.topLevel(e);
    return a.result;
}

}  // namespace tarnbook::workshopimport
