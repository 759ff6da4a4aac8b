#include "webexport/SitePlan.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "webexport/ControlObjects.h"
#include "webexport/HtmlScanner.h"
#include "webexport/PageCharset.h"
#include "webexport/PageRewriter.h"

namespace tarnbook::webexport {
namespace {

std::string pageTitle(const std::vector<HtmlToken>& tokens, std::string_view html) {
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (tokens[i].kind != HtmlToken::Kind::StartTag || tokens[i].name != "title") continue;
        if (tokens[i + 1].kind != HtmlToken::Kind::Text) return {};
        std::string t = decodeEntities(
            html.substr(tokens[i + 1].begin, tokens[i + 1].end - tokens[i + 1].begin));
        std::string out;
        bool blank = true;
        for (char c : t) {
            const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
            if (space && blank) continue;
            out += space ? ' ' : c;
            blank = space;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    }
    return {};
}

// The deepest folder holding both native folders ("/a/b" and "/a/c/d" give "/a").
std::string commonFolder(const std::string& a, const std::string& b) {
    const std::string x = a + "/", y = b + "/";
    std::size_t shared = 0;
    for (std::size_t i = 0; i < x.size() && i < y.size() && x[i] == y[i]; ++i)
        if (x[i] == '/') shared = i;
    return shared == 0 ? std::string("/") : x.substr(0, shared);
}

}  // namespace

FileKind fileKindOf(std::string_view path) {
    const std::string ext = asciiLower(platform::extensionPart(path));
    if (ext == ".htm" || ext == ".html" || ext == ".xhtml" || ext == ".shtml" || ext == ".hta")
        return FileKind::Page;
    if (ext == ".css") return FileKind::StyleSheet;
    return FileKind::Other;
}

std::optional<std::size_t> SitePlan::addProjectFile(const std::string& path) {
    const auto index = add(path);
    if (!index) return index;
    if (roots_.empty())
        roots_.push_back(normalizeFilePath(platform::nativePath(context_.projectFolder).str()));
    const std::string folder = platform::folderPart(files_[*index].native);
    if (!mayLinkTo(folder + "/")) roots_.push_back(folder);
    return index;
}

std::optional<std::size_t> SitePlan::find(const std::string& path) const {
    const std::string normal = normalizeFilePath(path);
    if (normal.empty() || !platform::fileExists(normal)) return std::nullopt;
    auto it = byNative_.find(normalizeFilePath(platform::nativePath(normal).str()));
    if (it == byNative_.end()) return std::nullopt;
    return it->second;
}

bool SitePlan::mayLinkTo(const std::string& native) const {
    for (const std::string& root : roots_)
        if (native.size() > root.size() && native.compare(0, root.size(), root) == 0 &&
            (root == "/" || native[root.size()] == '/'))
            return true;
    return false;
}

std::optional<std::size_t> SitePlan::add(const std::string& path) {
    const std::string normal = normalizeFilePath(path);
    if (normal.empty() || !platform::fileExists(normal)) return std::nullopt;
    const std::string native = normalizeFilePath(platform::nativePath(normal).str());
    if (auto it = byNative_.find(native); it != byNative_.end()) return it->second;
    SiteFile f;
    f.source = platform::corePath(platform::NativePath(native));
    f.native = native;
    f.kind = fileKindOf(native);
    files_.push_back(std::move(f));
    byNative_.emplace(native, files_.size() - 1);
    return files_.size() - 1;
}

std::optional<std::pair<std::size_t, std::string>> SitePlan::target(std::size_t from,
                                                                    std::string_view url) const {
    auto link = resolveLink(url, files_[from].source, context_);
    if (!link) return std::nullopt;
    const std::string native = normalizeFilePath(platform::nativePath(link->file).str());
    auto it = byNative_.find(native);
    if (it == byNative_.end()) return std::nullopt;
    return std::make_pair(it->second, link->suffix);
}

void SitePlan::crawl(std::vector<std::string>& warnings, std::size_t& brokenLinks) {
    for (; crawled_ < files_.size(); ++crawled_) {
        const std::size_t i = crawled_;
        if (files_[i].kind == FileKind::Other) continue;
        const auto bytes = platform::tryReadFile(files_[i].source);
        if (!bytes) {
            warnings.push_back(platform::cp932ToUtf8(files_[i].source) + ": 読み込めません");
            continue;
        }
        std::vector<std::string> refs;
        if (files_[i].kind == FileKind::Page) {
            const std::string html = decodePage(*bytes).utf8;
            const auto tokens = scanHtml(html);
            files_[i].title = pageTitle(tokens, html);
            for (const ControlObject& o : findControlObjects(tokens, html)) {
                if (o.kind != ControlKind::Keywords) continue;
                files_[i].aLinkNames.insert(files_[i].aLinkNames.end(), o.aLinkNames.begin(),
                                            o.aLinkNames.end());
                files_[i].keywords.insert(files_[i].keywords.end(), o.keywords.begin(),
                                          o.keywords.end());
            }
            refs = pageReferences(html);
        } else {
            refs = cssUrls(decodeStyleSheet(*bytes).utf8);
        }
        for (const std::string& url : refs) {
            const UrlKind kind = classifyUrl(url);
            if (kind != UrlKind::Local && kind != UrlKind::HelpStore) continue;
            if (auto link = resolveLink(url, files_[i].source, context_)) {
                if (mayLinkTo(normalizeFilePath(platform::nativePath(link->file).str())))
                    add(link->file);
                else
                    warnings.push_back(platform::cp932ToUtf8(files_[i].source) +
                                       ": プロジェクトの外のファイルなので出力しません: " + url);
                continue;
            }
            std::string helpFile, inside;
            if (kind == UrlKind::HelpStore && splitHelpStoreUrl(url, &helpFile, &inside)) {
                const std::string name = asciiLower(platform::fileNamePart(helpFile));
                bool own = name.empty();
                for (const auto& h : context_.ownHelpFiles) own = own || h == name;
                if (!own) {
                    warnings.push_back(
                        platform::cp932ToUtf8(files_[i].source) +
                        ": 他のヘルプファイルへのリンクはそのまま残しました: " + url);
                    continue;
                }
            }
            ++brokenLinks;
            warnings.push_back(platform::cp932ToUtf8(files_[i].source) +
                               ": リンク先が見つかりません: " + url);
        }
    }
}

void SitePlan::assignOutputPaths(const std::string& resourceFolder) {
    std::string root = normalizeFilePath(platform::nativePath(resourceFolder).str());
    for (const SiteFile& f : files_) root = commonFolder(root, platform::folderPart(f.native));
    const std::size_t skip = root == "/" ? 1 : root.size() + 1;
    for (SiteFile& f : files_) f.out = f.native.substr(skip);
}

}  // namespace tarnbook::webexport
