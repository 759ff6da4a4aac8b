#include "folderimport/FilterForms.h"

#include <algorithm>

#include "folderimport/FolderImport.h"
#include "platform/Cp932.h"

namespace tarnbook::folderimport {
namespace {

// A text the settings file can hold as a key of its own: not empty, no '=' or line break
// (they would split or end the key), not read back as a section or a comment, and not equal
// to a listed one (keys are compared without regard to letter case).
bool usableKey(const std::string& text, const std::vector<std::string>& listed) {
    if (text.empty() || text.find_first_of("=\r\n") != std::string::npos) return false;
    if (text.front() == '[' || text.front() == ';') return false;
    const std::string lower = platform::lowerCaseSjis(text);
    return std::none_of(listed.begin(), listed.end(),
                        [&](const std::string& e) { return platform::lowerCaseSjis(e) == lower; });
}

}  // namespace

ImportFilterForm::ImportFilterForm(const platform::IniFile& settings) {
    for (const std::string& key : settings.keyNames("FilterFolder"))
        skipFolders_.push_back({key, settings.readInteger("FilterFolder", key, 0) == 1});
    for (const std::string& ext : droppableExtensions())
        droppable_.push_back({ext, settings.readInteger("FilterImport", ext, 0) == 1});
}

bool ImportFilterForm::addSkipFolder(const std::string& name) {
    std::vector<std::string> listed;
    for (const CheckedEntry& e : skipFolders_) listed.push_back(e.text);
    if (!usableKey(name, listed)) return false;
    skipFolders_.push_back({name, false});
    return true;
}

bool ImportFilterForm::removeSkipFolder(std::size_t index) {
    if (index >= skipFolders_.size()) return false;
    skipFolders_.erase(skipFolders_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void ImportFilterForm::apply(platform::IniFile& settings) const {
    settings.eraseSection("FilterFolder");
    for (const CheckedEntry& e : skipFolders_)
        settings.writeInteger("FilterFolder", e.text, e.checked ? 1 : 0);
    for (const CheckedEntry& e : droppable_)
        settings.writeInteger("FilterImport", e.text, e.checked ? 1 : 0);
}

UrlFilterForm::UrlFilterForm(const platform::IniFile& settings)
    : entries_(settings.keyNames("URLFilter")) {}

bool UrlFilterForm::add(const std::string& text) {
    if (!usableKey(text, entries_)) return false;
    entries_.push_back(text);
    return true;
}

bool UrlFilterForm::remove(std::size_t index) {
    if (index >= entries_.size()) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void UrlFilterForm::apply(platform::IniFile& settings) const {
    settings.eraseSection("URLFilter");
    for (const std::string& e : entries_) settings.writeString("URLFilter", e, "");
}

}  // namespace tarnbook::folderimport
