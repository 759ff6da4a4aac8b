#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/IniFile.h"

namespace tarnbook::project {

class Workspace;

// The last six project files opened or saved, most recent first, and the submenu that shows
// them. The list lives in section KeepFileNames of the settings file and is written straight
// into the file, not only through the in-memory settings object that rewrites the whole file.
// Every caller hands in upper-cased paths; entries compare by the project's path rules, so
// "\\" and "/" forms of one path are one entry.
class RecentProjects {
  public:
    static constexpr int kCapacity = 6;
    static constexpr const char* kSection = "KeepFileNames";

    // Shows the list in the submenu and loads it from the settings file at `settingsPath`.
    // With `mirror` set, every store also puts the section into that in-memory settings
    // object, so its next whole rewrite of the file carries the current list.
    void attach(const std::string& settingsPath, platform::IniFile* mirror = nullptr);
    bool attached() const { return attached_; }

    // Puts a path at the head (a path already listed moves there, the others keep their
    // order), then forgets names whose file is gone. Ignored before attach() and for "".
    void add(const std::string& path);
    // Writes the six FileName keys into the settings file (unused ones empty).
    void store();
    // At shutdown, after the settings object's last write: forgets names whose file is gone
    // and stores the list once more, so it has the last word on the section.
    void storeFinal();

    const std::array<std::string, kCapacity>& names() const { return names_; }

    // The submenu: a separator above the entries once the first name was added, then one
    // entry per slot made so far. Slots whose name was forgotten are not offered.
    bool hasSeparator() const { return entries_ > 0; }
    int entrySlots() const { return entries_; }
    std::vector<std::string> menuEntries() const;
    // Called whenever the submenu's entries may have changed.
    std::function<void()> onMenuChanged;

    // The drop-down of the open button: re-reads the section from the file on disk into
    // `settings` (the list may have been written since the object last read the file) and
    // returns the listed paths whose file exists, most recent first.
    static std::vector<std::string> dropDownEntries(platform::IniFile& settings);

  private:
    void refresh();
    void writeSection(platform::IniFile& ini) const;

    std::string settingsPath_;
    platform::IniFile* mirror_ = nullptr;
    bool attached_ = false;
    std::array<std::string, kCapacity> names_{};
    int entries_ = 0;
};

// Opens a project chosen in the open dialog and puts it at the head of the list.
bool openChosenInDialog(Workspace& ws, const std::string& path);

// Opens a project chosen in the submenu. The list is not reordered: the next save moves it.
bool openRecentEntry(Workspace& ws, const std::string& path);

// Opens a project chosen in the open button's drop-down: when the file still exists, opens
// it, then puts it at the head of the list and stores the list.
bool openFromDropDown(Workspace& ws, RecentProjects& recent, const std::string& path);

}  // namespace tarnbook::project
