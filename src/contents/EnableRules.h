#pragma once
#include "project/Workspace.h"

// When each contents-tree command is enabled; evaluated whenever the window is idle.
namespace tarnbook::contents::enable {

bool addItem(const project::Workspace& ws);       // add heading, add content item
bool editProperty(const project::Workspace& ws);  // the property dialog
bool deleteItems(const project::Workspace& ws);
bool moveUp(const project::Workspace& ws);
bool moveDown(const project::Workspace& ws);
bool moveLeft(const project::Workspace& ws);
bool moveRight(const project::Workspace& ws);
bool sortAscending(const project::Workspace& ws);
bool sortDescending(const project::Workspace& ws);
bool expandCollapse(const project::Workspace& ws);
bool changeKind(const project::Workspace& ws);
bool editHtml(const project::Workspace& ws);  // external editing
bool redraw(const project::Workspace& ws);    // reload the page
bool generateIndex(const project::Workspace& ws);

}  // namespace tarnbook::contents::enable
