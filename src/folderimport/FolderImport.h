#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "folderimport/PageFilters.h"
#include "platform/IniFile.h"
#include "project/Workspace.h"

// Brings outside material into the open project: every file is copied into the resource
// folder, pages (HTML, text, mail, XML) become content items and folders become headings.
// Nothing is written outside the resource folder, a symbolic link that leads out of the
// imported folder is not followed, and a different file already in place is never replaced
// without the author's word.
namespace tarnbook::folderimport {

enum class TitleSource { FileName = 0, TitleTag = 1 };

// The project's and the settings' choices, read fresh for each import.
struct ImportChoices {
    PageConversions conversions;
    bool confirmOverwrite = false;
    int headingIcon = 4;
    std::vector<std::string> skippedFolders;  // exact folder names

    static ImportChoices read(const project::Workspace& ws);
};

// What one import did. Warnings are UTF-8.
struct ImportReport {
    std::size_t folders = 0;    // headings made
    std::size_t items = 0;      // content items made
    std::size_t written = 0;    // files written into the resource folder
    std::size_t unchanged = 0;  // an identical file was there already
    std::size_t renamed = 0;    // written under a free name beside a different file
    std::size_t kept = 0;       // the author declined to replace the existing file
    std::size_t failed = 0;
    std::size_t skipped = 0;  // filtered folders, links out of the tree, unusable names
    bool cancelled = false;
    std::vector<std::string> warnings;
};

// The per-file import, for a folder import or a drop; one per operation, so that the choices
// are read once and the report covers all its files.
class FileImporter {
  public:
    FileImporter(project::Workspace& ws, TitleSource titles);

    // Imports `source` into the resource folder's sub-folder `relFolder` ('\' separated, empty
    // for the top) and, for a page, adds a content item as the last child of `parent` (the
    // top level when null). Returns the new node or null. Never throws for a file that cannot
    // be read or written: the node then points at the missing file and a warning says why.
    project::TreeNode* importFile(std::string_view source, project::TreeNode* parent,
                                  std::string_view relFolder);

    ImportReport& report() { return report_; }
    const ImportChoices& choices() const { return choices_; }

  private:
    std::string placeFile(std::string_view source, const std::string& target,
                          const std::string* bytes, bool plainCopy);

    project::Workspace& ws_;
    TitleSource titles_;
    ImportChoices choices_;
    ImportReport report_;
};

// Called with the percent done; returning false cancels the import.
using ImportProgress = std::function<bool(int percent)>;

// Imports the folder `source`: a heading for it after the focused node, headings for its
// sub-folders (breadth first, skipping the settings' filtered folder names), then every file.
// A sub-folder named "_RESOURCE" means a project folder was chosen: nothing is imported and
// the report carries the reason. Marks the project changed when it added anything.
ImportReport importFolderTree(project::Workspace& ws, std::string_view source, TitleSource titles,
                              const ImportProgress& progress = {});

// True when a file of this extension may be dropped onto the contents tree: one of the page,
// icon and archive extensions and switched on in the settings' FilterImport section.
bool isDropImportable(const platform::IniFile& settings, std::string_view file);

// The extensions the import filter offers for drops, in the order shown.
const std::vector<std::string>& droppableExtensions();

}  // namespace tarnbook::folderimport
