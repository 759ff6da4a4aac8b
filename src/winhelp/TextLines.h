#pragma once
#include <string>
#include <string_view>

// Small text helpers shared by the WinHelp readers (bytes, ASCII rules only).
namespace tarnbook::winhelp {

std::string_view trimmed(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
std::string lowerAscii(std::string_view text);

}  // namespace tarnbook::winhelp
