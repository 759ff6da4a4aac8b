#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "project/ContentTree.h"
#include "project/Workspace.h"

// The map file: one "#define ID NUMBER" per context ID of the contents tree, for the program
// that calls the help by number. Numbers already published in an existing map file are kept,
// so moving a node does not silently change what an older build of the caller opens.
namespace tarnbook::contents {

// The numbers an existing map file gives its IDs: every "#define NAME NUMBER" line whose
// number reads as an INI integer does (the first definition of a name wins). Other lines, and
// definitions with anything else as their value, are ignored.
std::map<std::string, long long> readMapNumbers(std::string_view bytes);

struct MapFileText {
    std::vector<std::string> lines;         // CP932, without line ends
    std::vector<std::string> duplicateIds;  // IDs met again after their first node
};

// The lines for the tree in pre-order: "// " + title and "#define " + ID + " " + number per
// node with an ID. An ID in `published` keeps its number; another one gets
// 2 x (pre-order index + 1), or the next free even number when that one is taken.
MapFileText mapFileText(const project::ContentTree& tree,
                        const std::map<std::string, long long>& published);

// The project folder + "\" + the project name + ".MAP".
std::string mapFilePath(const project::Workspace& ws);

// Writes the map file (reading the numbers of the one it replaces) and tells about IDs used
// twice in the status bar. Returns the duplicate IDs. Throws platform::IoError.
std::vector<std::string> writeMapFile(project::Workspace& ws);

// The map-file command: asks before replacing an existing file. A failed write throws
// platform::IoError for the shell to show.
void putMap(project::Workspace& ws);

}  // namespace tarnbook::contents
