#pragma once
#include <string>
#include <string_view>
#include <vector>

// The site's full-text search, built at export and shipped as JSON: every page's visible
// text in a normalised form plus an index from each two-character sequence (bigram) to the
// pages holding it. Bigrams need no word breaking, so Japanese text is found as well as
// English; the browser narrows by bigrams and confirms with the page text.
namespace tarnbook::webexport {

// The visible text of a page (UTF-8): no tags, scripts, styles or comments, references
// decoded, runs of white space made one blank.
std::string visibleText(std::string_view html);

// The form both the index and the query use: ASCII and full-width Latin letters and digits
// in half-width lower case, ideographic space a blank, runs of white space one blank.
std::u32string normalizeForSearch(std::string_view utf8);

struct SearchPage {
    std::string url;    // relative to the site root
    std::string title;  // UTF-8
    std::string text;   // visible text, UTF-8
};

class SearchIndexBuilder {
  public:
    void add(SearchPage page);
    std::size_t size() const { return pages_.size(); }
    // {"pages":[{"u":..,"t":..}],"text":[..],"grams":{"ab":[0,3],..}}
    std::string toJson() const;

  private:
    std::vector<SearchPage> pages_;
};

}  // namespace tarnbook::webexport
