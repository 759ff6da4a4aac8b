#include "viewer/HelpLibrary.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "sitemap/SitemapReader.h"
#include "sitemap/SourceEncoding.h"
#include "viewer/EntryTypes.h"
#include "viewer/IndexOrder.h"
#include "webexport/HtmlScanner.h"
#include "webexport/PageCharset.h"
#include "webexport/SiteLinks.h"

namespace tarnbook::viewer {

namespace {

constexpr std::size_t kMaxBooks = 32;
constexpr int kMaxMergeDepth = 4;
constexpr int kMaxNesting = 64;  // deeper sitemap lists are shown at this depth
// The search reads every page once; these keep a hostile file from making that endless.
constexpr std::size_t kMaxSearchPageBytes = 16u << 20;
constexpr std::size_t kMaxSearchTotalBytes = 512u << 20;

std::string lowerAscii(std::string_view s) {
    return webexport::asciiLower(s);
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && lowerAscii(s.substr(s.size() - tail.size())) == tail;
}

std::string baseNameOf(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

struct ParsedSitemap {
    sitemap::Sitemap map;
    sitemap::TextForm form;
};

std::string valueUtf8(const std::string& value, sitemap::TextForm form) {
    return form == sitemap::TextForm::Cp932 ? platform::cp932ToUtf8(value) : value;
}

}  // namespace

std::string normalizeEntryPath(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out += '/';
        out += parts[i];
    }
    return out;
}

std::unique_ptr<HelpLibrary> HelpLibrary::open(const std::string& path, std::string* error,
                                               const OpenProgress& progress) {
    std::unique_ptr<HelpLibrary> lib(new HelpLibrary);
    lib->folder_ = platform::folderPart(path);
    std::string why;
    auto archive = ChmArchive::open(path, &why);
    if (!archive) {
        if (error) *error = why;
        return nullptr;
    }
    lib->books_.push_back(
        {lowerAscii(platform::cp932ToUtf8(platform::fileNamePart(path))), std::move(archive), {}});
    const ChmArchive& a = *lib->books_[0].archive;
    auto entry = [&](const char* name) { return a.read(name).value_or(std::string()); };
    const std::string system = entry("/#SYSTEM"), windows = entry("/#WINDOWS"),
                      strings = entry("/#STRINGS"), ivb = entry("/#IVB"),
                      idxhdr = entry("/#IDXHDR");
    lib->info_ = readHelpSystemInfo({system, windows, strings, ivb, idxhdr});
    lib->books_[0].info = lib->info_;
    for (const std::string& merged : lib->info_.mergeFiles)
        lib->bookByFileName(lib->decodeText(0, merged));
    lib->contents_ = lib->readContents(0, 0);
    lib->readIndex(0);
    for (std::size_t b = 1; b < lib->books_.size(); ++b) lib->readIndex(b);
    sortIndexForDisplay(lib->index_);
    lib->buildSearch(progress);
    return lib;
}

std::string HelpLibrary::decodeText(std::size_t book, std::string_view bytes) const {
    const auto decision = sitemap::decideEncoding(bytes, webexport::declaredCharset(bytes),
                                                  books_[book].info.languageId);
    const auto decoded = sitemap::decodeSource(bytes, decision.encoding);
    return valueUtf8(decoded.text, decoded.form);
}

std::string HelpLibrary::title() const {
    return decodeText(0, info_.title);
}

std::optional<std::size_t> HelpLibrary::mount(const std::string& fileName) {
    if (books_.size() >= kMaxBooks) return std::nullopt;
    const std::string path = platform::joinPath(folder_, platform::utf8ToCp932(fileName));
    std::string why;
    auto archive = ChmArchive::open(path, &why);
    if (!archive) {
        warnings_.push_back(fileName + ": " + why);
        return std::nullopt;
    }
    Book b{fileName, std::move(archive), {}};
    const ChmArchive& a = *b.archive;
    auto entry = [&](const char* name) { return a.read(name).value_or(std::string()); };
    const std::string system = entry("/#SYSTEM"), windows = entry("/#WINDOWS"),
                      strings = entry("/#STRINGS");
    b.info = readHelpSystemInfo({system, windows, strings, {}, {}});
    books_.push_back(std::move(b));
    return books_.size() - 1;
}

std::optional<std::size_t> HelpLibrary::bookByFileName(std::string_view fileName) {
    const std::string name = lowerAscii(baseNameOf(fileName));
    if (name.empty() || !endsWith(name, ".chm")) return std::nullopt;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F) return std::nullopt;
    for (std::size_t i = 0; i < books_.size(); ++i)
        if (books_[i].name == name) return i;
    // A sibling that failed once is not tried again: its name stays in the warnings.
    for (const auto& w : warnings_)
        if (w.starts_with(name + ": ")) return std::nullopt;
    return mount(name);
}

std::optional<HelpTarget> HelpLibrary::entryTarget(std::size_t book,
                                                   std::string_view utf8Path) const {
    HelpTarget t;
    t.book = book;
    std::string_view p = utf8Path;
    if (const std::size_t hash = p.find('#'); hash != std::string_view::npos) {
        t.fragment = std::string(p.substr(hash + 1));
        p = p.substr(0, hash);
    }
    if (const std::size_t q = p.find('?'); q != std::string_view::npos) p = p.substr(0, q);
    t.path = normalizeEntryPath(webexport::decodePercent(p));
    return t;
}

std::optional<HelpTarget> HelpLibrary::resolve(std::string_view url, const HelpTarget& from) {
    while (!url.empty() && (url.front() == ' ' || url.front() == '\t')) url.remove_prefix(1);
    while (!url.empty() && (url.back() == ' ' || url.back() == '\t')) url.remove_suffix(1);
    std::string link(url);
    for (char& c : link)
        if (c == '\\') c = '/';
    switch (webexport::classifyUrl(link)) {
        case webexport::UrlKind::Fragment:
            return HelpTarget{from.book, from.path, link.substr(1)};
        case webexport::UrlKind::HelpStore: {
            std::string file, inside;
            if (!webexport::splitHelpStoreUrl(link, &file, &inside)) return std::nullopt;
            std::optional<std::size_t> book = from.book;
            if (!file.empty()) book = bookByFileName(file);
            if (!book) return std::nullopt;
            return entryTarget(*book, inside);
        }
        case webexport::UrlKind::Local: {
            if (link.front() == '/') return entryTarget(from.book, link);
            const std::size_t slash = from.path.rfind('/');
            const std::string folder =
                slash == std::string::npos ? std::string() : from.path.substr(0, slash + 1);
            return entryTarget(from.book, folder + link);
        }
        default:
            return std::nullopt;
    }
}

bool HelpLibrary::exists(const HelpTarget& target) const {
    return target.book < books_.size() && books_[target.book].archive->find(target.path);
}

std::optional<std::string> HelpLibrary::read(std::size_t book, std::string_view path) const {
    if (book >= books_.size()) return std::nullopt;
    return books_[book].archive->read(path);
}

std::optional<HelpTarget> HelpLibrary::defaultPage() {
    if (!info_.defaultTopic.empty()) {
        auto t = resolve(decodeText(0, info_.defaultTopic), {});
        if (t && exists(*t)) return t;
    }
    std::function<std::optional<HelpTarget>(const std::vector<ContentsItem>&)> first =
        [&](const std::vector<ContentsItem>& items) -> std::optional<HelpTarget> {
        for (const auto& i : items) {
            if (i.target && exists(*i.target)) return i.target;
            if (auto t = first(i.children)) return t;
        }
        return std::nullopt;
    };
    if (auto t = first(contents_)) return t;
    for (const auto& name : books_[0].archive->fileNames())
        if (isHtmlEntry(name)) return HelpTarget{0, normalizeEntryPath(name), {}};
    return std::nullopt;
}

std::optional<HelpTarget> HelpLibrary::contextPage(std::uint32_t contextNumber) {
    const auto it = info_.contextTargets.find(contextNumber);
    if (it == info_.contextTargets.end()) return std::nullopt;
    auto t = resolve(decodeText(0, it->second), {});
    if (t && exists(*t)) return t;
    return std::nullopt;
}

namespace {

std::optional<ParsedSitemap> readSitemapEntry(const ChmArchive& archive, std::string name,
                                              std::optional<std::uint32_t> languageId) {
    auto bytes = archive.read(name);
    if (!bytes) return std::nullopt;
    const auto decision =
        sitemap::decideEncoding(*bytes, webexport::declaredCharset(*bytes), languageId);
    auto decoded = sitemap::decodeSource(*bytes, decision.encoding);
    return ParsedSitemap{sitemap::readSitemap(decoded.text, decoded.form), decoded.form};
}

// The sitemap a book names, else the first one of that kind at its root.
std::string sitemapName(const ChmArchive& archive, const std::string& named,
                        std::string_view extension) {
    if (!named.empty() && archive.find(named)) return named;
    for (const auto& n : archive.fileNames())
        if (n.find('/', 1) == std::string::npos && endsWith(n, extension)) return n;
    return {};
}

}  // namespace

std::vector<ContentsItem> HelpLibrary::readContents(std::size_t book, int depth) {
    const Book& b = books_[book];
    const std::string name = sitemapName(*b.archive, decodeText(book, b.info.contentsFile), ".hhc");
    if (name.empty()) return {};
    auto parsed = readSitemapEntry(*b.archive, name, b.info.languageId);
    if (!parsed) {
        warnings_.push_back(b.name + ": the contents cannot be read");
        return {};
    }
    const auto form = parsed->form;
    std::vector<ContentsItem> out;
    std::function<void(const std::vector<sitemap::Entry>&, std::vector<ContentsItem>&, int)> add =
        [&](const std::vector<sitemap::Entry>& entries, std::vector<ContentsItem>& into,
            int nesting) {
            for (const auto& e : entries) {
                if (e.kind == sitemap::EntryKind::Merge) {
                    const std::string* merge = e.value("Merge");
                    std::string file, inside;
                    if (merge && depth < kMaxMergeDepth &&
                        webexport::splitHelpStoreUrl(valueUtf8(*merge, form), &file, &inside)) {
                        if (auto other = bookByFileName(file); other && *other != book) {
                            auto items = readContents(*other, depth + 1);
                            for (auto& i : items) into.push_back(std::move(i));
                        }
                    }
                    continue;
                }
                ContentsItem item;
                if (const std::string* n = e.value("Name")) item.title = valueUtf8(*n, form);
                if (const std::string* local = e.value("Local")) {
                    const std::string link = valueUtf8(*local, form);
                    if (webexport::classifyUrl(link) == webexport::UrlKind::External)
                        item.externalUrl = link;
                    else
                        item.target = resolve(link, HelpTarget{book, {}, {}});
                }
                if (item.title.empty() && item.target) item.title = item.target->path;
                if (nesting < kMaxNesting) {
                    add(e.children, item.children, nesting + 1);
                    into.push_back(std::move(item));
                } else {
                    into.push_back(std::move(item));
                    add(e.children, into, nesting);
                }
            }
        };
    add(parsed->map.entries, out, 0);
    return out;
}

void HelpLibrary::readIndex(std::size_t book) {
    const Book& b = books_[book];
    const std::string name = sitemapName(*b.archive, decodeText(book, b.info.indexFile), ".hhk");
    if (name.empty()) return;
    auto parsed = readSitemapEntry(*b.archive, name, b.info.languageId);
    if (!parsed) {
        warnings_.push_back(b.name + ": the index cannot be read");
        return;
    }
    const auto form = parsed->form;
    std::function<void(const std::vector<sitemap::Entry>&, int)> add =
        [&](const std::vector<sitemap::Entry>& entries, int level) {
            for (const auto& e : entries) {
                IndexItem item;
                item.level = level;
                if (const std::string* n = e.value("Name")) item.keyword = valueUtf8(*n, form);
                if (const std::string* see = e.value("See Also"))
                    item.seeAlso = valueUtf8(*see, form);
                for (const auto& local : e.values("Local"))
                    if (auto t = resolve(valueUtf8(local, form), HelpTarget{book, {}, {}}))
                        item.targets.push_back(std::move(*t));
                index_.push_back(std::move(item));
                add(e.children, std::min(level + 1, kMaxNesting));
            }
        };
    add(parsed->map.entries, 0);
}

void HelpLibrary::buildSearch(const OpenProgress& progress) {
    std::vector<std::pair<std::size_t, std::string>> pages;
    for (std::size_t b = 0; b < books_.size(); ++b)
        for (const auto& name : books_[b].archive->fileNames())
            if (isHtmlEntry(name)) pages.push_back({b, name});
    std::size_t total = 0;
    if (progress) progress(0, pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const auto& [book, name] = pages[i];
        const auto* e = books_[book].archive->find(name);
        if (e && e->length <= kMaxSearchPageBytes && total + e->length <= kMaxSearchTotalBytes) {
            if (auto bytes = books_[book].archive->read(name)) {
                total += bytes->size();
                const PageText text = extractPageText(*bytes, books_[book].info.languageId);
                const std::string path = normalizeEntryPath(name);
                search_.add(pages_.size(), text);
                pages_.push_back({book, path, text.title.empty() ? path : text.title});
            }
        }
        if (progress) progress(i + 1, pages.size());
    }
}

std::vector<SearchResult> HelpLibrary::search(std::string_view query) const {
    std::vector<SearchResult> out;
    for (std::size_t page : search_.find(query))
        out.push_back({pages_[page].title, HelpTarget{pages_[page].book, pages_[page].path, {}}});
    return out;
}

std::string HelpLibrary::pageTitle(const HelpTarget& target) const {
    const std::string key = archiveKey(target.path);
    for (const auto& p : pages_)
        if (p.book == target.book && archiveKey(p.path) == key) return p.title;
    return target.path;
}

}  // namespace tarnbook::viewer
