#pragma once
#include <string>

#include "project/Workspace.h"

// The two project text files the author edits by hand: the map file included in the help
// and the text-popup file. Each is named by a project setting, either a bare file name in
// the project folder or a full path, and is used only while its switch is on.
namespace tarnbook::contents {

enum class ProjectTextFile { Map, Popup };

// The file's path when the project uses it and it exists; empty otherwise (this is the
// enable rule of its editing command).
std::string editableProjectTextFile(const project::Workspace& ws, ProjectTextFile which);

// Opens the file in the settings' text editor (SYSTEM EditTXT), or else with the desktop's
// program for it, without waiting. Does nothing when the file is not editable; warns when
// no program could be started.
void editProjectTextFile(project::Workspace& ws, ProjectTextFile which);

}  // namespace tarnbook::contents
