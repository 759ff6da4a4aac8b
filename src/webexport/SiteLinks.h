#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Links of exported pages: what kind a URL is, which file of this machine a local one names
// (also through the compiled help's own "ms-its:" and "mk:@MSITStore:" forms), and the
// relative URL between two files of the site.
namespace tarnbook::webexport {

enum class UrlKind {
    Empty,
    Fragment,   // "#anchor" within the page
    Local,      // a relative or root-relative path
    HelpStore,  // ms-its:, mk:@MSITStore:, its:
    Script,     // javascript:
    External,   // any other scheme (http:, mailto:, file:, ...)
};

UrlKind classifyUrl(std::string_view url);

// Where a project's pages live, for resolving their links.
struct LinkContext {
    std::string projectFolder;  // core path; the compiled help's root
    // Lower-case file names of the compiled help (e.g. "sample.chm"); an ms-its: link into
    // one of them is a link into this project.
    std::vector<std::string> ownHelpFiles;
};

struct ResolvedLink {
    std::string file;    // core path of an existing file (letter case as found on disk)
    std::string suffix;  // "?query#fragment" as written, possibly empty
};

// The existing file a Local or HelpStore URL (UTF-8, entities decoded) names, seen from the
// page `pageFile` (core path). Empty for other kinds, foreign help files and missing files.
std::optional<ResolvedLink> resolveLink(std::string_view url, std::string_view pageFile,
                                        const LinkContext& context);

// The URL path inside an ms-its: link ("Sample.chm::/_RESOURCE/a.htm" -> help file
// "Sample.chm", path "/_RESOURCE/a.htm"); false when it has no "::".
bool splitHelpStoreUrl(std::string_view url, std::string* helpFile, std::string* path);

// The relative URL from the site file `from` to `to` (both '/'-separated, relative to the
// site root), percent-encoded where a URL needs it.
std::string relativeUrl(std::string_view from, std::string_view to);

// Percent-encodes what may not stand in a URL path (space, '%', '#', '?', quotes, controls,
// '\'); other UTF-8 bytes stay as they are.
std::string encodeUrlPath(std::string_view utf8Path);
std::string decodePercent(std::string_view text);

// A native path with "." and ".." resolved (lexically).
std::string normalizeFilePath(std::string_view path);

}  // namespace tarnbook::webexport
