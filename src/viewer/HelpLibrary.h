#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/ChmArchive.h"
#include "viewer/HelpSystemFiles.h"
#include "viewer/PageSearch.h"

// A compiled help file opened for viewing, with the files merged into it: contents and
// index from its sitemaps, context numbers, the page settings of its system entries and a
// full-text search of its pages. Everything is read in place; nothing is written anywhere.
// Texts handed out are UTF-8.
namespace tarnbook::viewer {

// A page of one of the library's books.
struct HelpTarget {
    std::size_t book = 0;  // 0 is the file opened, others were merged into it
    std::string path;      // entry name without the leading '/', UTF-8, e.g. "html/a.htm"
    std::string fragment;  // without '#'
    bool operator==(const HelpTarget&) const = default;
};

struct ContentsItem {
    std::string title;
    std::optional<HelpTarget> target;  // none for a heading without a page
    std::string externalUrl;           // a web page the entry names instead
    std::vector<ContentsItem> children;
};

struct IndexItem {
    std::string keyword;
    int level = 0;                    // 0 for a keyword, 1 for its sub-keywords, ...
    std::vector<HelpTarget> targets;  // may be empty (a "See Also" entry or a group)
    std::string seeAlso;
};

struct SearchResult {
    std::string title;
    HelpTarget target;
};

// (pages done, pages to do) while the search index is built.
using OpenProgress = std::function<void(std::size_t done, std::size_t total)>;

class HelpLibrary {
  public:
    // `path` is a core path. nullptr with a reason (UTF-8) when the file cannot be shown.
    static std::unique_ptr<HelpLibrary> open(const std::string& path, std::string* error,
                                             const OpenProgress& progress = {});

    std::string title() const;  // the window caption the help asks for (may be empty)
    const HelpSystemInfo& info() const { return info_; }
    const std::vector<ContentsItem>& contents() const { return contents_; }
    const std::vector<IndexItem>& index() const { return index_; }
    const std::vector<std::string>& warnings() const { return warnings_; }

    std::size_t bookCount() const { return books_.size(); }
    // The language (LCID) a book's #SYSTEM names, which decides undeclared page encodings.
    std::optional<std::uint32_t> languageId(std::size_t book) const {
        return book < books_.size() ? books_[book].info.languageId : std::nullopt;
    }
    // Lower-case file name of a book, e.g. "guide.chm".
    const std::string& bookName(std::size_t book) const { return books_[book].name; }
    // The book of a file name (any folder part is ignored; a sibling file of the opened
    // one is merged in on first use). nullopt for names that are not a sibling .chm.
    std::optional<std::size_t> bookByFileName(std::string_view fileName);

    // Resolving these may merge a sibling file in, hence not const.
    std::optional<HelpTarget> defaultPage();
    std::optional<HelpTarget> contextPage(std::uint32_t contextNumber);

    // The page a link names: relative to `from` (a page of the library) or to a book's root
    // when `from` is empty; ms-its: and mk:@MSITStore: forms included. nullopt for web
    // links, scripts and names outside the library.
    std::optional<HelpTarget> resolve(std::string_view url, const HelpTarget& from);

    // The bytes of an entry; nullopt when there is no such entry or it cannot be read.
    std::optional<std::string> read(std::size_t book, std::string_view path) const;
    bool exists(const HelpTarget& target) const;

    std::vector<SearchResult> search(std::string_view query) const;
    // The title of a page (its <title>, else its path).
    std::string pageTitle(const HelpTarget& target) const;

  private:
    struct Book {
        std::string name;
        std::unique_ptr<ChmArchive> archive;
        HelpSystemInfo info;
    };
    struct PageRef {
        std::size_t book;
        std::string path;
        std::string title;
    };

    HelpLibrary() = default;
    std::optional<std::size_t> mount(const std::string& fileName);
    std::vector<ContentsItem> readContents(std::size_t book, int depth);
    void readIndex(std::size_t book);
    void buildSearch(const OpenProgress& progress);
    std::string decodeText(std::size_t book, std::string_view bytes) const;
    std::optional<HelpTarget> entryTarget(std::size_t book, std::string_view utf8Path) const;

    std::string folder_;  // of the opened file, core path
    std::vector<Book> books_;
    HelpSystemInfo info_;
    std::vector<ContentsItem> contents_;
    std::vector<IndexItem> index_;
    std::vector<std::string> warnings_;
    std::vector<PageRef> pages_;
    PageSearch search_;
};

// An entry path in its plain form: '/' separators, no "." or ".." parts (a ".." above the
// root stays at the root), no leading '/'.
std::string normalizeEntryPath(std::string_view utf8Path);

}  // namespace tarnbook::viewer
