#include "contents/EnableRules.h"

namespace tarnbook::contents::enable {

using project::ContentTree;
using project::Workspace;

namespace {

bool open(const Workspace& ws) {
    return ws.hasProject() && !ws.projectFile.empty();
}

bool openWithNode(const Workspace& ws) {
    return open(ws) && ws.tree.focused() != nullptr;
}

// Shared by the moves: a single focused node in a tree of more than one node.
bool movable(const Workspace& ws) {
    return openWithNode(ws) && ws.tree.count() > 1 && !ws.isMultiSelect;
}

}  // namespace

bool addItem(const Workspace& ws) {
    return open(ws) && !ws.isMultiSelect;
}

bool editProperty(const Workspace& ws) {
    return openWithNode(ws) && !ws.isMultiSelect;
}

bool deleteItems(const Workspace& ws) {
    return openWithNode(ws);
}

bool moveUp(const Workspace& ws) {
    return movable(ws) && ContentTree::prev(ws.tree.focused()) != nullptr;
}

bool moveDown(const Workspace& ws) {
    return movable(ws) && ContentTree::next(ws.tree.focused()) != nullptr;
}

bool moveLeft(const Workspace& ws) {
    return movable(ws) && ws.tree.focused()->depth() >= 1;
}

bool moveRight(const Workspace& ws) {
    return movable(ws);
}

bool sortAscending(const Workspace& ws) {
    return open(ws) && ws.tree.count() > 1;
}

bool sortDescending(const Workspace&) {
    return true;
}

bool expandCollapse(const Workspace& ws) {
    return sortAscending(ws);
}

bool changeKind(const Workspace& ws) {
    return openWithNode(ws);
}

bool editHtml(const Workspace& ws) {
    if (!openWithNode(ws) || ws.isMultiSelect) return false;
    const auto& d = ws.tree.focused()->data;
    return !d.HTML.empty() && (d.ImageIndex < 12 || d.ImageIndex > 15);
}

bool redraw(const Workspace& ws) {
    return editHtml(ws);
}

bool generateIndex(const Workspace& ws) {
    return changeKind(ws);
}

}  // namespace tarnbook::contents::enable
