#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnbook::authoring {

// The user's custom tag file, as the editor's context menu offers it. Texts are CP932.
struct CustomTag {
    std::string caption;
    std::string tag;
    bool operator==(const CustomTag&) const = default;
};
struct CustomTagGroup {
    std::string caption;
    std::vector<CustomTag> tags;
};
struct CustomTagMenu {
    std::vector<CustomTag> loose;  // lines before the first group
    std::vector<CustomTagGroup> groups;
};

// Splits a line at commas outside quotes (" or '); quote characters stay in the field text
// and empty fields are dropped.
std::vector<std::string> splitCustomTagFields(std::string_view line);

CustomTagMenu parseCustomTags(std::string_view bytes);
// Reads the file; a missing file gives an empty menu.
CustomTagMenu loadCustomTags(std::string_view path);

}  // namespace tarnbook::authoring
