#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The viewer's own full-text search, built when a help file opens (the file's own search
// index is not trusted to exist or to know Japanese). Every character and every pair of
// neighbouring characters of a page's normalised text is indexed, so a Japanese word is
// found without a dictionary and an English one by its letters; each candidate page is then
// confirmed by searching its text.
namespace tarnbook::viewer {

struct PageText {
    std::string title;  // UTF-8, as shown in the results
    std::string text;   // UTF-8 visible text of the page
};

// A page's title and visible text from its bytes, decoded as pageUtf8 does.
PageText extractPageText(std::string_view pageBytes,
                         std::optional<std::uint32_t> languageId = std::nullopt);

class PageSearch {
  public:
    // Adds a page under the caller's number for it; returns nothing, pages are found by
    // that number.
    void add(std::size_t page, const PageText& text);
    std::size_t size() const { return pages_.size(); }

    // Pages holding every blank-separated term of the query (letter case and full-width
    // forms ignored), those with a term in their title first, then in the order added.
    std::vector<std::size_t> find(std::string_view queryUtf8) const;

  private:
    struct Entry {
        std::size_t page;
        std::u32string title;
        std::u32string text;  // title and body, normalised
    };
    std::vector<Entry> pages_;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> postings_;  // key -> entries
};

}  // namespace tarnbook::viewer
