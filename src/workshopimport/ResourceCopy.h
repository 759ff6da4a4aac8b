#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ui/Prompts.h"

// Copies the files a Workshop project uses into the resource folder, keeping their layout
// relative to the Workshop project folder. Pages are followed: the files their href and src
// attributes name are copied too. An existing file with other contents is replaced only when
// the author says so.
namespace tarnbook::workshopimport {

struct CopyResult {
    std::vector<std::string> copied;   // relative paths ('\'), CP932, in copy order
    std::size_t unchanged = 0;         // already there with the same bytes
    std::size_t kept = 0;              // already there, different, not replaced
    std::vector<std::string> missing;  // named but not found in the Workshop project
    bool cancelled = false;            // the author chose to keep every further file
};

// `files` are relative paths ('\' separators, "." and ".." resolved, inside the project);
// `sourceFolder` is the Workshop project folder, `resourceFolder` the target. `progress`
// gets the files done so far and the number known so far. Throws platform::IoError when a
// file cannot be written.
CopyResult copyResources(const std::string& sourceFolder, const std::string& resourceFolder,
                         const std::vector<std::string>& files, ui::Prompts& prompts,
                         const std::function<void(std::size_t, std::size_t)>& progress = {});

// The local files a page names in href and src attributes, resolved against the page's own
// folder ('\' separators); web addresses, anchors of the page itself and paths that climb
// out of the project are left out.
std::vector<std::string> pageReferences(const std::string& pageRelative,
                                        const std::string& pageBytes);

}  // namespace tarnbook::workshopimport
