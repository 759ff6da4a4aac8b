#pragma once
#include <optional>
#include <string>
#include <string_view>

// Colours in the settings file: a colour name ("clWhite", "clWindowText", ...) or a number
// in the blue-green-red order of the stored form, decimal or "$00BBGGRR". In memory colours
// are 0xRRGGBB.
namespace tarnbook::project {

// nullopt for text that is neither a known name nor a number.
std::optional<unsigned> parseSettingColour(std::string_view text);
// The value of `text`, or `fallback` when it cannot be read.
unsigned settingColourOr(std::string_view text, unsigned fallback);
// The name of a colour when it has one, else "$00BBGGRR".
std::string settingColourText(unsigned rgb);

}  // namespace tarnbook::project
