#pragma once
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "webexport/SiteLinks.h"

// The files of an exported site: the pages named by the contents and every file reached
// from them through links, pictures, style sheets and related-topic items, each with its
// place in the output. Places keep the files' relative layout, so the site's root is the
// nearest folder that holds the resource folder and every file.
namespace tarnbook::webexport {

enum class FileKind { Page, StyleSheet, Other };

struct SiteFile {
    std::string source;  // core path, letter case as on disk
    std::string native;  // native path (the identity of the file)
    std::string out;     // UTF-8, '/'-separated, relative to the site root
    FileKind kind = FileKind::Other;
    std::string title;                    // pages: the <title> text, UTF-8
    std::vector<std::string> aLinkNames;  // pages: ALink names of its keyword objects
    std::vector<std::string> keywords;    // pages: index keywords of its keyword objects
};

FileKind fileKindOf(std::string_view path);

class SitePlan {
  public:
    explicit SitePlan(LinkContext context) : context_(std::move(context)) {}

    // Adds a file the project names itself (a contents page, an added resource) and returns
    // its index; nullopt when there is no such file. Its folder may hold linked files too.
    std::optional<std::size_t> addProjectFile(const std::string& path);
    // The index of a file added already.
    std::optional<std::size_t> find(const std::string& path) const;
    // Reads every page and style sheet added so far, and those they lead to, adding the
    // files they refer to. Links that name no existing file are counted and listed.
    void crawl(std::vector<std::string>& warnings, std::size_t& brokenLinks);
    // Gives every file its place in the output; the site root becomes the nearest folder
    // holding `resourceFolder` and all files.
    void assignOutputPaths(const std::string& resourceFolder);

    const std::vector<SiteFile>& files() const { return files_; }
    const SiteFile& file(std::size_t index) const { return files_[index]; }
    const LinkContext& context() const { return context_; }

    // The file a link written in the file `from` names, with its "?query#fragment".
    std::optional<std::pair<std::size_t, std::string>> target(std::size_t from,
                                                              std::string_view url) const;

  private:
    std::optional<std::size_t> add(const std::string& path);
    // Linked files are taken from the project folder and the folders of the project's own
    // files only, so a stray "../../.." cannot carry other files of the machine into the site.
    bool mayLinkTo(const std::string& native) const;

    LinkContext context_;
    std::vector<std::string> roots_;  // native folders linked files may come from
    std::vector<SiteFile> files_;
    std::map<std::string, std::size_t> byNative_;
    std::size_t crawled_ = 0;
};

}  // namespace tarnbook::webexport
