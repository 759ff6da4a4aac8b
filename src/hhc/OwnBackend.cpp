#include "hhc/OwnBackend.h"

#include <ctime>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

#include "chm/BinaryIndex.h"
#include "chm/ChmContainer.h"
#include "chm/FullTextIndex.h"
#include "chm/SystemFiles.h"
#include "hhc/IndexKeywords.h"
#include "hhc/PageLinks.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "sitemap/SitemapReader.h"

namespace tarnbook::hhc {

namespace {

std::string lower(std::string_view s) {
    return platform::lowerCaseSjis(s);
}

bool hasExtension(const std::string& name, std::initializer_list<const char*> exts) {
    const std::string l = lower(name);
    for (const char* e : exts)
        if (l.ends_with(e)) return true;
    return false;
}

bool isPage(const std::string& name) {
    return hasExtension(name, {".htm", ".html"});
}
bool isSitemap(const std::string& name) {
    return hasExtension(name, {".hhc", ".hhk"});
}

std::string percentDecoded(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto hex = [](char c) {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2])));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

// Every "Local" value of a sitemap, at any depth.
void sitemapLocals(const std::vector<sitemap::Entry>& entries, std::vector<std::string>* out) {
    for (const auto& e : entries) {
        for (auto& v : e.values("Local")) out->push_back(v);
        sitemapLocals(e.children, out);
    }
}

sitemap::Sitemap readSitemapBytes(const std::string& bytes) {
    return sitemap::readSitemap(bytes, sitemap::TextForm::Cp932);
}

// The files of the compiled help, in the order they are stored, each read once.
class FileCollector {
  public:
    explicit FileCollector(const std::string& coreFolder) : coreFolder_(coreFolder) {
        nativeFolder_ = platform::nativePath(coreFolder).str();
        while (nativeFolder_.size() > 1 && nativeFolder_.back() == '/') nativeFolder_.pop_back();
    }

    struct Item {
        std::string name;  // native (UTF-8) relative name, '/'
        std::string data;
    };

    // A file the project names (native relative name); false when it cannot be read.
    bool add(const std::string& nativeRel) {
        if (!seen_.insert(lower(nativeRel)).second) return true;
        auto bytes = platform::tryReadFile(
            platform::corePath(platform::NativePath(nativeFolder_ + "/" + nativeRel)));
        if (!bytes) return false;
        items_.push_back({nativeRel, std::move(*bytes)});
        return true;
    }

    // Follows the references of every page and sitemap stored so far, and of those they
    // pull in, to files inside the project folder.
    void pullReferenced() {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            const std::string from = items_[i].name;
            std::vector<std::string> refs;
            if (isPage(from)) {
                for (auto v : linkValues(items_[i].data)) refs.emplace_back(v);
            } else if (isSitemap(from)) {
                sitemapLocals(readSitemapBytes(items_[i].data).entries, &refs);
            } else {
                continue;
            }
            for (const auto& r : refs) follow(from, r);
        }
    }

    std::vector<Item>& items() { return items_; }

    // The stored name a project reference (relative to the project folder) resolves to.
    std::string storedName(const std::string& reference) const { return resolve("", reference); }

  private:
    std::string resolve(const std::string& fromNative, const std::string& reference) const {
        std::string ref = reference.substr(0, reference.find_first_of("#?"));
        ref = percentDecoded(ref);
        const std::string l = lower(ref);
        if (ref.empty() || isWebAddress(ref) || l.starts_with("javascript:") ||
            l.starts_with("mk:@") || l.starts_with("ms-its:") || l.starts_with("its:") ||
            platform::isAbsolutePath(ref))
            return {};
        const std::string folder =
            platform::corePath(platform::NativePath(platform::folderPart(fromNative)));
        bool escapes = false;
        const std::string rel = platform::slashSeparators(
            platform::normalizeRelative(folder.empty() ? ref : folder + "/" + ref, &escapes));
        if (escapes || rel.empty()) return {};
        const std::string full = coreFolder_ + "/" + rel;
        if (!platform::fileExists(full)) return {};
        const std::string native = platform::nativePath(full).str();
        if (!native.starts_with(nativeFolder_ + "/")) return {};
        return native.substr(nativeFolder_.size() + 1);
    }

    void follow(const std::string& fromNative, const std::string& reference) {
        const std::string name = resolve(fromNative, reference);
        if (!name.empty()) add(name);
    }

    std::string coreFolder_;
    std::string nativeFolder_;
    std::vector<Item> items_;
    std::set<std::string> seen_;
};

std::string unquoted(const std::string& text) {
    std::string t = trimBlanks(text);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    return t;
}

std::uint32_t languageOf(const HhpFile& hhp) {
    const std::string value = hhp.option("Language").value_or("");
    const std::string first = value.substr(0, value.find_first_of(" \t"));
    return chm::parseProjectNumber(first).value_or(0x409);
}

std::vector<chm::WindowDefinition> windowsOf(const HhpFile& hhp) {
    std::vector<chm::WindowDefinition> out;
    const HhpSection* s = hhp.section("WINDOWS");
    if (!s) return out;
    for (const auto& line : s->lines) {
        std::string key, value;
        const std::string t = trimBlanks(line);
        if (t.empty() || t[0] == ';' || !splitKeyValue(t, &key, &value)) continue;
        chm::WindowDefinition w{trimBlanks(key), {}};
        for (const auto& f : splitWindowFields(value)) w.fields.push_back(unquoted(f));
        out.push_back(std::move(w));
    }
    return out;
}

// [ALIAS] targets numbered by [MAP]; the adapter has resolved both.
std::vector<chm::ContextAlias> aliasesOf(const HhpFile& hhp) {
    std::map<std::string, std::uint32_t> numbers;
    if (const HhpSection* map = hhp.section("MAP")) {
        for (const auto& line : map->lines) {
            const std::string t = trimBlanks(line);
            if (!t.starts_with("#define ")) continue;
            const std::string rest = trimBlanks(std::string_view(t).substr(8));
            const std::size_t gap = rest.find_first_of(" \t");
            if (gap == std::string::npos) continue;
            if (auto n = chm::parseProjectNumber(trimBlanks(std::string_view(rest).substr(gap))))
                numbers[rest.substr(0, gap)] = *n;
        }
    }
    std::vector<chm::ContextAlias> out;
    if (const HhpSection* alias = hhp.section("ALIAS")) {
        for (const auto& line : alias->lines) {
            std::string key, value;
            if (!splitKeyValue(line, &key, &value)) continue;
            auto it = numbers.find(trimBlanks(key));
            if (it == numbers.end()) continue;
            // Stored as the project writes paths, relative to the project folder.
            out.push_back({it->second, platform::backslashSeparators(trimBlanks(value))});
        }
    }
    return out;
}

chm::SiteProperties sitePropertiesOf(const sitemap::Sitemap& contents) {
    chm::SiteProperties site;
    for (const auto& p : contents.properties) {
        auto is = [&](const char* name) { return sitemap::equalsIgnoringCase(p.name, name); };
        if (is("Font")) site.font = p.value;
        if (is("ImageList")) site.imageList = p.value;
        if (is("FrameName")) site.frameName = p.value;
        if (is("WindowName")) site.windowName = p.value;
        if (is("ImageType")) site.folderImages = sitemap::equalsIgnoringCase(p.value, "Folder");
        if (is("Window Styles")) site.windowStyles = chm::parseProjectNumber(p.value);
        if (is("ExWindow Styles")) site.exWindowStyles = chm::parseProjectNumber(p.value);
        if (is("Background")) site.background = chm::parseProjectNumber(p.value);
        if (is("Foreground")) site.foreground = chm::parseProjectNumber(p.value);
    }
    return site;
}

// A page written in UTF-8 is indexed in the help's code page, as the Workshop compiler
// converts it; only the Japanese code page has a converter here.
std::string inHelpCodePage(const std::string& html, std::uint32_t languageId) {
    const bool bom = html.starts_with("\xEF\xBB\xBF");
    const bool declared = lower(html.substr(0, 2048)).find("charset=utf-8") != std::string::npos;
    if ((languageId & 0x3FF) != 0x11 || (!bom && !declared)) return html;
    return platform::utf8ToCp932(std::string_view(html).substr(bom ? 3 : 0));
}

// The contents tree as the binary contents lays it out: every sitemap object, its page by
// topic number.
std::vector<chm::TocNode> tocNodes(const std::vector<sitemap::Entry>& entries,
                                   const TopicOf& topicOf) {
    std::vector<chm::TocNode> out;
    for (const auto& e : entries) {
        if (e.kind != sitemap::EntryKind::Topic) continue;
        chm::TocNode node;
        if (const std::string* local = e.value("Local")) node.topic = topicOf(*local);
        if (const std::string* name = e.value("Name")) node.name = *name;
        node.children = tocNodes(e.children, topicOf);
        out.push_back(std::move(node));
    }
    return out;
}

// $WWKeywordLinks from the index file and the pages' keyword objects, $WWAssociativeLinks from
// the pages' ALink names; tells `in` which of them hold keywords.
std::vector<chm::ChmFile> binaryIndexFiles(FileCollector& files, const std::string& indexName,
                                           const std::map<std::string, std::uint32_t>& topicNumbers,
                                           const TopicOf& topicOf, chm::SystemInput& in) {
    std::vector<chm::IndexKeyword> keywords;
    std::vector<chm::IndexKeyword> aLinks;
    for (const auto& item : files.items()) {
        if (!indexName.empty() && lower(item.name) == lower(indexName))
            keywords = sitemapKeywords(readSitemapBytes(item.data), topicOf);
    }
    for (const auto& item : files.items()) {
        if (!isPage(item.name)) continue;
        auto topic = topicNumbers.find(lower(item.name));
        if (topic == topicNumbers.end()) continue;
        PageKeywords page = pageKeywords(item.data);
        for (auto& k : page.keywords) keywords.push_back({std::move(k), 0, 0, {topic->second}, {}});
        for (auto& a : page.aLinkNames) aLinks.push_back({std::move(a), 0, 0, {topic->second}, {}});
    }
    in.keywordLinks = !keywords.empty();
    in.associativeLinks = !aLinks.empty();
    std::vector<chm::ChmFile> out =
        chm::buildBinaryIndex("/$WWKeywordLinks", std::move(keywords), in.languageId);
    for (auto& f : chm::buildBinaryIndex("/$WWAssociativeLinks", std::move(aLinks), in.languageId))
        out.push_back(std::move(f));
    return out;
}

}  // namespace

std::string pageTitle(std::string_view html) {
    const std::string l = lower(html);
    const std::size_t open = l.find("<title");
    if (open == std::string::npos) return {};
    const std::size_t start = l.find('>', open);
    if (start == std::string::npos) return {};
    const std::size_t end = l.find("</title", start);
    if (end == std::string::npos) return {};
    std::string t(html.substr(start + 1, end - start - 1));
    const char* blanks = " \t\r\n";
    const std::size_t b = t.find_first_not_of(blanks);
    if (b == std::string::npos) return {};
    return t.substr(b, t.find_last_not_of(blanks) - b + 1);
}

OwnBuild writeOwnChm(const AdaptedProject& project, const std::string& projectFolder,
                     const std::string& outputPath, std::vector<HhcMessage>* messages,
                     const std::function<void(std::size_t, std::size_t)>& progress) {
    OwnBuild result;
    const HhpFile& hhp = project.hhp;
    FileCollector files(projectFolder);
    for (const auto& name : project.listedFiles)
        if (!files.add(name))
            messages->push_back(
                {msg::kCannotRead, Severity::Error, "The file " + name + " cannot be read."});
    // Text popup files are looked up in the compiled help when a popup is shown.
    if (const HhpSection* popups = hhp.section("TEXT POPUPS"))
        for (const auto& line : popups->lines)
            if (!files.add(line))
                messages->push_back({msg::kCannotRead, Severity::Error,
                                     "The text popup file " + line + " cannot be read."});
    files.pullReferenced();

    const std::string contentsName = files.storedName(hhp.option("Contents file").value_or(""));
    const std::string indexName = files.storedName(hhp.option("Index file").value_or(""));

    chm::SystemInput in;
    in.languageId = languageOf(hhp);
    in.timestamp = static_cast<std::uint32_t>(std::time(nullptr));
    in.title = hhp.option("Title").value_or("");
    in.defaultTopic = hhp.option("Default topic").value_or("");
    in.defaultWindow = hhp.option("Default Window").value_or("");
    in.defaultFont = hhp.option("Default Font").value_or("");
    in.compiledName = platform::baseName(project.targetChm);
    in.contentsFile = contentsName;
    in.indexFile = indexName;
    in.windows = windowsOf(hhp);
    in.aliases = aliasesOf(hhp);
    if (const HhpSection* merge = hhp.section("MERGE FILES")) in.mergeFiles = merge->lines;

    // Titles by page: the contents are walked level by level, as the viewer lists them.
    std::map<std::string, std::string> titles;
    for (const auto& item : files.items())
        if (isPage(item.name)) titles[lower(item.name)] = pageTitle(item.data);
    std::map<std::string, std::size_t> contentsTitle;
    sitemap::Sitemap toc;
    for (auto& item : files.items()) {
        if (contentsName.empty() || lower(item.name) != lower(contentsName)) continue;
        toc = readSitemapBytes(item.data);
        in.site = sitePropertiesOf(toc);
        std::vector<const sitemap::Entry*> level;
        for (const auto& e : toc.entries) level.push_back(&e);
        while (!level.empty()) {
            std::vector<const sitemap::Entry*> next;
            for (const auto* e : level) {
                for (const auto& c : e->children) next.push_back(&c);
                if (e->kind != sitemap::EntryKind::Topic) continue;
                const std::string* local = e->value("Local");
                const std::string page = local ? lower(files.storedName(*local)) : std::string();
                auto title = titles.find(page);
                const std::string* name = e->value("Name");
                if (title != titles.end() && !title->second.empty())
                    in.contentsStrings.push_back(title->second);
                else if (name && !name->empty())
                    in.contentsStrings.push_back(*name);
                else
                    continue;
                if (!page.empty()) contentsTitle.emplace(page, in.contentsStrings.size() - 1);
            }
            level = std::move(next);
        }
        break;
    }
    // Pages are topics in the order they are stored; the sitemaps come last.
    for (const auto& item : files.items()) {
        if (!isPage(item.name)) continue;
        chm::Topic topic{item.name, titles[lower(item.name)], false, std::nullopt};
        if (auto it = contentsTitle.find(lower(item.name)); it != contentsTitle.end()) {
            topic.inContents = true;
            topic.contentsString = it->second;
        }
        in.topics.push_back(std::move(topic));
    }
    for (const auto& name : {contentsName, indexName})
        if (!name.empty()) in.topics.push_back({name, "", false, std::nullopt});
    std::map<std::string, std::uint32_t> topicNumbers;
    for (std::size_t i = 0; i < in.topics.size(); ++i)
        topicNumbers.emplace(lower(in.topics[i].local), static_cast<std::uint32_t>(i));
    const TopicOf topicOf = [&](const std::string& local) -> std::optional<std::uint32_t> {
        auto it = topicNumbers.find(lower(files.storedName(local)));
        if (it == topicNumbers.end()) return std::nullopt;
        return it->second;
    };
    in.contents = tocNodes(toc.entries, topicOf);
    in.binaryToc = equalsNoCase(trimBlanks(hhp.option("Binary TOC").value_or("")), "Yes");

    std::vector<chm::ChmFile> chmFiles;
    // The Workshop compiler writes a binary index unless the project says "Binary Index=No".
    in.binaryIndex = !equalsNoCase(trimBlanks(hhp.option("Binary Index").value_or("")), "No");
    if (in.binaryIndex) {
        for (auto& f : binaryIndexFiles(files, indexName, topicNumbers, topicOf, in))
            chmFiles.push_back(std::move(f));
    }
    in.fullTextSearch =
        equalsNoCase(trimBlanks(hhp.option("Full-text search").value_or("")), "Yes");
    if (in.fullTextSearch) {
        std::map<std::string, const std::string*> bytes;
        for (const auto& item : files.items()) bytes[lower(item.name)] = &item.data;
        std::vector<chm::IndexedPage> pages;
        for (const auto& t : in.topics) {
            if (!isPage(t.local)) {
                pages.emplace_back();
                continue;
            }
            const std::string html = inHelpCodePage(*bytes[lower(t.local)], in.languageId);
            pages.push_back({pageTitle(html), html});
        }
        chmFiles.push_back({"/$FIftiMain", chm::buildFullTextIndex(pages, in.languageId), true});
    }
    for (auto& item : files.items()) {
        result.storedFiles.push_back(item.name);
        chmFiles.push_back({"/" + item.name, std::move(item.data), true});
    }
    for (auto& f : chm::buildSystemFiles(in)) chmFiles.push_back(std::move(f));

    chm::ChmContainerOptions options;
    options.languageId = in.languageId;
    options.timestamp = in.timestamp;
    options.lzx.progress = progress;
    try {
        const std::string bytes = chm::buildChmContainer(chmFiles, options);
        platform::writeFileAtomic(outputPath, bytes, platform::Durability::Unsynced);
    } catch (const std::invalid_argument& e) {
        result.failure = platform::utf8ToCp932(e.what());
        return result;
    } catch (const platform::IoError& e) {
        result.failure =
            std::string("cannot write the compiled file: ") + platform::utf8ToCp932(e.what());
        return result;
    }
    result.written = true;
    return result;
}

}  // namespace tarnbook::hhc
