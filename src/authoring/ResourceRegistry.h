#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"
#include "project/Workspace.h"

// The resource folder (PDir + "_RESOURCE"), the rules that recognise paths inside it, copies
// into it, and the list of added resources kept in section "Addition" of the project file.
// Paths are CP932 core paths; stored entries use '\' and are relative to the project folder.
namespace tarnbook::authoring {

// The resource folder as a path of this machine: "<PDir>/_RESOURCE".
std::string resourceFolder(const project::Workspace& ws);

// True when the upper-cased "<PDir>\_RESOURCE\" occurs anywhere in the upper-cased path
// (either separator). False with no project open.
bool inResourceFolder(const project::Workspace& ws, std::string_view path);

// The part after "<PDir>\_RESOURCE\" in the path's own letter case (with '\' separators), or
// the path without a leading "_RESOURCE\", or the path unchanged (web addresses).
std::string resourceRelativeName(const project::Workspace& ws, std::string_view path);

// The full path of a name relative to the resource folder; the name itself with no project.
std::string resourceFullPath(const project::Workspace& ws, std::string_view name);

// Registers "_RESOURCE\" + name as an added resource unless an equal entry exists (exact
// comparison); writes the project file at once when it appends.
void additionCheck(project::Workspace& ws, std::string_view name);

// Copies `source` into the folder of `target` (created when missing) under the source's name,
// or the first free "name(k).ext" when that name is taken. Returns the copy's path.
std::string copyIntoResource(std::string_view source, std::string_view target);

// Reports files copied so far out of the total.
using CopyProgress = std::function<void(std::size_t done, std::size_t total)>;

// For an .htm/.html page, copies the files of its companion folder ("<base>_files", else
// "<base>.files") beside it into a folder of that name in the resource folder, unless that
// folder exists there already. Returns true when it copied.
bool copyCompanionFolder(const project::Workspace& ws, std::string_view page,
                         const CopyProgress& progress = {});

// One entry of section "Addition".
struct AdditionEntry {
    std::string file;  // "_RESOURCE\..."
    std::string key;   // index keyword, may be empty
};
std::vector<AdditionEntry> readAdditions(const platform::IniFile& project);
// Erases the section and writes the entries with a file again, numbered from 1; leaves no
// section when none is kept. Does not save.
void rewriteAdditions(platform::IniFile& project, const std::vector<AdditionEntry>& entries);

// The size column: "%6u" of the byte count followed by "3b".
std::string sizeText(std::uint64_t bytes);
// The path column: the full path from "_RESOURCE\" onward ('\' separators), or the whole path.
std::string pathColumnText(std::string_view fullPath);

enum class RowKind { NodePage, AddedResource };

// One row of the resource list. Texts are CP932.
struct ResourceRow {
    RowKind kind = RowKind::AddedResource;
    std::string caption;
    std::string path;
    std::string size;
    bool selected = false;
};

// Every non-web node's page in pre-order, then the added resources. Empty with no project.
std::vector<ResourceRow> allResourcesView(const project::Workspace& ws);
// The added resources only.
std::vector<ResourceRow> addedResourcesView(const project::Workspace& ws);

// The file chooser: registers the chosen files (upper-cased) that lie in the resource folder,
// warns about the others. True when an entry was appended (show the added view then).
bool addResourcesFromChooser(project::Workspace& ws);

// Files dropped on the list: copies each into the top of the resource folder and registers
// it; a name already present there is refused with a message. True when one was appended.
bool dropOnResourceList(project::Workspace& ws, const std::vector<std::string>& files);

// Unregisters the selected added-resource rows (and, while doing so, every entry whose file
// has gone), renumbers, writes the project file. Files stay on disk. Returns the added view.
std::vector<ResourceRow> unregisterSelected(project::Workspace& ws,
                                            const std::vector<ResourceRow>& rows);

// Keyword editing needs exactly one selected added row whose path ends .htm or .html.
bool keywordEnabled(const std::vector<ResourceRow>& rows);
// Unregistering is refused when the first selected row is a node page.
bool unregisterEnabled(const std::vector<ResourceRow>& rows);

}  // namespace tarnbook::authoring
