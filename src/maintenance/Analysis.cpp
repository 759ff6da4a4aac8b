#include "maintenance/Analysis.h"

#include <unordered_map>
#include <unordered_set>

#include "authoring/ResourceRegistry.h"
#include "maintenance/HtmlReferences.h"
#include "maintenance/ResourceFiles.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::maintenance {
namespace {

std::string key(std::string_view relative) {
    return platform::lowerCaseSjis(platform::backslashSeparators(relative));
}

// The part of an added-resource entry below the resource folder; nullopt for one outside it.
std::optional<std::string> belowResourceFolder(std::string_view entry) {
    const std::string stored = platform::backslashSeparators(entry);
    const std::string upper = platform::upperCaseSjis(stored);
    constexpr std::string_view marker = "_RESOURCE\\";
    const std::size_t at = platform::findSjis(upper, marker);
    if (at == std::string::npos || (at > 0 && upper[at - 1] != '\\')) return std::nullopt;
    return stored.substr(at + marker.size());
}

bool isStyleSheet(std::string_view path) {
    return platform::lowerCaseSjis(platform::extensionPart(path)) == ".css";
}

class Analyzer {
  public:
    Analyzer(const AnalysisInput& input, const AnalysisProgress& progress)
        : in_(input), progress_(progress) {}

    std::optional<AnalysisResult> run() {
        if (!collect() || !findUnused() || !makeDistinct()) return std::nullopt;
        return std::move(out_);
    }

  private:
    bool report(Phase phase, std::size_t done, std::size_t total) {
        return !progress_ || progress_(phase, done, total);
    }

    std::string fullPath(std::string_view relative) const {
        return platform::joinPath(in_.resourceFolder, platform::slashSeparators(relative));
    }

    bool existsInResourceFolder(const std::string& relative) {
        const std::string k = key(relative);
        auto it = exists_.find(k);
        if (it != exists_.end()) return it->second;
        bool found = false;
        for (const std::string& form : {relative, percentDecoded(relative)}) {
            const std::string full = fullPath(form);
            if (platform::fileExists(full) || platform::folderExists(full)) found = true;
        }
        exists_.emplace(k, found);
        return found;
    }

    void add(Origin origin, std::string from, std::size_t line, std::string value,
             ReferenceTarget target) {
        Reference r{origin, std::move(from), line, std::move(value), std::move(target), false};
        const ReferenceTarget& t = r.target;
        if (!t.ignored && t.kind != ReferenceKind::External && !t.outside) {
            used_.insert(key(t.path));
            used_.insert(key(percentDecoded(t.path)));
            r.missing = !existsInResourceFolder(t.path);
            if (!r.missing && (t.kind == ReferenceKind::Page || isStyleSheet(t.path)))
                queuePage(t.path);
        }
        out_.references.push_back(std::move(r));
    }

    void queuePage(const std::string& relative) {
        if (queued_.insert(key(relative)).second) pages_.push_back(relative);
    }

    void scanPage(const std::string& relative) {
        std::string full = fullPath(relative);
        if (!platform::fileExists(full)) full = fullPath(percentDecoded(relative));
        if (!platform::fileExists(full)) return;  // a folder named like a page
        const std::string text = platform::readFile(full);
        const std::string folder = platform::folderPart(relative);
        out_.scannedPages.push_back(relative);
        // A style sheet's url() values are relative to the sheet itself.
        for (HtmlReference& h : isStyleSheet(relative) ? cssReferences(text) : htmlReferences(text))
            add(Origin::Page, relative, h.line, h.value, resolveReference(folder, h.value));
    }

    bool collect() {
        for (const NamedPath& n : in_.nodes)
            add(Origin::ContentsNode, n.name, 0, n.path, resolveReference({}, n.path));
        for (const NamedPath& n : in_.settings)
            add(Origin::ProjectSetting, n.name, 0, n.path, resolveReference({}, n.path));
        for (const std::string& a : in_.addedResources)
            add(Origin::AddedResource, a, 0, a, resolveReference({}, a));
        // Scanning a page may queue more pages; the total grows as they are found.
        for (std::size_t i = 0; i < pages_.size(); ++i) {
            if (!report(Phase::CollectReferences, i, pages_.size())) return false;
            const std::string page = pages_[i];  // copied: scanning appends to pages_
            scanPage(page);
        }
        return report(Phase::CollectReferences, pages_.size(), pages_.size());
    }

    bool findUnused() {
        ResourceListing listing = listResourceFiles(in_.resourceFolder);
        out_.nestedResourceFolder = listing.nestedResourceFolder;
        const std::size_t total = listing.files.size();
        for (std::size_t i = 0; i < total; ++i) {
            if (i % 256 == 0 && !report(Phase::FindUnused, i, total)) return false;
            ResourceFile& f = listing.files[i];
            if (used_.count(key(f.relative))) continue;
            out_.unusedFiles.push_back(std::move(f.path));
            out_.unusedRelative.push_back(std::move(f.relative));
        }
        return report(Phase::FindUnused, total, total);
    }

    bool makeDistinct() {
        std::unordered_set<std::string> seen;
        const std::size_t total = out_.references.size();
        for (std::size_t i = 0; i < total; ++i) {
            if (i % 256 == 0 && !report(Phase::DistinctReferences, i, total)) return false;
            const ReferenceTarget& t = out_.references[i].target;
            if (t.ignored || t.path.empty()) continue;
            const std::string k = t.kind == ReferenceKind::External ? t.path : key(t.path);
            if (seen.insert(platform::lowerCaseSjis(k)).second)
                out_.distinct.push_back({t.path, t.kind});
        }
        return report(Phase::DistinctReferences, total, total);
    }

    const AnalysisInput& in_;
    const AnalysisProgress& progress_;
    AnalysisResult out_;
    std::unordered_set<std::string> used_;    // keys of every local target
    std::unordered_set<std::string> queued_;  // keys of the pages to scan
    std::vector<std::string> pages_;
    std::unordered_map<std::string, bool> exists_;
};

}  // namespace

AnalysisInput projectAnalysisInput(std::string_view projectFolder, const project::ContentTree& tree,
                                   const platform::IniFile& project) {
    AnalysisInput in;
    in.resourceFolder = platform::joinPath(projectFolder, "_RESOURCE");
    tree.forEach([&](project::TreeNode& n) { in.nodes.push_back({n.data.Title, n.data.HTML}); });
    // The help's default page and the style sheet new pages link to.
    for (const char* setting : {"Default", "CSS"})
        if (auto rel = belowResourceFolder(project.readString("XHP", setting)))
            in.settings.push_back({setting, *rel});
    for (const authoring::AdditionEntry& e : authoring::readAdditions(project))
        if (auto rel = belowResourceFolder(e.file)) in.addedResources.push_back(*rel);
    return in;
}

bool AnalysisResult::hasBroken() const {
    for (const Reference& r : references)
        if (r.broken()) return true;
    return false;
}

std::optional<AnalysisResult> analyze(const AnalysisInput& input,
                                      const AnalysisProgress& progress) {
    return Analyzer(input, progress).run();
}

}  // namespace tarnbook::maintenance
