#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "winhelp/HpjFile.h"

// The project's map file of "#define ID number" lines, extended by a WinHelp project's [MAP]
// numbers: definitions already there stay as they are, new IDs are appended.
namespace tarnbook::winhelp {

struct MapMergeResult {
    std::vector<std::string> lines;  // the whole file afterwards
    std::size_t added = 0;
    std::vector<std::string> warnings;  // IDs defined there with another number (UTF-8)
};

// `existing` is the current file's text (empty when it does not exist); `titles` gives the
// comment line ("// title") for an ID, or empty.
MapMergeResult mergeMapDefinitions(std::string_view existing, const std::vector<MapEntry>& map,
                                   const std::vector<std::string>& titles);

}  // namespace tarnbook::winhelp
