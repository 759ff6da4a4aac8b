#pragma once
#include <string>
#include <string_view>

// Where a project keeps its pages and pictures, and how a path names a place inside it.
namespace tarnbook::project {

// "_RESOURCE\", the stored prefix of every page path relative to the project folder.
inline constexpr std::string_view kResourcePrefix = "_RESOURCE\\";

// The upper-cased "<projectFolder>\_RESOURCE\" with '\' separators: the key that finds the
// resource folder inside a path whatever its letter case or separator style.
std::string resourceKey(std::string_view projectFolder);

// True when the path starts with "_RESOURCE\" or "_RESOURCE/" in any letter case.
bool startsWithResourcePrefix(std::string_view path);

// The part after "<projectFolder>\_RESOURCE\" in the path's own letter case with '\'
// separators, or the path without a leading "_RESOURCE\", or the path unchanged (web
// addresses, pages elsewhere). Double-byte characters whose trail byte is '\' stay whole.
std::string resourceRelativeName(std::string_view projectFolder, std::string_view path);

}  // namespace tarnbook::project
