#pragma once
#include <optional>
#include <string>

#include "authoring/TagHighlight.h"
#include "contents/ItemForms.h"
#include "ui/SourceEditor.h"

// How the tag commands put their markup into the editor text.
namespace tarnbook::authoring {

enum class TagPlacement {
    Caret,      // replaces the selection (the caret when nothing is selected)
    HeadEnd,    // immediately before the page's closing head tag
    PopupLink,  // at the caret, plus the popup control object before the head end once
};

struct TagInsert {
    std::string markup;  // CP932
    TagPlacement placement = TagPlacement::Caret;
    bool highlight = true;  // re-colour the page afterwards
};

// The popup command's insertion from the filled popup-text dialog.
TagInsert popupInsert(const contents::PopupForm& form);

// The page's head end in editor positions: the first "</HEAD>", else the first "</head>";
// other spellings do not count.
std::optional<int> headEndPosition(const ui::SourceEditor& editor);

// Whether the page already holds the popup control object (any letter case).
bool hasPopupControlObject(const ui::SourceEditor& editor);

// Inserts as one edit with redrawing suspended, then re-colours the page when asked. A page
// without a head end gets nothing from the head-end and popup placements: false then.
bool insertTag(ui::SourceEditor& editor, const TagInsert& tag, const HighlightSettings& colours);

}  // namespace tarnbook::authoring
