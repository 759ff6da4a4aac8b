#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/IniFile.h"
#include "project/ContentTree.h"
#include "ui/PreviewBrowser.h"
#include "ui/Prompts.h"
#include "ui/SourceEditor.h"
#include "ui/StatusDisplay.h"

namespace tarnbook::project {

// Everything the main window owns for the whole run: the settings, the open project, the
// contents tree with its view state, and the user-facing controls it drives. Commands are
// free functions on it.
class Workspace {
  public:
    Workspace(ui::Prompts& prompts, ui::PreviewBrowser& preview, ui::SourceEditor& editor,
              ui::StatusDisplay& status)
        : prompts(prompts), preview(preview), editor(editor), status(status) {}
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    ui::Prompts& prompts;
    ui::PreviewBrowser& preview;
    ui::SourceEditor& editor;
    ui::StatusDisplay& status;

    // The settings file held in memory (path set by start-up).
    platform::IniFile settings;

    // The open project file; empty when no project is open.
    std::optional<platform::IniFile> project;
    std::string projectFolder;   // PDir
    std::string projectFile;     // XHP
    std::string contentsFile;    // XHC
    std::string compileLogPath;  // PDir + "\Compile.Log"
    bool saved = true;           // the contents have no unsaved changes

    ContentTree tree;
    std::string currentPage;  // the page shown last in the preview
    TreeNode* rightClicked = nullptr;
    bool rightClick = false;   // the last mouse press on the tree was a right click
    bool allExpanded = false;  // toggled by expand/collapse with nothing selected
    bool isMultiSelect = false;
    std::string previewTempFile;  // unsaved edits previewed from here

    // Puts a project path at the head of the recent-projects list and stores the list.
    std::function<void(const std::string& path)> rememberRecentProject;
    // Stores toolbar positions and the like into `settings` before it is written.
    std::function<void()> beforeSettingsWrite;

    bool hasProject() const { return project.has_value(); }
    std::string projectName() const {
        return project ? project->readString("XHP", "Name") : std::string();
    }
    std::string resourceFolder() const { return projectFolder + "\\_RESOURCE"; }

    // Marks the contents changed (every tree or record change calls this).
    void markChanged() { saved = false; }
};

}  // namespace tarnbook::project
