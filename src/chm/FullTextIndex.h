#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The full-text search index ($FIftiMain) the viewer's search tab reads: every word of every
// page with the pages and places it occurs, in leaf nodes of sorted words under an index
// node. Words are broken as the Workshop compiler breaks them: runs of ASCII letters and
// digits (lower-cased, "1.5" kept whole), and in a double-byte code page every double-byte
// character on its own, punctuation included. Title words are filed apart from body words.
namespace tarnbook::chm {

struct IndexedPage {
    std::string title;  // the page's <title> text
    std::string html;   // the page's bytes, in the help's code page
};

// `pages[i]` is topic i of #TOPICS; a page with empty html and title is left out. The code
// page follows from the help's language id (Japanese, Chinese and Korean are double-byte).
std::string buildFullTextIndex(const std::vector<IndexedPage>& pages, std::uint32_t languageId);

// The words of a text as the index files them, in order (exposed for tests).
std::vector<std::string> indexWords(const std::string& text, std::uint32_t languageId);

// The visible text of an HTML page: tags, comments, scripts, styles and the title left out,
// character references of ASCII characters resolved.
std::string visibleText(const std::string& html);

}  // namespace tarnbook::chm
