#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// Which text popup of the manual's popup file explains a control of a dialog (F1 on the
// control, or a click in "what's this" mode). Dialogs and controls are named by their object
// names; the numbers are the ".topic" numbers of docs/help/Tarnbook.txt.
namespace tarnbook::project {

inline constexpr const char* kHelpPopupEntry = "Tarnbook.txt";

struct ContextPopup {
    std::string_view dialog;
    std::string_view control;
    std::uint32_t id;
};

std::span<const ContextPopup> contextPopups();

// The popup of `control` inside `dialog`; nullopt when the control has none.
std::optional<std::uint32_t> contextPopupOf(std::string_view dialog, std::string_view control);

}  // namespace tarnbook::project
