#include "contents/ProjectTextFiles.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Process.h"

namespace tarnbook::contents {

namespace {

struct FileKeys {
    const char* useKey;
    const char* nameKey;
};

FileKeys keysOf(ProjectTextFile which) {
    return which == ProjectTextFile::Map ? FileKeys{"UseMap", "MAP"}
                                         : FileKeys{"UsePopup", "PopupTxt"};
}

bool hasFolderPart(const std::string& name) {
    return name.find_first_of("\\/") != std::string::npos;
}

}  // namespace

std::string editableProjectTextFile(const project::Workspace& ws, ProjectTextFile which) {
    if (!ws.hasProject()) return {};
    const FileKeys keys = keysOf(which);
    if (!ws.project->readBool("XHP", keys.useKey, false)) return {};
    const std::string name = ws.project->readString("XHP", keys.nameKey);
    if (name.empty()) return {};
    const std::string path = hasFolderPart(name) ? name : ws.projectFolder() + "\\" + name;
    return platform::fileExists(path) ? path : std::string();
}

void editProjectTextFile(project::Workspace& ws, ProjectTextFile which) {
    const std::string path = editableProjectTextFile(ws, which);
    if (path.empty()) return;
    const std::string editor = ws.settings.readString("SYSTEM", "EditTXT");
    // The settings write a single blank for "no editor".
    const bool ownEditor = !editor.empty() && editor != " ";
    const bool started = ownEditor ? platform::startDetached(editor, {path})
                                   : platform::openWithDefaultProgram(path);
    if (!started)
        ws.prompts.warn("[" + platform::cp932ToUtf8(path) + "] を開くプログラムを起動できません。",
                        ui::Buttons::Ok);
}

}  // namespace tarnbook::contents
