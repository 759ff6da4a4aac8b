#pragma once
#include <optional>
#include <string>

#include "project/Workspace.h"

namespace tarnbook::contents {

// The additional index keyword of an added resource. `listedFile` is the resource column of
// the list's selected row (CP932), nullopt without a selected row. With a matching entry the
// author edits its keyword in a one-line input; whatever the answer, section "Addition" is
// written again (entries without a file dropped) and the project file is saved. The caller
// shows the added resources afterwards. The saved flag is left alone.
void editAdditionKeyword(project::Workspace& ws, const std::optional<std::string>& listedFile);

}  // namespace tarnbook::contents
