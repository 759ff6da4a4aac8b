#include "compile/Viewer.h"

#include <cstdlib>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "project/HelpFiles.h"
#include "project/ProjectFileKeys.h"

namespace tarnbook::compile {

ViewChmOutcome viewCompiledHelp(platform::IniFile& project, const OpenFunction& open) {
    if (project.path().empty()) return ViewChmOutcome::NoProject;
    std::string fileName = project.readString("XHP", "FileName");
    if (fileName.empty()) {
        fileName = project.readString("XHP", "HelpName") + ".chm";
        project.writeString("XHP", "FileName", fileName);
        project.save();
    }
    const std::string chm =
        platform::joinPath(project.readString("XHP", "PDir"), project::compiledFileName(project));
    if (!platform::fileExists(chm)) return ViewChmOutcome::NoCompiledFile;
    return open(chm) ? ViewChmOutcome::Opened : ViewChmOutcome::OpenFailed;
}

ViewChmOutcome viewCompiledHelp(platform::IniFile& project) {
    return viewCompiledHelp(project, [](const std::string& path) { return startHelpViewer(path); });
}

bool startHelpViewer(const std::string& chmPath, std::optional<std::uint32_t> contextNumber) {
    const std::string viewer = project::findHelpViewer(platform::programFolder());
    if (viewer.empty()) return platform::openWithDefaultProgram(chmPath);
    std::vector<std::string> args;
    // One argument: a bare number could be taken for a file of that name and made a path.
    if (contextNumber) args.push_back("--context=" + std::to_string(*contextNumber));
    args.push_back(chmPath);
    return platform::startDetached(viewer, args);
}

std::vector<std::string> viewerStateFiles(const std::string& winePrefix, const std::string& user) {
    if (winePrefix.empty() || user.empty()) return {};
    const std::string profile =
        platform::joinPath(platform::joinPath(winePrefix, "drive_c/users"), user);
    return {platform::joinPath(profile, "AppData/Roaming/Microsoft/HTML Help/hh.dat"),
            platform::joinPath(profile, "Application Data/Microsoft/HTML Help/hh.dat")};
}

std::vector<std::string> viewerStateFiles() {
    const char* prefix = std::getenv("WINEPREFIX");
    const char* user = std::getenv("USER");
    std::string winePrefix =
        prefix && *prefix ? prefix : platform::joinPath(platform::homeFolder(), ".wine");
    return viewerStateFiles(winePrefix, user ? user : "");
}

int deleteViewerStateFile() {
    int deleted = 0;
    for (const auto& path : viewerStateFiles())
        if (platform::fileExists(path) && platform::deleteFile(path)) ++deleted;
    return deleted;
}

}  // namespace tarnbook::compile
