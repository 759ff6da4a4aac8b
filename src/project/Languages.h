#pragma once
#include <array>
#include <string_view>

namespace tarnbook::project {

// The help languages offered by the wizard, the template editor and the project properties;
// a project stores the index (LangNum) and the text (LangStr).
inline constexpr std::array<std::string_view, 28> kHelpLanguages = {
    "0401 Arabic",
    "0403 Catalan",
    "0404 Traditional Chinese",
    "0405 Czech",
    "0406 Danish",
    "0407 German",
    "0408 Greek",
    "0409 English",
    "040A Spanish",
    "040B Finnish",
    "040C French",
    "040D Hebrew",
    "040E Hungarian",
    "0410 Italian",
    "0411 Japanese",
    "0412 Korean",
    "0413 Dutch",
    "0414 Norwegian (Bokmal)",
    "0415 Polish",
    "0416 Portuguese (Brazilian)",
    "0419 Russian",
    "041B Slovak",
    "041D Swedish",
    "041F Turkish",
    "0424 Slovenian",
    "042D Basque",
    "0804 Simplified Chinese",
    "0816 Portuguese (Standard)",
};
inline constexpr int kDefaultLanguageIndex = 14;

inline std::string_view helpLanguageText(int index) {
    if (index < 0 || index >= static_cast<int>(kHelpLanguages.size())) return {};
    return kHelpLanguages[static_cast<std::size_t>(index)];
}

}  // namespace tarnbook::project
