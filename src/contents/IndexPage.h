#pragma once
#include <string>
#include <vector>

#include "project/ContentTree.h"
#include "project/Workspace.h"

// The index page: an HTML page in the resource folder that links to the pages of the
// selected nodes, and a heading "目次" for it at the top of the contents tree.
namespace tarnbook::contents {

// The row template: the project's AutoIndex file joined into one text, or empty when the
// setting names no existing file or the text has no "$HREF$" (the built-in row is used then).
std::string indexRowTemplate(const project::Workspace& ws);

// One body line per node: the template with every "$HREF$" replaced by the node's link, or
// "■" + link + "<br>" without a template. A link is <a href="page">title</a>, the page taken
// relative to the resource folder. CP932.
std::vector<std::string> indexRows(const project::Workspace& ws,
                                   const std::vector<project::TreeNode*>& nodes,
                                   const std::string& rowTemplate);

// The command: writes IDX<hex>.html for the current selection and inserts its heading as the
// first top-level node. Returns that node, or null when nothing is selected. A page that
// cannot be written throws platform::IoError before the tree changes.
project::TreeNode* generateIndexPage(project::Workspace& ws);

}  // namespace tarnbook::contents
