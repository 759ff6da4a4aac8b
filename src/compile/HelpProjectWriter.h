#pragma once
#include <string>

#include "compile/BuildPaths.h"
#include "project/Workspace.h"

// The Workshop project file (<NAME>.hhp) that the help compiler reads, and the refresh of the
// project folder's copies of merged help files.
namespace tarnbook::compile {

// <PDir>/<NAME>.hhp: the one spelling used both to write the file and to name it to the
// compiler, so a case-sensitive file system sees one file.
std::string helpProjectFilePath(const project::Workspace& ws);

// Replaces each project-folder copy of a merged help file (and its .hhc) that is older than
// its source, after telling the user. Missing sources and missing copies are left alone.
void refreshMergeCopies(project::Workspace& ws);

// The "Default topic" value: the stored default page, else index.htm(l) or the first page.
std::string startPage(const project::Workspace& ws);

// The value of the "XHP" window of [WINDOWS] (twenty fields).
std::string windowDefinition(const project::Workspace& ws);

// Writes <PDir>/<NAME>.hhp from the open project and its contents tree. Fills an empty
// HelpName with NAME (in memory) and sets the workspace's compile log path. Reports 30, 40,
// 50 and 60 through `progress`. Throws platform::IoError when the file cannot be written.
void writeHelpProjectFile(project::Workspace& ws, const BuildProgress& progress = {});

}  // namespace tarnbook::compile
