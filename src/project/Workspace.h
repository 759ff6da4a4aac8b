#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "project/ContentTree.h"
#include "ui/PreviewBrowser.h"
#include "ui/Prompts.h"
#include "ui/SourceEditor.h"
#include "ui/StatusDisplay.h"

namespace tarnbook::project {

// Everything the main window owns for the whole run: the settings, the open project, the
// contents tree with its view state, and the user-facing controls it drives. Commands are
// free functions on it. The project's paths are read from the project file whenever they
// are needed, so there is no second copy to go stale.
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
    bool saved = true;  // the contents have no unsaved changes

    ContentTree tree;
    std::string currentPage;  // the page shown last in the preview
    // The page the editor text was loaded from: the only file an editor save may write.
    // Empty while the editor holds no page of its own (cleared, rich text, nothing selected).
    std::string editorFile;
    bool rightClick = false;  // the last mouse press on the tree was a right click
    bool isMultiSelect = false;
    std::string previewTempFile;  // unsaved edits previewed from here

    // Puts a project path at the head of the recent-projects list and stores the list.
    std::function<void(const std::string& path)> rememberRecentProject;
    // Stores toolbar positions and the like into `settings` before it is written.
    std::function<void()> beforeSettingsWrite;

    bool hasProject() const { return project.has_value(); }
    std::string projectName() const { return projectKey("Name"); }
    std::string projectFolder() const { return projectKey("PDir"); }  // native, CP932 bytes
    std::string projectFile() const { return projectKey("XHP"); }
    std::string contentsFile() const { return projectKey("XHC"); }
    // The compiler's error log, named by the project file; empty with no project open.
    std::string compileLogPath() const {
        return hasProject() ? platform::joinPath(projectFolder(), "Compile.Log") : std::string();
    }
    std::string resourceFolder() const { return projectFolder() + "\\_RESOURCE"; }

  private:
    std::string projectKey(const char* key) const {
        return project ? project->readString("XHP", key) : std::string();
    }

  public:
    // Marks the contents changed (every tree or record change calls this).
    void markChanged() { saved = false; }
    // Empties the editor; it then belongs to no page.
    void clearEditor() {
        editor.clear();
        editor.setModified(false);
        editorFile.clear();
    }
};

}  // namespace tarnbook::project
