#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "project/Workspace.h"

namespace tarnbook::authoring {

// The full path of a node's page: stored paths are relative to the resource folder.
std::string nodePageFullPath(const project::Workspace& ws, const project::TreeNode& node);

// The editor tab shows only for a selected node with a page that is neither a web link nor
// an ".mht" archive.
bool editorPageVisible(const project::Workspace& ws);

// The window-state refresh: saved pane, project-only views and the editor tab.
void refreshWindowState(project::Workspace& ws);

// Saves the editor text to the page shown last, then shows the node afresh. Does nothing when
// the text is unchanged or the editor holds no page of its own. Returns true when it wrote.
bool tagSave(project::Workspace& ws, const std::function<void()>& showSelectedNode);

// The user switched tabs: unsaved edits of the shown page are previewed from a temporary
// file; in every other case the temporary file goes. `buildResourceView` runs for the
// resource tab.
void pageChanged(project::Workspace& ws, ui::Page page,
                 const std::function<void()>& buildResourceView);
void deletePreviewTempFile(project::Workspace& ws);

// Clipboard text as the editor takes it: CP932, and for the line-break paste every line break
// preceded by "<br/>".
std::string pasteBytes(std::u16string_view clipboard, bool withLineBreakCodes);

// Opens the selected node's page with the external HTML editor of the settings.
void openExternalEditor(project::Workspace& ws);
void openProjectFolder(project::Workspace& ws);

// Preview text size 1-4, remembered as the base size.
void setPreviewTextSize(project::Workspace& ws, int size);
int basePreviewTextSize(const project::Workspace& ws);

}  // namespace tarnbook::authoring
