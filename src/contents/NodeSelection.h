#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "project/Workspace.h"

// What selecting a contents node shows, and the tree's mouse, key and drop handling.
namespace tarnbook::contents {

// What the tree handling needs from parts of the window that live elsewhere. The shell fills
// them; an empty one is skipped.
struct TreeHooks {
    // Re-colours the editor's markup after a page was loaded into it.
    std::function<void()> highlightTags;
    // True while the editor tab is the visible page.
    std::function<bool()> editorPageShowing;
    // Opens the tree's context menu at the last right-click point.
    std::function<void()> openContextMenu;
    // Opens the selected node's page in the external editor.
    std::function<void()> editHtml;
    // Scrolls the tree sideways by whole steps (negative: left).
    std::function<void(int steps)> scrollHorizontally;
    // The title-source dialog of a drop: 0 file name, 1 title element, -1 no choice;
    // nullopt when cancelled.
    std::function<std::optional<int>()> askTitleSource;
    // Whether a dropped file may be imported (extension and import filter).
    std::function<bool(const std::string& path)> isDropImportable;
    // Imports one file as a node under `parent` (null: top level).
    std::function<void(const std::string& path, project::TreeNode* parent, int titleSource,
                       const std::string& subFolder)>
        importOneFile;
    // The node under the current drop point, or null.
    std::function<project::TreeNode*()> nodeAtDropPoint;
};

// The fixed pages and default page the selection compares against.
struct FixedPages {
    std::string defaultPage;  // SYSTEM/DefHTML
    std::string notFound;     // <TEMPLATE>\NotFound.HTML
    std::string remote;       // <TEMPLATE>\Remote.HTML
    std::string alert;        // SYSTEM/ALERT2, the page shown for web-link nodes
};
FixedPages fixedPages(const project::Workspace& ws);

// Loads the focused node's page into the editor and shows it (or a stand-in) in the preview.
void showSelectedNode(project::Workspace& ws, const TreeHooks& hooks);

struct MousePress {
    project::TreeNode* node = nullptr;  // under the pointer
    bool right = false;                 // right button
    bool left = false;                  // left button
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};
void treeMouseDown(project::Workspace& ws, const MousePress& press, const TreeHooks& hooks);

enum class TreeKey { Enter, Tab, PageUp, PageDown, Home, Left, Up, Right, Down, A, Other };
struct KeyPress {
    TreeKey key = TreeKey::Other;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};
void treeKeyDown(project::Workspace& ws, const KeyPress& press, const TreeHooks& hooks);

// Files dropped on the tree: a single project file opens it; otherwise each importable file
// is imported under the node at the drop point.
void dropOnTree(project::Workspace& ws, const std::vector<std::string>& files,
                const TreeHooks& hooks);

}  // namespace tarnbook::contents
