#include "authoring/tags/NodeAnchor.h"

#include <string>

#include "platform/Cp932.h"

namespace tarnbook::authoring {

namespace {

std::string anchorNeedle(std::string_view anchor) {
    std::string needle = "<a name=\"";
    needle.append(anchor);
    return needle;
}

}  // namespace

bool selectNodeAnchor(ui::SourceEditor& editor, std::string_view anchor) {
    if (anchor.empty()) return false;
    const std::string needle = anchorNeedle(anchor);
    const auto at = editor.find(needle, 0, false, false);
    if (!at) return false;
    // Editor positions count characters, not bytes.
    editor.setSelection(*at, static_cast<int>(platform::decodeCp932(needle).size()));
    editor.scrollCaretIntoView();
    editor.takeFocus();
    return true;
}

bool caretToNodeAnchor(ui::SourceEditor& editor, std::string_view anchor) {
    if (anchor.empty()) return false;
    const auto at = editor.find(anchorNeedle(anchor), 0, true, false);
    if (!at) return false;
    editor.setSelection(*at, 0);
    editor.scrollLines(editor.lineFromPosition(*at));
    return true;
}

}  // namespace tarnbook::authoring
