#pragma once
#include <string>
#include <string_view>

// The plain HTML the media, anchor and link commands write into a page. Values are CP932 text
// inserted as they stand.
namespace tarnbook::authoring {

// A sound played by the page; `file` is the bare file name.
std::string soundTag(std::string_view file, int volume);
std::string flashTag(std::string_view file, std::string_view width, std::string_view height);
// Eleven lines joined by CR LF (none after the last): a script that loads the movie from the
// folder of the compiled help file.
std::string directorTag(std::string_view file, std::string_view width, std::string_view height);

std::string anchorTag(std::string_view name);
// A link to a page relative to the resource folder, to one of its anchors when `anchor` is
// not empty.
std::string pageLinkTag(std::string_view page, std::string_view anchor, std::string_view linkText);

}  // namespace tarnbook::authoring
