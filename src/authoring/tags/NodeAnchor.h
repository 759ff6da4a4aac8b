#pragma once
#include <string_view>

#include "ui/SourceEditor.h"

// Finding a contents node's anchor in the page source the editor shows: the text
// "<a name=" + '"' + the anchor name.
namespace tarnbook::authoring {

// Selects the first occurrence (any letter case), scrolls it into view and gives the editor
// the focus. False (nothing changes) when the anchor is empty or not found.
bool selectNodeAnchor(ui::SourceEditor& editor, std::string_view anchor);

// When the editor receives the focus: puts the caret at the first occurrence written in
// exactly that case, without a selection, and scrolls down by its line number. False when
// the anchor is empty or not found.
bool caretToNodeAnchor(ui::SourceEditor& editor, std::string_view anchor);

}  // namespace tarnbook::authoring
