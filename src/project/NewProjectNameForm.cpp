#include "project/NewProjectNameForm.h"

#include <cstring>

#include "platform/Files.h"
#include "platform/Paths.h"

namespace tarnbook::project {

bool NewProjectNameForm::isRefusedKey(char c) {
    return c != '\0' && std::strchr("\\/:,;*?\"<>|", c) != nullptr;
}

void NewProjectNameForm::setName(const std::string& name) {
    name_ = name;
    okEnabled_ = false;
    folderShown_.clear();
    if (name.empty()) return;
    if (!platform::isValidFileName(name)) return;  // pasted text can bypass the key filter
    const std::string folder = projectsFolder_ + "\\" + name;
    if (platform::pathExists(folder)) return;
    folderShown_ = folder;
    okEnabled_ = true;
}

}  // namespace tarnbook::project
