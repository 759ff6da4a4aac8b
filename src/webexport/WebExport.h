#pragma once
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "project/ContentTree.h"

// Exports a project as a static web site: every page of the contents with the files it uses,
// in UTF-8, with the contents as a side bar, an index page from the keywords and a
// full-text search that runs in the browser. Nothing is written outside the output folder;
// every file is written atomically.
namespace tarnbook::webexport {

struct WebExportSource {
    std::string projectFolder;  // core path (PDir)
    const project::ContentTree& tree;
    const platform::IniFile& project;
};

struct WebExportSettings {
    std::string title;         // CP932, as HelpName holds it
    std::string styleSheet;    // core path of a .css applied to every page; may be empty
    std::string outputFolder;  // core path; created when missing
};

struct WebExportResult {
    std::size_t pages = 0;              // pages written
    std::size_t files = 0;              // other files copied
    std::size_t brokenLinks = 0;        // links of the pages that named no existing file
    std::string startFile;              // core path of the site's index.html
    std::vector<std::string> warnings;  // UTF-8, one finding each
};

// A setting the export cannot work with (the message is for the user, UTF-8).
class WebExportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reports the files written so far out of all.
using WebExportProgress = std::function<void(std::size_t done, std::size_t total)>;

// Why `outputFolder` cannot take the export of the project in `projectFolder`, or empty.
std::string checkOutputFolder(const std::string& projectFolder, const std::string& outputFolder);

// Throws WebExportError for unusable settings and platform::IoError when a file cannot be
// written.
WebExportResult exportWebSite(const WebExportSource& source, const WebExportSettings& settings,
                              const WebExportProgress& progress = {});

}  // namespace tarnbook::webexport
