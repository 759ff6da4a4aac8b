#pragma once
#include <string>
#include <string_view>

// Where the program's own help lives and what shows it: the compiled manual "Tarnbook.CHM"
// and the viewer program that opens it at a topic.
namespace tarnbook::project {

inline constexpr const char* kHelpFileName = "Tarnbook.CHM";
inline constexpr const char* kHelpViewerName = "tarnbook-view";

// The help file, first found of: beside the program (the build tree puts it there), the
// data folder of the installation the program belongs to, the configured installed data
// folder, the app folder. "" when there is none. Core paths.
std::string findHelpFile(const std::string& programFolder, const std::string& appFolder);

// The viewer: beside the program (installed), in the build tree's sibling folder, or on
// PATH. "" when none is found.
std::string findHelpViewer(const std::string& programFolder);

}  // namespace tarnbook::project
