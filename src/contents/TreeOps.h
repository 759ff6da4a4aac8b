#pragma once
#include <functional>
#include <string>

#include "authoring/ResourceRegistry.h"
#include "contents/NodeSelection.h"
#include "project/Workspace.h"

// Commands that change the shape or kind of the contents tree. Each acts on the focused node
// ("the selected node"), marks the project changed when it changes anything, and keeps every
// record's Level equal to its node's depth.
namespace tarnbook::contents {

// The nearest node of depth `level` strictly before (after) `ref` in pre-order, found by
// walking siblings and ancestors instead of the pre-order, so that far-away targets cost
// the depth and the sibling counts on the way, not the size of the tree.
project::TreeNode* levelNodeBefore(int level, const project::TreeNode* ref);
project::TreeNode* levelNodeAfter(int level, const project::TreeNode* ref);

// Inserts a node for `record` as the next sibling of the focused node (after its subtree),
// or at the end of the top level when nothing is focused. Sets caption, icons and Level.
project::TreeNode* insertNodeAfter(project::Workspace& ws, project::TData record);

// What the heading and content dialogs hand back.
struct ItemForm {
    std::string title;   // CP932
    std::string page;    // as typed or chosen: a file, a web address or a new page name
    std::string anchor;  // the chosen anchor; empty or "指定無し" (CP932) means none
    int iconChoice = 0;  // heading 0..3, content 0..33
};

// Writes a new page for `path` with `title` and returns the path written; when empty, the
// page is made from the project's page settings.
using NewPageWriter = std::function<std::string(const std::string& path, const std::string& title)>;

enum class ItemKind { Heading, Content };

// Adds a heading or content item from the dialog's result (null: the dialog was cancelled,
// then only the window refreshes). Returns the new node, or null.
project::TreeNode* addItem(project::Workspace& ws, ItemKind kind, const ItemForm* form,
                           const NewPageWriter& newPage = {},
                           const authoring::CopyProgress& progress = {});

// Deletes the selected nodes with their subtrees (asking first when the first node is one of
// them) and shows the node before the focused one.
void deleteSelection(project::Workspace& ws, const TreeHooks& hooks);

// Re-sets every record's Level to its node's depth in a subtree that was placed elsewhere.
void relevel(project::TreeNode* top);

// The four moves. They return false when they stopped at once (nothing focused, or the
// first checks failed), leaving the saved flag alone.
bool moveUp(project::Workspace& ws);
bool moveDown(project::Workspace& ws);
bool moveLeft(project::Workspace& ws);
bool moveRight(project::Workspace& ws);

// Sorts by upper-cased caption bytes: every level when nothing is focused, else the selected
// nodes among their own positions.
void sortNodes(project::Workspace& ws, bool descending);

// Compares two captions the way the sort does (<0, 0, >0).
int compareCaptions(const std::u16string& a, const std::u16string& b);

// Expands or collapses the focused node with its descendants, or the whole tree.
void expandOrCollapse(project::Workspace& ws);
void setExpandedRecursively(project::ContentTree& tree, project::TreeNode* node, bool expanded);
void setAllExpanded(project::ContentTree& tree, bool expanded);

// Heading <-> content item.
void changeKind(project::Workspace& ws);
// Switches the icon variant of the focused node.
void toggleNodeIcon(project::Workspace& ws);

}  // namespace tarnbook::contents
