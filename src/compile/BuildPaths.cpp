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
    if (!ws.projectFolder().empty() || !ws.project) return ws.projectFolder();
    return ws.project->readString("XHP", "PDir");
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
