#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/IniFile.h"

// Showing the project's compiled help and forgetting the help viewer's per-user state.
namespace tarnbook::compile {

using OpenFunction = std::function<bool(const std::string&)>;

enum class ViewChmOutcome {
    NoProject,       // no project file is loaded: the command disables itself
    Opened,          // handed to the desktop's opener
    NoCompiledFile,  // nothing compiled yet: the command disables itself
    OpenFailed,      // the opener could not be started
};

// Opens PDir/FileName of section XHP with `open`. An empty FileName becomes HelpName +
// ".chm" and the project file is written at once.
ViewChmOutcome viewCompiledHelp(platform::IniFile& project, const OpenFunction& open);
// The same with the program's own viewer (startHelpViewer).
ViewChmOutcome viewCompiledHelp(platform::IniFile& project);

// Starts the viewer on a compiled help file (core path) as a process of its own, so that a
// damaged or hostile file can never take the caller down; `contextNumber` shows the page
// the help maps to it. Without a viewer the desktop's program for the file is asked. False
// when nothing could be started.
bool startHelpViewer(const std::string& chmPath, std::optional<std::uint32_t> contextNumber = {});

// Where the help viewer keeps its state on this system: hh.dat in the Wine prefix (WINEPREFIX,
// else ~/.wine) for the user's profile, in both the old and the current profile layouts.
std::vector<std::string> viewerStateFiles(const std::string& winePrefix, const std::string& user);
std::vector<std::string> viewerStateFiles();

// Deletes whichever of those files exists; nothing is asked or reported. Returns how many
// were deleted.
int deleteViewerStateFile();

}  // namespace tarnbook::compile
