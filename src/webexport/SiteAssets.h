#pragma once
#include <string_view>

// The files every exported site carries in its "_tarnbook" folder: the layout's style sheet
// and the script that draws the contents side bar, the header with the search box, the text
// pop-overs and the search results.
namespace tarnbook::webexport {

std::string_view siteStyleSheet();
std::string_view siteScript();

}  // namespace tarnbook::webexport
