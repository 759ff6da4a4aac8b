#pragma once
#include <string>
#include <vector>

#include "platform/IniFile.h"

namespace tarnbook::project {

class Workspace;

inline constexpr int kExternalToolCount = 3;

// One item of the external tools menu.
struct ExternalTool {
    int number = 0;        // 1-3
    std::string itemName;  // "mnuext" + number
    std::string caption;   // Ext<n>name
    std::string program;   // Ext<n>; its first icon is the item's image
};

// The tools menu: tools 1, 2, 3 in order, each only when both its program and caption are set.
std::vector<ExternalTool> externalTools(const platform::IniFile& settings);

// Starts tool `number` as the settings name it now, with no arguments. A program that cannot
// be started is reported.
bool runExternalTool(Workspace& ws, int number);

}  // namespace tarnbook::project
