#include "hhc/IndexKeywords.h"

#include "webexport/ControlObjects.h"
#include "webexport/HtmlScanner.h"

namespace tarnbook::hhc {

namespace {

void collect(const std::vector<sitemap::Entry>& entries, const std::string& parent,
             std::uint16_t depth, const TopicOf& topicOf, std::vector<chm::IndexKeyword>* out) {
    for (const auto& e : entries) {
        if (e.kind != sitemap::EntryKind::Topic) continue;
        const std::string* name = e.value("Name");
        if (!name || name->empty()) {
            // A nameless entry has nothing to show; its children still count.
            collect(e.children, parent, depth, topicOf, out);
            continue;
        }
        chm::IndexKeyword k;
        k.text = parent.empty() ? *name : parent + ", " + *name;
        k.lastPartAt = parent.empty() ? 0 : parent.size() + 2;
        k.depth = depth;
        for (const auto& local : e.values("Local"))
            if (auto topic = topicOf(local)) k.topics.push_back(*topic);
        if (const std::string* seeAlso = e.value("See Also")) k.seeAlso = *seeAlso;
        const std::string text = k.text;
        out->push_back(std::move(k));
        collect(e.children, text, static_cast<std::uint16_t>(depth + 1), topicOf, out);
    }
}

}  // namespace

std::vector<chm::IndexKeyword> sitemapKeywords(const sitemap::Sitemap& index,
                                               const TopicOf& topicOf) {
    std::vector<chm::IndexKeyword> out;
    collect(index.entries, "", 0, topicOf, &out);
    return out;
}

PageKeywords pageKeywords(std::string_view html) {
    PageKeywords out;
    for (auto& object : webexport::findControlObjects(webexport::scanHtml(html), html)) {
        if (object.kind != webexport::ControlKind::Keywords) continue;
        for (auto& k : object.keywords) out.keywords.push_back(std::move(k));
        for (auto& a : object.aLinkNames) out.aLinkNames.push_back(std::move(a));
    }
    return out;
}

}  // namespace tarnbook::hhc
