#pragma once
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"

namespace tarnbook::project {

// The six customizable command toolbars: which buttons they show (a bit mask per toolbar,
// bit k = button k, in section "Tbar") and where they sit in the band ("TB1Pos").
struct ToolbarSpec {
    std::string_view name;     // object name of the toolbar
    std::string_view maskKey;  // key in "Tbar"
    std::string_view maskSection;
    std::string_view positionKey;  // "<key>.top" / "<key>.left" in "TB1Pos"
    int defaultMask;
    int largestMask;
    int dropDownButton;  // button with a drop-down arrow (11 pixels wider), -1 when none
    std::vector<std::string_view> buttons;  // command ids in button order
};

inline constexpr std::size_t kToolbarCount = 6;
inline constexpr const char* kToolbarPositionSection = "TB1Pos";
inline constexpr int kToolbarButtonWidth = 23;
inline constexpr int kDropDownArrowWidth = 11;

// File, project, tools, browser, editor, tag: the order of the band and of the dialog.
const std::array<ToolbarSpec, kToolbarCount>& toolbarSpecs();

using ToolbarMasks = std::array<int, kToolbarCount>;
ToolbarMasks readToolbarMasks(const platform::IniFile& settings);
void writeToolbarMasks(platform::IniFile& settings, const ToolbarMasks& masks);

// What one mask makes of its toolbar.
struct ToolbarLook {
    bool visible = false;
    std::vector<bool> buttons;  // per button, in button order
    int width = 0;              // pixels; 0 when hidden
};
// A mask outside 0..largest (a negative one included) hides the whole toolbar.
ToolbarLook toolbarLook(const ToolbarSpec& entry, int mask);
// The mask that shows exactly the visible buttons.
int maskOf(const std::vector<bool>& buttons);

struct ToolbarPosition {
    int top = 0;
    int left = 0;
    bool operator==(const ToolbarPosition&) const = default;
};
using ToolbarPositions = std::array<ToolbarPosition, kToolbarCount>;

// The stored positions; none when the settings have no "TB1Pos" (a missing key reads as 0).
std::optional<ToolbarPositions> readToolbarPositions(const platform::IniFile& settings);
void writeToolbarPositions(platform::IniFile& settings, const ToolbarPositions& positions);

// Without stored positions every toolbar after the file toolbar follows the previous one on
// the project toolbar's row, each starting where the previous one ends.
ToolbarPositions chainedToolbarPositions(const ToolbarPositions& current,
                                         const std::array<int, kToolbarCount>& widths);

// The toolbars (indexes into toolbarSpecs) grouped into rows, top row first, each row
// ordered from left to right; ties keep the band order.
std::vector<std::vector<std::size_t>> toolbarRows(const ToolbarPositions& positions);

// The customization dialog's rows: a separator before each toolbar's group, then one row
// per button.
struct ToolbarDialogRow {
    bool separator = false;
    std::size_t toolbar = 0;
    std::size_t button = 0;
    std::string_view command;
};
const std::vector<ToolbarDialogRow>& toolbarDialogRows();
std::vector<bool> dialogChecks(const ToolbarMasks& masks);
ToolbarMasks masksFromDialogChecks(const std::vector<bool>& checks);

}  // namespace tarnbook::project
