#pragma once
#include <string>
#include <string_view>
#include <vector>

// The files of a resource folder, found breadth-first: the folder's own files first, then
// those of its sub-folders, then theirs; within a folder by name.
namespace tarnbook::maintenance {

struct ResourceFile {
    std::string path;      // full core path
    std::string relative;  // relative to the resource folder, '\' separators
};

struct ResourceListing {
    std::vector<ResourceFile> files;
    // A folder named _RESOURCE below the resource folder: another project lies inside this
    // one, whose pages are not scanned, so no file may be called unused and `files` is empty.
    bool nestedResourceFolder = false;
};

ResourceListing listResourceFiles(std::string_view resourceFolder);

}  // namespace tarnbook::maintenance
