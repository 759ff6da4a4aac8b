#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "authoring/tags/ControlTagMarkup.h"
#include "project/Workspace.h"

// The files and pages the tag dialogs work with.
namespace tarnbook::authoring {

// Copies `source` into `folder` under its own name unless a file of that name is there
// already (an existing file is kept unchanged and used). Returns the bare file name.
// Throws platform::IoError when the copy fails.
std::string copyUnlessPresent(std::string_view source, std::string_view folder);

// Brings a file a dialog chose (icon, sound, Flash movie) into the resource folder with
// copyUnlessPresent and registers it as an added resource. Returns the bare file name.
std::string bringIntoResourceFolder(project::Workspace& ws, std::string_view source);

// Every contents node with a page, in tree order: its title and the page's full path. A web
// link keeps its address, which is no file of the resource folder.
std::vector<PageRef> projectPages(const project::Workspace& ws);

}  // namespace tarnbook::authoring
