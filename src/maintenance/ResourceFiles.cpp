#include "maintenance/ResourceFiles.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::maintenance {
namespace {

// A link to a folder above would otherwise make the walk endless.
constexpr std::size_t kMaxDepth = 64;

}  // namespace

ResourceListing listResourceFiles(std::string_view resourceFolder) {
    struct Folder {
        std::string path;
        std::string relative;  // "" or "sub\"
        std::size_t depth = 0;
    };
    ResourceListing listing;
    std::vector<Folder> folders{{std::string(resourceFolder), {}, 0}};
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const Folder folder = folders[i];  // copied: the vector grows below
        for (const platform::FolderEntry& e : platform::listFolder(folder.path)) {
            if (e.isFolder) {
                if (platform::upperCaseSjis(e.name) == "_RESOURCE") {
                    listing.files.clear();
                    listing.nestedResourceFolder = true;
                    return listing;
                }
                if (folder.depth >= kMaxDepth) continue;
                folders.push_back({platform::joinPath(folder.path, e.name),
                                   folder.relative + e.name + "\\", folder.depth + 1});
            } else {
                listing.files.push_back(
                    {platform::joinPath(folder.path, e.name), folder.relative + e.name});
            }
        }
    }
    return listing;
}

}  // namespace tarnbook::maintenance
