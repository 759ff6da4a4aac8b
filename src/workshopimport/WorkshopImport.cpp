#include "workshopimport/WorkshopImport.h"

#include <algorithm>
#include <memory>
#include <set>

#include "authoring/ResourceRegistry.h"
#include "compile/BuildPaths.h"
#include "hhc/HhpFile.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/LongText.h"
#include "project/ResourcePaths.h"
#include "workshopimport/KeywordAttach.h"
#include "workshopimport/LocalPath.h"
#include "workshopimport/SjisFit.h"
#include "workshopimport/WorkshopFiles.h"

namespace tarnbook::workshopimport {

namespace {

constexpr int kLastIcon = 41;     // the tree's image list holds icons 0 to 41
constexpr int kWebLinkIcon = 12;  // 12 to 15 mark a node whose page is a web address

void report(const ImportOptions& o, int percent) {
    if (o.progress) o.progress(percent);
}

void addWarnings(ImportResult& r, const std::string& file, const sitemap::Sitemap& s) {
    const std::string name = platform::cp932ToUtf8(platform::fileNamePart(file));
    for (const sitemap::Warning& w : s.warnings)
        r.warnings.push_back(name + ":" + std::to_string(w.line) + ": " + w.message);
}

std::string encodingText(const sitemap::EncodingDecision& d) {
    return std::string(sitemap::encodingName(d.encoding)) + " (" +
           std::string(sitemap::basisName(d.basis)) + ")";
}

// ImageNumber is 1-based; the icon index is one less. Values outside the image list are
// ignored rather than stored, so no record points at an icon that does not exist.
int iconOf(const sitemap::Entry& e, ImportResult& r, const std::string& fileName) {
    const std::string* v = e.value("ImageNumber");
    if (!v) return -1;
    long long n = 0;
    if (platform::IniFile::parseInteger(*v, &n) && n >= 1 && n <= kLastIcon + 1)
        return static_cast<int>(n - 1);
    r.warnings.push_back(fileName + ":" + std::to_string(e.line) + ": ImageNumber \"" + *v +
                         "\" は使えないため既定のアイコンにしました");
    return -1;
}

// Builds nodes from the contents tree. Entries without a Name (merge objects, site links of
// other kinds) make no node; their nested entries take their place.
class NodeBuilder {
  public:
    NodeBuilder(const ImportTarget& t, ImportResult& r, SjisFit& fit, sitemap::TextForm form,
                const std::string& fileName)
        : t_(t), r_(r), fit_(fit), form_(form), fileName_(fileName) {}

    void build(const std::vector<sitemap::Entry>& entries, project::TreeNode* parent) {
        for (const sitemap::Entry& e : entries) {
            const std::string* name = e.value("Name");
            if (e.kind != sitemap::EntryKind::Topic || !name) {
                build(e.children, parent);
                continue;
            }
            project::TreeNode* node = make(e, *name, parent);
            build(e.children, node);
        }
    }

    KeywordTargets targets;
    std::vector<std::string> pages;  // pages to copy, relative to the Workshop project
    std::vector<project::TreeNode*> made;

  private:
    // A value that already names a file in this project's resource folder is reduced to the
    // name inside it (and not copied: it is there).
    LocalTarget classify(const std::string& raw) {
        const std::string reduced = project::resourceRelativeName(t_.projectFolder, raw);
        const bool prefixOnly = raw.size() >= 10 &&
                                hhc::equalsNoCase(raw.substr(0, 9), "_RESOURCE") &&
                                (raw[9] == '\\' || raw[9] == '/');
        inOurResources_ = reduced != raw && !prefixOnly;
        return classifyLocal(inOurResources_ ? reduced : raw);
    }

    project::TreeNode* make(const sitemap::Entry& e, const std::string& name,
                            project::TreeNode* parent) {
        auto node = std::make_unique<project::TreeNode>();
        project::TData& d = node->data;
        d.Title = fit_.toCp932(name, form_);
        d.ImageIndex = iconOf(e, r_, fileName_);
        const std::string* local = e.value("Local");
        const LocalTarget target = classify(local ? fit_.toCp932(*local, form_) : std::string());
        switch (target.kind) {
            case LocalTarget::Kind::None:
                break;
            case LocalTarget::Kind::Address:
                d.HTML = target.page;
                d.Anchor = target.anchor;
                d.ImageIndex = kWebLinkIcon;  // else the build would look for it in the folder
                break;
            case LocalTarget::Kind::Outside:
                d.HTML = target.page;
                d.Anchor = target.anchor;
                r_.warnings.push_back(fileName_ + ":" + std::to_string(e.line) + ": " +
                                      platform::cp932ToUtf8(target.page) +
                                      " はプロジェクトのフォルダーの外を指しています");
                break;
            case LocalTarget::Kind::Page:
                d.HTML = project::resourceRelativeName(t_.projectFolder, target.page);
                d.Anchor = target.anchor;
                if (d.HTML == target.page && !inOurResources_) pages.push_back(target.page);
                break;
        }
        // Icons 12 to 15 would make a page of the project a web address.
        if (target.kind != LocalTarget::Kind::Address && d.isWebLink()) d.ImageIndex = -1;
        project::TreeNode* placed = t_.tree.appendChild(parent, std::move(node));
        if (target.kind != LocalTarget::Kind::None) targets.add(placed, target.page, target.anchor);
        made.push_back(placed);
        return placed;
    }

    const ImportTarget& t_;
    ImportResult& r_;
    SjisFit& fit_;
    sitemap::TextForm form_;
    std::string fileName_;
    bool inOurResources_ = false;
};

// Every node of the tree, old ones included: a node with children is a heading, one without
// is a content item; nodes without an icon of their own get the project's style.
void finalPass(project::ContentTree& tree, bool iconStyle1) {
    tree.forEach([&](project::TreeNode& n) {
        tree.willChange(&n);
        project::TData& d = n.data;
        d.ItemType = n.hasChildren() ? project::TData::kHeading : project::TData::kContent;
        if (d.ImageIndex == -1) {
            if (d.isHeading())
                d.ImageIndex = iconStyle1 ? 0 : 4;
            else
                d.ImageIndex = iconStyle1 ? 10 : 8;
        }
        n.syncViewFromData();
    });
    tree.refreshNodeStatus();
}

void collectIndexPages(const std::vector<sitemap::Entry>& entries, sitemap::TextForm form,
                       SjisFit& fit, std::vector<std::string>& pages) {
    for (const sitemap::Entry& e : entries) {
        for (const std::string& local : e.values("Local")) {
            const LocalTarget t = classifyLocal(fit.toCp932(local, form));
            if (t.kind == LocalTarget::Kind::Page) pages.push_back(t.page);
        }
        collectIndexPages(e.children, form, fit, pages);
    }
}

// The record holds a keyword field in two halves of 255 bytes; more is cut when saved.
void checkKeywordRoom(const std::vector<project::TreeNode*>& nodes, ImportResult& r) {
    for (const project::TreeNode* n : nodes) {
        for (const std::u16string* field : {&n->data.KeyWord, &n->data.SubKeyWord}) {
            if (project::splitLongText(*field).second.size() <= 254) continue;
            r.warnings.push_back(platform::cp932ToUtf8(n->data.Title) +
                                 ": キーワードが長すぎるため保存時に切り詰められます");
        }
    }
}

// Copied files that are no node's page become added resources, so the build takes them in;
// index entries of pages that are no node's keep their keyword as the key of such an entry.
// Returns the number of keywords kept that way.
std::size_t registerCopies(const ImportTarget& t, const std::vector<std::string>& copied,
                           const std::vector<UnmatchedTarget>& unmatched,
                           const std::vector<project::TreeNode*>& nodes) {
    std::vector<authoring::AdditionEntry> entries = authoring::readAdditions(t.project);
    std::set<std::pair<std::string, std::string>> known;
    for (const auto& e : entries) known.insert({platform::upperCaseSjis(e.file), e.key});
    std::set<std::string> nodePages;
    for (const project::TreeNode* n : nodes)
        nodePages.insert(platform::upperCaseSjis("_RESOURCE\\" + n->data.HTML));
    const std::size_t before = entries.size();
    auto add = [&](const std::string& rel, const std::string& key) {
        const std::string file = "_RESOURCE\\" + rel;
        const std::string upper = platform::upperCaseSjis(file);
        if (key.empty() && nodePages.count(upper)) return;
        if (known.insert({upper, key}).second) entries.push_back({file, key});
    };
    for (const std::string& rel : copied) add(rel, {});
    std::size_t keywords = 0;
    for (const UnmatchedTarget& u : unmatched) {
        if (u.page.empty() || u.keyword.empty()) continue;
        if (!platform::fileExists(t.projectFolder + "/_RESOURCE/" +
                                  platform::slashSeparators(u.page)))
            continue;
        const std::size_t size = entries.size();
        add(u.page, u.keyword);
        keywords += entries.size() - size;
    }
    if (entries.size() == before) return 0;
    authoring::rewriteAdditions(t.project, entries);
    if (!t.project.path().empty()) t.project.save();
    return keywords;
}

}  // namespace

ImportResult importWorkshopProject(const ImportTarget& target, std::string_view contentsPath,
                                   const ImportOptions& options) {
    ImportResult r;
    SjisFit fit;
    const WorkshopFiles files = findWorkshopFiles(contentsPath);
    std::optional<unsigned> languageId;
    std::vector<std::string> listedFiles;
    if (!files.project.empty()) {
        r.projectFile = platform::cp932ToUtf8(files.project);
        const WorkshopProject hhp = readWorkshopProject(files.project);
        languageId = hhp.languageId;
        listedFiles = hhp.files;
        const std::string title = fit.toCp932(hhc::trimBlanks(hhp.titleText), hhp.form);
        if (!title.empty()) {
            target.project.writeString("XHP", "HelpName", title);
            r.helpName = platform::cp932ToUtf8(title);
        }
        if (!target.project.path().empty()) target.project.save();
    }
    if (!platform::fileExists(files.contents)) return r;
    r.contentsFound = true;
    report(options, 0);

    const LoadedSitemap contents = loadSitemap(files.contents, languageId);
    r.encoding = encodingText(contents.encoding);
    addWarnings(r, files.contents, contents.sitemap);
    report(options, 10);

    const bool iconStyle1 = target.project.readInteger("XHP", "NodeIcon", 0) == 1;
    NodeBuilder builder(target, r, fit, contents.form,
                        platform::cp932ToUtf8(platform::fileNamePart(files.contents)));
    builder.targets.reserve(contents.sitemap.countEntries());
    builder.build(contents.sitemap.entries, nullptr);
    r.nodes = builder.made.size();
    finalPass(target.tree, iconStyle1);
    report(options, 60);

    std::vector<std::string> pages = builder.pages;
    std::vector<UnmatchedTarget> unmatched;
    if (!files.index.empty()) {
        r.indexFile = platform::cp932ToUtf8(files.index);
        const LoadedSitemap index = loadSitemap(files.index, languageId);
        addWarnings(r, files.index, index.sitemap);
        const KeywordResult k = attachKeywords(index.sitemap, index.form, builder.targets, fit);
        r.indexTargetsUnmatched = k.unmatched.size();
        unmatched = k.unmatched;
        for (const project::TreeNode* n : builder.made)
            if (!n->data.KeyWord.empty()) ++r.nodesWithKeywords;
        checkKeywordRoom(builder.made, r);
        if (options.copyResources) collectIndexPages(index.sitemap.entries, index.form, fit, pages);
    }
    report(options, 70);

    if (options.copyResources && options.prompts) {
        for (const std::string& listed : listedFiles) {
            const LocalTarget t = classifyLocal(fit.toCp932(listed, sitemap::TextForm::Cp932));
            if (t.kind == LocalTarget::Kind::Page && t.page.find('*') == std::string::npos &&
                t.page.find('?') == std::string::npos)
                pages.push_back(t.page);
        }
        r.copied = true;
        r.copy = copyResources(
            platform::folderPart(files.contents), target.projectFolder + "/_RESOURCE", pages,
            *options.prompts, [&](std::size_t done, std::size_t known) {
                report(options, 70 + static_cast<int>(30 * done / std::max<std::size_t>(known, 1)));
            });
        r.keywordsAsResources = registerCopies(target, r.copy.copied, unmatched, builder.made);
    }
    r.lostCharacters = fit.lostCount();
    r.lostExamples = fit.examples();
    report(options, 100);
    return r;
}

std::string completionMessage(const ImportResult& r, std::string_view projectFolder) {
    const std::string folder = "[" + platform::cp932ToUtf8(projectFolder) + "\\_RESOURCE\\]";
    std::string text;
    if (!r.copied) {
        text = folder + " へ全てのリソースをコピーして下さい";
    } else {
        text = folder + " へ " + std::to_string(r.copy.copied.size()) +
               " 個のファイルをコピーしました";
        if (r.copy.kept > 0)
            text += "\r上書きせずに残したファイル: " + std::to_string(r.copy.kept) + " 個";
        if (!r.copy.missing.empty())
            text += "\r見つからないファイル: " + std::to_string(r.copy.missing.size()) +
                    " 個 (例: " + platform::cp932ToUtf8(r.copy.missing.front()) + ")";
    }
    if (r.lostCharacters > 0) {
        text += "\rShift_JIS で表せない文字が " + std::to_string(r.lostCharacters) +
                " 個あり、文字参照 (&#...;) にしました。例:";
        for (const std::string& e : r.lostExamples) text += "\r  " + e;
    }
    return text;
}

}  // namespace tarnbook::workshopimport
