#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "project/Workspace.h"

// Small path and node helpers shared by the writers of the build.
namespace tarnbook::compile {

// Reports the build's progress in percent at its fixed points.
using BuildProgress = std::function<void(int percent)>;

// A file in the project folder. A folder written with '\' only (a project made on Windows)
// keeps that separator, so texts written into the Workshop files stay in one style.
std::string inProjectFolder(std::string_view projectFolder, std::string_view name);

// The project folder of the open project (PDir).
std::string projectFolderOf(const project::Workspace& ws);

// How many nodes the build walks: the project's Count, at most the nodes the tree holds.
std::size_t nodesToWrite(const project::Workspace& ws);

// "0x" + upper-case hexadecimal without leading zeros.
std::string hexText(unsigned long value);

}  // namespace tarnbook::compile
