#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/IniFile.h"

// The two settings dialogs that steer imports, without widgets: the import filter (folder
// names a folder import skips, extensions that may be dropped) and the address filter.
// Texts are CP932 as the settings file holds them. Neither form saves the file; the caller
// does after apply().
namespace tarnbook::folderimport {

struct CheckedEntry {
    std::string text;
    bool checked = false;
};

class ImportFilterForm {
  public:
    explicit ImportFilterForm(const platform::IniFile& settings);

    std::vector<CheckedEntry>& skipFolders() { return skipFolders_; }
    std::vector<CheckedEntry>& droppable() { return droppable_; }

    // Appends an unticked folder name; false (nothing added) for a text the settings file
    // cannot hold as a key of its own: empty, with '=' or a line break, or listed already.
    bool addSkipFolder(const std::string& name);
    // Removes the entry at `index`; false when there is none.
    bool removeSkipFolder(std::size_t index);

    // Replaces the skip list and writes every drop extension with 1 or 0.
    void apply(platform::IniFile& settings) const;

  private:
    std::vector<CheckedEntry> skipFolders_;
    std::vector<CheckedEntry> droppable_;
};

class UrlFilterForm {
  public:
    explicit UrlFilterForm(const platform::IniFile& settings);

    const std::vector<std::string>& entries() const { return entries_; }
    // Appends a text; false, as for the folder names, for one the settings cannot hold.
    bool add(const std::string& text);
    bool remove(std::size_t index);

    // Replaces the section: one key per entry with an empty value, in list order.
    void apply(platform::IniFile& settings) const;

  private:
    std::vector<std::string> entries_;
};

}  // namespace tarnbook::folderimport
