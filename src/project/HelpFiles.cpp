#include "project/HelpFiles.h"

#include "BuildInfo.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"

namespace tarnbook::project {

using platform::joinPath;

std::string findHelpFile(const std::string& programFolder, const std::string& appFolder) {
    const std::string folders[] = {
        programFolder,
        joinPath(programFolder, buildinfo::kDataDirFromProgramFolder),
        buildinfo::kInstalledDataDir,
        appFolder,
    };
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::string path = joinPath(folder, kHelpFileName);
        if (platform::fileExists(path)) return path;
    }
    return {};
}

std::string findHelpViewer(const std::string& programFolder) {
    // The build tree keeps each program in its own folder under src/apps.
    for (const std::string& folder : {programFolder, joinPath(programFolder, "../view"),
                                      joinPath(programFolder, "../viewer")}) {
        const std::string candidate = joinPath(folder, kHelpViewerName);
        if (platform::fileExists(candidate) && !platform::findExecutable(candidate).empty())
            return candidate;
    }
    return platform::findExecutable(kHelpViewerName);
}

}  // namespace tarnbook::project
