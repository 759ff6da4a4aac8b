#include "project/ResourcePaths.h"

#include "platform/Cp932.h"
#include "platform/Paths.h"

namespace tarnbook::project {

std::string resourceKey(std::string_view projectFolder) {
    std::string pdir = platform::backslashSeparators(projectFolder);
    while (!pdir.empty() && pdir.back() == '\\') pdir.pop_back();
    return platform::upperCaseSjis(pdir + "\\_RESOURCE\\");
}

bool startsWithResourcePrefix(std::string_view path) {
    if (path.size() < kResourcePrefix.size()) return false;
    return platform::upperCaseSjis(platform::backslashSeparators(
               path.substr(0, kResourcePrefix.size()))) == kResourcePrefix;
}

std::string resourceRelativeName(std::string_view projectFolder, std::string_view path) {
    const std::string stored = platform::backslashSeparators(path);
    if (!projectFolder.empty()) {
        const std::string key = resourceKey(projectFolder);
        // Upper-casing keeps every byte at its place, so the index holds for the original text.
        const std::size_t at = platform::findSjis(platform::upperCaseSjis(stored), key);
        if (at != std::string::npos) return stored.substr(at + key.size());
    }
    if (startsWithResourcePrefix(path)) return stored.substr(kResourcePrefix.size());
    return std::string(path);
}

}  // namespace tarnbook::project
