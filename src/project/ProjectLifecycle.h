#pragma once
#include <functional>
#include <string>

#include "project/Workspace.h"

namespace tarnbook::project {

constexpr int kCurrentProjectVersion = 249;

// "Tarnbook -Build <version>- [ <Name> ]" (UTF-8).
std::string windowTitle(const Workspace& ws);

// Shows saved/unsaved and what needs an open project.
void refreshStatus(Workspace& ws);

// Asks whether to save unsaved contents. Returns false when the user cancelled; "はい" saves.
bool askToSaveChanges(Workspace& ws, bool withCancel);

// Opens the project file `path`. A refused or cancelled open leaves the previous project as
// it was. Returns true when the project was opened.
bool openProject(Workspace& ws, const std::string& path);

// Writes the contents and the project file when there are unsaved changes.
void saveProject(Workspace& ws);

// Makes a new project: `runWizard` creates the project folder and file and sets
// ws.project and the paths; it returns false when cancelled.
bool newProject(Workspace& ws, const std::function<bool(Workspace&)>& runWizard);

// Copies the open project to `projectsFolder`\`newName`; the copy is not opened.
void saveProjectAs(Workspace& ws, const std::string& projectsFolder, const std::string& newName);

// The main window's close request: true when the window may close. Writes the settings file
// whatever the answer.
bool closeQuery(Workspace& ws);

// Writes the settings file (if it has a path), after the shell stored its state into it.
void writeSettings(Workspace& ws);

}  // namespace tarnbook::project
