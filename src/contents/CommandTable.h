#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnbook::project {
class Workspace;
}

namespace tarnbook::contents {

// When a command may run. The letters are the rule names the rest of the program uses.
enum class Rule {
    Always,
    A,       // project open, no multi-selection
    B,       // project open, a node selected, no multi-selection
    C,       // project open, a node selected
    MoveUp,  // D: the move rules of the tree operations, one per direction
    MoveDown,
    MoveLeft,
    MoveRight,
    E,                // project open, more than one node
    F,                // unsaved contents
    G,                // project open, at least one node
    H,                // project open
    I,                // B, and the node has a page that is not a web link
    J,                // project open, a node selected, the editor page active
    K,                // the editor text is modified
    L,                // the clipboard holds text
    MapEdit,          // M: the project uses a map file and it exists
    PopupEdit,        // ... a text-popup file and it exists
    Back,             // the preview has a page to go back to
    Forward,          // ... or forward to
    ResourceDelete,   // the resource list's selection allows unregistering
    ResourceKeyword,  // ... or editing the keyword of one added page
    HelpFile,         // the program's own help file was found
    Undo,             // the contents tree has a change to undo
    Redo,             // ... or to redo
};

struct Command {
    std::string_view id;        // stable name: shortcuts, toolbars and tests use it
    std::string_view category;  // UTF-8
    std::string_view caption;   // UTF-8, "&" marks the mnemonic; empty: use the hint's short part
    std::string_view hint;      // "short|long" (UTF-8)
    std::string_view shortcut;  // in the portable "Ctrl+O" form; empty when none
    Rule rule;
};

// Every command of the main window, in table order.
const std::vector<Command>& commandTable();
const Command* findCommand(std::string_view id);

// The tool tip part of a hint (before "|") and the status-pane part (after it, or the whole).
std::string hintShort(std::string_view hint);
std::string hintLong(std::string_view hint);
// The caption a menu shows: the caption, or the hint's short part when there is none.
std::string displayCaption(const Command& c);

// What the enable rules look at, gathered once per idle pass.
struct EnableState {
    bool projectOpen = false;
    bool multiSelect = false;
    bool nodeSelected = false;
    bool nodeHasPage = false;  // the selected node's HTML is not empty
    bool nodeIsWebLink = false;
    std::size_t nodeCount = 0;
    bool saved = true;
    bool editorPageActive = false;
    bool editorModified = false;
    bool clipboardHasText = false;
    bool canMoveUp = false;  // the D rules
    bool canMoveDown = false;
    bool canMoveLeft = false;
    bool canMoveRight = false;
    bool mapFileEditable = false;  // the M rules
    bool popupFileEditable = false;
    bool canGoBack = false;
    bool canGoForward = false;
    bool resourceDeletable = true;  // the resource list's selection (filled by the window)
    bool resourceKeywordEditable = false;
    bool helpFileAvailable = false;
    bool canUndo = false;  // the tree's history, which only the window holds
    bool canRedo = false;
};

// The state of the window as the rules see it; the caller adds what only the window knows
// (active page, clipboard).
EnableState enableStateOf(const project::Workspace& ws);
bool ruleEnabled(Rule rule, const EnableState& s);

// The toolbars in their default layout: ids in button order.
struct ToolbarLayout {
    std::string_view name;
    std::vector<std::string_view> commands;
};
const std::vector<ToolbarLayout>& toolbarLayouts();

// Menus of the main window: an entry is a command id, "|" for a separator, or "@submenu"
// for a submenu the window fills itself (recent projects, external tools).
struct MenuLayout {
    std::string_view caption;
    std::vector<std::string_view> entries;
};
const std::vector<MenuLayout>& menuLayouts();

// A hint that one place shows instead of its command's own: a menu item (by its menu entry,
// a command id or "@submenu") or a tool button (by command id).
struct PlaceHint {
    std::string_view entry;
    std::string_view hint;
};
const std::vector<PlaceHint>& menuItemHints();
const std::vector<PlaceHint>& toolButtonHints();
// The hint of `entry` in `hints`; empty when the place shows its command's own.
std::string_view placeHint(const std::vector<PlaceHint>& hints, std::string_view entry);

}  // namespace tarnbook::contents
