#include "compile/BuildPaths.h"

#include <algorithm>
#include <cstdio>

#include "platform/Cp932.h"

namespace tarnbook::compile {

std::string inProjectFolder(std::string_view projectFolder, std::string_view name) {
    const bool windowsStyle = projectFolder.find('/') == std::string_view::npos &&
                              projectFolder.find('\\') != std::string_view::npos;
    std::string path(projectFolder);
    path += windowsStyle ? '\\' : '/';
    path += name;
    return path;
}

std::string projectFolderOf(const project::Workspace& ws) {
    if (!ws.projectFolder.empty() || !ws.project) return ws.projectFolder;
    return ws.project->readString("XHP", "PDir");
}

bool isWebLinkNode(const project::TData& data) {
    return data.ImageIndex >= 12 && data.ImageIndex <= 15;
}

std::string resourceRelativeName(std::string_view projectFolder, std::string_view path) {
    const std::string upperPath = platform::upperCaseSjis(path);
    for (char sep : {'\\', '/'}) {
        std::string marker = platform::upperCaseSjis(projectFolder);
        marker += sep;
        marker += "_RESOURCE";
        marker += sep;
        const std::size_t at = platform::findSjis(upperPath, marker);
        if (at != std::string::npos) return std::string(path.substr(at + marker.size()));
    }
    if (path.size() >= 10 && platform::upperCaseSjis(path.substr(0, 9)) == "_RESOURCE" &&
        (path[9] == '\\' || path[9] == '/'))
        return std::string(path.substr(10));
    return std::string(path);
}

std::size_t nodesToWrite(const project::Workspace& ws) {
    const int count = ws.project ? ws.project->readInteger("XHP", "Count", 0) : 0;
    return std::min(static_cast<std::size_t>(std::max(0, count)), ws.tree.count());
}

std::string hexText(unsigned long value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%lX", value);
    return buf;
}

}  // namespace tarnbook::compile
