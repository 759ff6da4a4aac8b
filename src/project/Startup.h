#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/SingleInstance.h"
#include "project/ExternalTools.h"
#include "project/RecentProjects.h"
#include "project/Settings.h"

namespace tarnbook::project {

class Workspace;

// Temporary files of the program start with this prefix.
inline constexpr const char* kTempFilePrefix = "QLT";
std::string newTempFile();

// The single-instance lock in the app folder; nullptr when another instance holds it (the
// caller then ends silently). Throws platform::IoError when the lock cannot be made at all.
std::unique_ptr<platform::SingleInstance> claimSingleInstance(const std::string& appFolder);

// Loads the settings of the app folder into the workspace, prepares them (first start
// included), attaches the recent-projects list to the settings file and makes it the
// workspace's rememberRecentProject. Returns whether this was a first start.
bool loadSettings(Workspace& ws, RecentProjects& recent, const FirstStartEnvironment& env);

// The main window's placement as stored in the settings.
struct WindowPlacement {
    int x = 20;
    int y = 20;
    int width = 630;
    int height = 480;
    int frame = 135;  // width of the contents tree pane
    bool maximized = false;
};

// What start-up leaves for the shell to apply to its own controls.
struct StartupState {
    bool firstStart = false;
    WindowPlacement placement;
    bool nodeBox = false;
    bool rightClickRefresh = false;
    bool captureOn = false;
    bool captureActive = true;
    bool captureCursor = false;
    int previewTextSize = kDefaultPreviewTextSize;  // BaseFSize as read, kept for shutdown
    std::optional<int> textSizeMenuItem;            // FSize1-4 to check, when 1-4
    std::string helpFile;                           // "" when the program has no help file
    std::vector<ExternalTool> tools;
    bool projectOpened = false;
};

struct StartupOptions {
    FirstStartEnvironment env;
    std::vector<std::string> arguments;  // command-line arguments, core paths
};

// The start-up of the main window: settings and first-start values, the preview's standard
// page and the title, the editor's font and colours, the saved flag and status, then the
// project named on the command line or, with Resume, the last one. The shell builds its
// toolbars from ws.settings and applies the returned state.
StartupState startUp(Workspace& ws, RecentProjects& recent, const StartupOptions& options);

// When the main window is first shown: reports a standard page that does not exist.
void checkStandardPage(Workspace& ws);

enum class WindowState { Normal, Maximized, Minimized };

struct ShutdownInput {
    WindowState state = WindowState::Normal;
    WindowPlacement placement;  // the normal placement (ignored unless state is Normal)
    bool captureOn = false;
    int previewTextSize = kDefaultPreviewTextSize;
};

// The shutdown after the close query: placement, capture and text size, the resume entry,
// the settings file; then the project, tree and editor are released, the preview's
// temporary file deleted, and last the recent-projects list writes its section.
void shutDown(Workspace& ws, RecentProjects& recent, const ShutdownInput& input);

}  // namespace tarnbook::project
