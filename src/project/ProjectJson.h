#pragma once
#include <string>

#include "project/Workspace.h"

namespace tarnbook::project {

// The open project as JSON (UTF-8): the identity keys of the project file and every node in
// pre-order with its record fields and real depth.
std::string projectToJson(const Workspace& ws);

// JSON string literal of UTF-8 text, quotes included.
std::string jsonString(const std::string& utf8);

}  // namespace tarnbook::project
