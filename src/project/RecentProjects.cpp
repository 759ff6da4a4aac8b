#include "project/RecentProjects.h"

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/ProjectLifecycle.h"
#include "project/Workspace.h"

namespace tarnbook::project {
namespace {

std::string keyName(int slot) {
    return "FileName" + std::to_string(slot + 1);
}

// Entries follow the project's path rules: "\\" and "/" separate alike, letter case aside.
bool samePath(const std::string& a, const std::string& b) {
    return platform::upperCaseSjis(platform::slashSeparators(a)) ==
           platform::upperCaseSjis(platform::slashSeparators(b));
}

}  // namespace

void RecentProjects::attach(const std::string& settingsPath, platform::IniFile* mirror) {
    settingsPath_ = settingsPath;
    mirror_ = mirror;
    attached_ = true;
    const platform::IniFile file = platform::IniFile::load(settingsPath_);
    // Oldest first, so that FileName1 ends at the head.
    for (int slot = kCapacity - 1; slot >= 0; --slot) add(file.readString(kSection, keyName(slot)));
}

void RecentProjects::add(const std::string& path) {
    if (!attached_ || path.empty()) return;
    bool listed = false;
    for (const auto& n : names_) listed = listed || samePath(n, path);
    if (listed) {
        std::array<std::string, kCapacity> reordered{};
        reordered[0] = path;
        int next = 1;
        for (const auto& n : names_)
            if (!n.empty() && !samePath(n, path) && next < kCapacity) reordered[next++] = n;
        names_ = reordered;
    } else {
        if (entries_ < kCapacity) ++entries_;
        for (int i = kCapacity - 1; i > 0; --i) names_[i] = names_[i - 1];
        names_[0] = path;
    }
    refresh();
}

void RecentProjects::refresh() {
    for (int i = 0; i < entries_; ++i)
        if (!names_[i].empty() && !platform::fileExists(names_[i])) names_[i].clear();
    if (onMenuChanged) onMenuChanged();
}

std::vector<std::string> RecentProjects::menuEntries() const {
    std::vector<std::string> out;
    for (int i = 0; i < entries_; ++i)
        if (!names_[i].empty()) out.push_back(names_[i]);
    return out;
}

void RecentProjects::writeSection(platform::IniFile& ini) const {
    ini.eraseSection(kSection);
    for (int slot = 0; slot < kCapacity; ++slot)
        ini.writeString(kSection, keyName(slot), names_[slot]);
}

void RecentProjects::store() {
    if (!attached_) return;
    platform::IniFile file = platform::IniFile::load(settingsPath_);
    writeSection(file);
    file.saveAs(settingsPath_);
    if (mirror_) writeSection(*mirror_);
}

void RecentProjects::storeFinal() {
    if (!attached_) return;
    for (auto& n : names_)
        if (!n.empty() && !platform::fileExists(n)) n.clear();
    store();
}

std::vector<std::string> RecentProjects::dropDownEntries(platform::IniFile& settings) {
    if (!settings.path().empty()) {
        const platform::IniFile file = platform::IniFile::load(settings.path());
        settings.eraseSection(kSection);
        for (int slot = 0; slot < kCapacity; ++slot)
            settings.writeString(kSection, keyName(slot), file.readString(kSection, keyName(slot)));
    }
    std::vector<std::string> out;
    for (int slot = 0; slot < kCapacity; ++slot) {
        std::string path = settings.readString(kSection, keyName(slot));
        if (!path.empty() && platform::fileExists(path)) out.push_back(std::move(path));
    }
    return out;
}

bool openChosenInDialog(Workspace& ws, const std::string& path) {
    const bool opened = openProject(ws, path);
    if (opened && ws.rememberRecentProject) ws.rememberRecentProject(platform::upperCaseSjis(path));
    return opened;
}

bool openRecentEntry(Workspace& ws, const std::string& path) {
    return openProject(ws, path);
}

bool openFromDropDown(Workspace& ws, RecentProjects& recent, const std::string& path) {
    if (!platform::fileExists(path)) return false;
    const bool opened = openProject(ws, path);
    recent.add(platform::upperCaseSjis(path));
    recent.store();
    return opened;
}

}  // namespace tarnbook::project
