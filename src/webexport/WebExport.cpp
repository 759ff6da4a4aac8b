#include "webexport/WebExport.h"

#include <algorithm>
#include <optional>

#include "authoring/ResourceRegistry.h"
#include "compile/BuildPaths.h"
#include "compile/SitemapWriter.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "webexport/HtmlScanner.h"
#include "webexport/PageCharset.h"
#include "webexport/PageRewriter.h"
#include "webexport/SearchIndex.h"
#include "webexport/SiteAssets.h"
#include "webexport/SiteNavigation.h"
#include "webexport/SitePlan.h"

namespace tarnbook::webexport {
namespace {

constexpr std::string_view kSiteFolder = "_tarnbook";

bool within(const std::string& path, const std::string& folder) {
    return path == folder ||
           (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            (folder == "/" || path[folder.size()] == '/'));
}

std::string nativeOf(const std::string& core) {
    return normalizeFilePath(platform::nativePath(core).str());
}

// A keyword as the index shows it: without the quotes that kept its commas together and
// without the blanks around it.
std::string keywordText(const std::u16string& k) {
    std::u16string plain = k;
    plain.erase(std::remove(plain.begin(), plain.end(), u'"'), plain.end());
    const std::size_t first = plain.find_first_not_of(u" \t\u3000");
    if (first == std::u16string::npos) return {};
    plain = plain.substr(first, plain.find_last_not_of(u" \t\u3000") - first + 1);
    return platform::utf16ToUtf8(plain);
}

void addTopic(std::vector<NavTopic>& list, NavTopic topic) {
    if (std::find(list.begin(), list.end(), topic) == list.end()) list.push_back(std::move(topic));
}

std::string withoutCharsetRule(std::string css) {
    if (css.rfind("@charset", 0) == 0) {
        const std::size_t semi = css.find(';');
        if (semi != std::string::npos) css.erase(0, semi + 1);
    }
    return css;
}

// Everything the export learns about the project before it writes.
struct Export {
    const WebExportSource& source;
    const WebExportSettings& settings;
    const WebExportProgress& progress;
    std::string outputNative;
    std::string resourceFolder;
    SitePlan plan;
    WebExportResult result;
    SiteInfo site;
    std::vector<NavNode> nav;
    KeywordIndex index;
    std::map<std::string, std::vector<NavTopic>> aLinks;
    std::map<std::string, std::vector<NavTopic>> kLinks;
    SearchIndexBuilder search;
    std::size_t done = 0;
    std::size_t total = 0;

    static LinkContext linkContext(const WebExportSource& s) {
        LinkContext c;
        c.projectFolder = s.projectFolder;
        c.ownHelpFiles.push_back(
            asciiLower(s.project.readString("XHP", "FileName", "Default.chm")));
        c.ownHelpFiles.push_back(asciiLower(s.project.readString("XHP", "Name") + ".chm"));
        return c;
    }

    Export(const WebExportSource& s, const WebExportSettings& st, const WebExportProgress& p)
        : source(s), settings(st), progress(p), plan(linkContext(s)) {}

    std::string inProject(const std::string& stored) const {
        std::string path = stored.substr(0, stored.find('#'));
        return platform::isAbsolutePath(path) ? path
                                              : platform::joinPath(source.projectFolder, path);
    }

    std::string urlOf(std::size_t file, const std::string& anchor) const {
        std::string url = encodeUrlPath(plan.file(file).out);
        if (!anchor.empty()) url += "#" + encodeUrlPath(platform::cp932ToUtf8(anchor));
        return url;
    }

    std::string titleOf(std::size_t file, const std::string& fallback) const {
        const std::string& t = plan.file(file).title;
        return t.empty() ? fallback : t;
    }

    // Pass 1: the pages the contents name, then every file they lead to.
    std::vector<std::optional<std::size_t>> collect() {
        std::vector<std::optional<std::size_t>> nodeFiles;
        for (const project::TreeNode* node : source.tree.preorder()) {
            const project::TData& d = node->data;
            std::optional<std::size_t> file;
            const bool external =
                d.isWebLink() || classifyUrl(platform::cp932ToUtf8(d.HTML)) == UrlKind::External;
            if (!external && !d.HTML.empty()) {
                file = plan.addProjectFile(platform::isAbsolutePath(d.HTML)
                                               ? d.HTML
                                               : platform::joinPath(resourceFolder, d.HTML));
                if (!file)
                    result.warnings.push_back(
                        "目次「" + platform::cp932ToUtf8(d.Title) +
                        "」のページが見つかりません: " + platform::cp932ToUtf8(d.HTML));
            }
            nodeFiles.push_back(file);
        }
        for (const char* key : {"Default", "URL", "JUMP1", "JUMP2"}) {
            const std::string v = source.project.readString("XHP", key);
            if (!v.empty() && classifyUrl(platform::cp932ToUtf8(v)) != UrlKind::External)
                plan.addProjectFile(inProject(v));
        }
        for (const auto& a : authoring::readAdditions(source.project))
            plan.addProjectFile(inProject(a.file));
        plan.crawl(result.warnings, result.brokenLinks);
        plan.assignOutputPaths(resourceFolder);
        return nodeFiles;
    }

    // The contents as side-bar nodes, and the keywords of each node.
    void buildNavigation(const std::vector<std::optional<std::size_t>>& nodeFiles) {
        const auto nodes = source.tree.preorder();
        std::vector<std::pair<const project::TreeNode*, NavNode*>> open;  // the path to here
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const project::TreeNode* node = nodes[i];
            const project::TData& d = node->data;
            NavNode n;
            n.title = platform::cp932ToUtf8(d.Title);
            if (nodeFiles[i]) {
                n.url = urlOf(*nodeFiles[i], d.Anchor);
            } else if (!d.HTML.empty() && (d.isWebLink() || classifyUrl(platform::cp932ToUtf8(
                                                                d.HTML)) == UrlKind::External)) {
                n.url = platform::cp932ToUtf8(d.HTML);
                n.external = true;
            }
            while (!open.empty() && open.back().first != node->parent()) open.pop_back();
            std::vector<NavNode>& siblings = open.empty() ? nav : open.back().second->children;
            siblings.push_back(std::move(n));
            open.emplace_back(node, &siblings.back());

            if (!nodeFiles[i] || d.KeyWord.empty()) continue;
            const NavTopic topic{titleOf(*nodeFiles[i], platform::cp932ToUtf8(d.Title)),
                                 urlOf(*nodeFiles[i], d.Anchor)};
            const auto subs = compile::splitKeywordText(d.SubKeyWord);
            for (const auto& k : compile::splitKeywordText(d.KeyWord)) {
                const std::string keyword = keywordText(k);
                if (keyword.empty()) continue;
                IndexEntry& entry = index[keyword];
                addTopic(entry.topics, topic);
                for (const auto& s : subs) addTopic(entry.subEntries[keywordText(s)], topic);
                addTopic(kLinks[asciiLower(keyword)], topic);
            }
        }
        for (const auto& a : authoring::readAdditions(source.project)) {
            if (a.key.empty()) continue;
            const auto file = plan.find(inProject(a.file));
            if (!file || plan.file(*file).out.empty()) continue;
            const NavTopic topic{titleOf(*file, platform::cp932ToUtf8(a.key)), urlOf(*file, {})};
            const std::string keyword = platform::cp932ToUtf8(a.key);
            addTopic(index[keyword].topics, topic);
            addTopic(kLinks[asciiLower(keyword)], topic);
        }
        for (std::size_t f = 0; f < plan.files().size(); ++f) {
            const SiteFile& file = plan.file(f);
            const NavTopic topic{titleOf(f, platform::fileNamePart(file.out)), urlOf(f, {})};
            for (const auto& k : file.keywords) {
                addTopic(index[k].topics, topic);
                addTopic(kLinks[asciiLower(k)], topic);
            }
            for (const auto& k : file.aLinkNames) addTopic(aLinks[k], topic);
        }
    }

    std::string outputPath(std::string_view relative) const {
        return platform::corePath(platform::NativePath(outputNative + "/" + std::string(relative)));
    }

    void write(std::string_view relative, std::string_view bytes) {
        const std::string path = outputPath(relative);
        platform::createFolders(platform::folderPart(path));
        platform::writeFileAtomic(path, bytes, platform::Durability::Unsynced);
        step();
    }

    void step() {
        ++done;
        if (progress) progress(done, total);
    }

    std::optional<std::string> linkFrom(std::size_t from, std::string_view url) const {
        const UrlKind kind = classifyUrl(url);
        if (kind != UrlKind::Local && kind != UrlKind::HelpStore) return std::nullopt;
        const auto target = plan.target(from, url);
        if (!target) {
            // A file that exists but was kept out of the site: no link that leads nowhere.
            if (resolveLink(url, plan.file(from).source, plan.context())) return std::string();
            return std::nullopt;
        }
        std::string rel = relativeUrl(plan.file(from).out, plan.file(target->first).out);
        return rel + target->second;
    }

    void writePage(std::size_t f) {
        const SiteFile& file = plan.file(f);
        const DecodedPage page = decodePage(platform::readFile(file.source));
        if (page.replacedBytes > 0)
            result.warnings.push_back(file.out + ": " + page.charset + " として読めないバイトが " +
                                      std::to_string(page.replacedBytes) + " 個あります");
        PageContext context;
        for (char c : file.out)
            if (c == '/') context.rootPrefix += "../";
        context.userStyleSheet = site.userStyleSheet;
        context.rewriteUrl = [&](std::string_view url) { return linkFrom(f, url); };
        context.keywordTopics = [&](bool alink, std::string_view keyword) {
            std::vector<TopicLink> out;
            const auto& map = alink ? aLinks : kLinks;
            auto it = map.find(alink ? std::string(keyword) : asciiLower(keyword));
            if (it == map.end()) return out;
            for (const NavTopic& t : it->second)
                if (t.url.substr(0, t.url.find('#')) != encodeUrlPath(file.out))
                    out.push_back({t.title, context.rootPrefix + t.url});
            return out;
        };
        RewrittenPage rewritten = rewritePage(page.utf8, context);
        for (const auto& note : rewritten.notes) result.warnings.push_back(file.out + ": " + note);
        write(file.out, rewritten.html);
        search.add({encodeUrlPath(file.out), titleOf(f, platform::fileNamePart(file.out)),
                    visibleText(page.utf8)});
        ++result.pages;
    }

    void writeFiles() {
        for (std::size_t f = 0; f < plan.files().size(); ++f) {
            const SiteFile& file = plan.file(f);
            if (file.kind == FileKind::Page) {
                writePage(f);
            } else if (file.kind == FileKind::StyleSheet) {
                const std::string css =
                    withoutCharsetRule(decodeStyleSheet(platform::readFile(file.source)).utf8);
                write(file.out,
                      rewriteCssUrls(css, [&](std::string_view url) { return linkFrom(f, url); }));
                ++result.files;
            } else {
                const std::string to = outputPath(file.out);
                platform::createFolders(platform::folderPart(to));
                std::string reason;
                if (!platform::copyFile(file.source, to, false, platform::Durability::Synced,
                                        &reason))
                    throw platform::IoError(reason);
                step();
                ++result.files;
            }
        }
    }

    void writeSiteFiles() {
        const std::string folder(kSiteFolder);
        write(folder + "/site.css", siteStyleSheet());
        write(folder + "/site.js", siteScript());
        if (site.userStyleSheet)
            write(
                folder + "/custom.css",
                withoutCharsetRule(decodeStyleSheet(platform::readFile(settings.styleSheet)).utf8));
        write(folder + "/toc.js", tocScript(site, nav));
        const std::string json = search.toJson();
        write(folder + "/search-index.json", json);
        write(folder + "/search-index.js", "window.TARNBOOK_SEARCH = " + json + ";\n");
        write(folder + "/keywords.html", keywordsPage(site, index));
        write(folder + "/contents.html", contentsPage(site, nav));
        write(folder + "/search.html", searchPage(site));
        const bool indexTaken =
            std::any_of(plan.files().begin(), plan.files().end(),
                        [](const SiteFile& f) { return f.out == "index.html"; });
        if (!indexTaken) write("index.html", startPage(site));  // else a page of the project is it
        result.startFile = outputPath("index.html");
    }

    std::string startUrl(const std::vector<std::optional<std::size_t>>& nodeFiles) {
        const std::string def = source.project.readString("XHP", "Default");
        if (!def.empty()) {
            const auto f = plan.find(inProject(def));
            if (f && !plan.file(*f).out.empty()) return urlOf(*f, {});
        }
        for (const auto& f : nodeFiles)
            if (f) return urlOf(*f, {});
        return std::string(kSiteFolder) + "/contents.html";
    }

    WebExportResult run() {
        resourceFolder = platform::joinPath(source.projectFolder, "_RESOURCE");
        const auto nodeFiles = collect();
        site.title = platform::cp932ToUtf8(settings.title);
        if (site.title.empty())
            site.title = platform::cp932ToUtf8(source.project.readString(
                "XHP", "HelpName", source.project.readString("XHP", "Name")));
        site.startPage = startUrl(nodeFiles);
        site.userStyleSheet = !settings.styleSheet.empty();
        buildNavigation(nodeFiles);
        total = plan.files().size() + 10;
        writeFiles();
        writeSiteFiles();
        if (progress) progress(total, total);
        return std::move(result);
    }
};

}  // namespace

std::string checkOutputFolder(const std::string& projectFolder, const std::string& outputFolder) {
    if (outputFolder.empty()) return "出力フォルダを指定してください。";
    if (!platform::isAbsolutePath(outputFolder))
        return "出力フォルダは絶対パスで指定してください。";
    const std::string out = nativeOf(outputFolder);
    const std::string project = nativeOf(projectFolder);
    if (platform::fileExists(outputFolder)) return "出力フォルダと同じ名前のファイルがあります。";
    if (within(project, out))
        return "プロジェクトフォルダ、またはそれを含むフォルダには出力できません。";
    if (within(out, nativeOf(platform::joinPath(projectFolder, "_RESOURCE"))))
        return "リソースフォルダの中には出力できません。";
    return {};
}

WebExportResult exportWebSite(const WebExportSource& source, const WebExportSettings& settings,
                              const WebExportProgress& progress) {
    const std::string problem = checkOutputFolder(source.projectFolder, settings.outputFolder);
    if (!problem.empty()) throw WebExportError(problem);
    if (!settings.styleSheet.empty() && !platform::fileExists(settings.styleSheet))
        throw WebExportError("スタイルシート " + platform::cp932ToUtf8(settings.styleSheet) +
                             " が見つかりません。");
    if (!platform::createFolders(settings.outputFolder))
        throw WebExportError("出力フォルダ " + platform::cp932ToUtf8(settings.outputFolder) +
                             " を作成できません。");
    Export e(source, settings, progress);
    e.outputNative = nativeOf(settings.outputFolder);
    return e.run();
}

}  // namespace tarnbook::webexport
