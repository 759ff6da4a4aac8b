#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chm/BinaryToc.h"
#include "chm/ChmContainer.h"

// The system files of a compiled help (#SYSTEM, #WINDOWS, #STRINGS, #TOPICS, #URLTBL,
// #URLSTR, #IDXHDR, #IVB, #ITBITS, #TOCIDX) from what the project says, in the Workshop compiler's
// layout. The caller reads the project and the sitemaps; this only lays out bytes.
namespace tarnbook::chm {

struct WindowDefinition {
    std::string name;
    // The comma-separated fields after "=", quotes removed: caption, contents, index, default,
    // home, jump 1 URL, jump 1 text, jump 2 URL, jump 2 text, navigation style, navigation
    // width, buttons, [rect], style, extended style, show state, navigation closed, default
    // tab, navigation position, notify id. Missing fields are empty.
    std::vector<std::string> fields;
};

struct Topic {
    std::string local;  // entry name without the leading '/', e.g. "pages/a.htm"
    std::string title;  // the page's title; empty for none
    bool inContents = false;
    // The title's place in SystemInput::contentsStrings, when the contents give it.
    std::optional<std::size_t> contentsString;
};

struct ContextAlias {
    std::uint32_t number = 0;
    std::string target;  // as the project names it, relative to the project folder
};

// The "text/site properties" of the contents file that the viewer reads from #IDXHDR.
struct SiteProperties {
    std::string font;
    std::string imageList;
    std::string frameName;
    std::string windowName;
    bool folderImages = false;
    std::optional<std::uint32_t> windowStyles;
    std::optional<std::uint32_t> exWindowStyles;
    std::optional<std::uint32_t> background;
    std::optional<std::uint32_t> foreground;
};

struct SystemInput {
    std::uint32_t languageId = 0x409;
    std::uint32_t timestamp = 0;  // seconds since 1970
    std::string title;
    std::string defaultTopic;  // entry name without '/'
    std::string defaultWindow;
    std::string defaultFont;
    std::string compiledName;  // the compiled file's base name
    std::string contentsFile;  // entry name without '/', empty for none
    std::string indexFile;
    bool fullTextSearch = false;
    bool binaryIndex = false;       // the index is also written as $WWKeywordLinks
    bool keywordLinks = false;      // $WWKeywordLinks holds keywords
    bool associativeLinks = false;  // $WWAssociativeLinks holds ALink names
    std::vector<WindowDefinition> windows;
    // The texts of the contents entries, level by level: each page's title, or the entry's
    // name where the page has none or for headings.
    std::vector<std::string> contentsStrings;
    std::vector<Topic> topics;      // in the order the project lists its files
    std::vector<TocNode> contents;  // the contents tree, topics by their place in `topics`
    bool binaryToc = false;         // also write the contents as #TOCIDX
    std::vector<ContextAlias> aliases;
    std::vector<std::string> mergeFiles;
    SiteProperties site;
};

// Every system file; #SYSTEM and #ITBITS stored uncompressed as the Workshop compiler does.
std::vector<ChmFile> buildSystemFiles(const SystemInput& input);

// The id the URL table files a topic under (also #SYSTEM's binary-index entry), as the
// Workshop compiler computes it.
std::uint32_t topicUrlId(const std::string& local);

// A number as the project writes it: "0x" hexadecimal or decimal; nullopt when it is neither.
std::optional<std::uint32_t> parseProjectNumber(const std::string& text);

}  // namespace tarnbook::chm
