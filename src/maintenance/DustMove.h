#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Moving unused files out of the resource folder into a "dust" folder on the desktop, keeping
// their folder layout. No file is ever lost: a name already taken in the dust folder gives the
// newcomer a free "name(k).ext", and a file is removed only after its copy is complete.
namespace tarnbook::maintenance {

// The desktop folder (the home folder when there is none) + "/$QLT$Dust$" + the project name;
// a separator in the name becomes "_" so the folder stays on the desktop.
std::string dustFolderFor(std::string_view projectName);

struct MovedFile {
    std::string from;  // full core paths
    std::string to;
};

struct MoveFailure {
    std::string file;    // full core path; the file is still there
    std::string reason;  // UTF-8
};

struct MoveReport {
    std::string dustFolder;
    std::vector<MovedFile> moved;
    std::vector<MoveFailure> failed;
};

using MoveProgress = std::function<void(std::size_t done, std::size_t total)>;

// Moves each file (relative to the resource folder, as the analysis lists them) to the same
// relative place below `dustFolder`, then removes the folders the move left empty.
MoveReport moveToDust(std::string_view resourceFolder, const std::vector<std::string>& files,
                      std::string_view dustFolder, const MoveProgress& progress = {});

}  // namespace tarnbook::maintenance
