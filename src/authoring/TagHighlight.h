#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"
#include "ui/SourceEditor.h"

namespace tarnbook::authoring {

// A highlighted stretch of the page source, in bytes of the CP932 text.
struct TagSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const TagSpan&) const = default;
};

struct HighlightSettings {
    bool objects = true;   // <OBJECT ... /OBJECT>
    bool anchors = false;  // <A NAME= ... >
    bool links = false;    // <A HREF= ... </A>
    unsigned spanRgb = 0x0000FF;
};

HighlightSettings readHighlightSettings(const platform::IniFile& settings);

// A colour setting: a colour name ("clBlue", "clWindowText", ...) or a number (decimal or
// "$BBGGRR"). Returns 0xRRGGBB; unknown text gives `fallback`.
unsigned parseColourSetting(std::string_view text, unsigned fallback);

// Spans by kind (objects, then anchors, then links), found without regard to letter case.
// An opening whose closing text is missing runs to the end of the text.
std::vector<TagSpan> findTagSpans(std::string_view bytes, const HighlightSettings& s);

// Editor positions (line break = one character) of every byte offset 0..size.
std::vector<int> editorPositions(std::string_view bytes);

// Re-colours the whole editor text; the modified flag stays as it was.
void htmlTagPickUp(ui::SourceEditor& editor, const HighlightSettings& s);

}  // namespace tarnbook::authoring
