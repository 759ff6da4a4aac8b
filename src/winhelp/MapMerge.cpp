#include "winhelp/MapMerge.h"

#include <map>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "winhelp/TextLines.h"

namespace tarnbook::winhelp {

namespace platform = tarnbook::platform;

MapMergeResult mergeMapDefinitions(std::string_view existing, const std::vector<MapEntry>& map,
                                   const std::vector<std::string>& titles) {
    MapMergeResult r;
    r.lines = platform::splitLines(existing);
    std::map<std::string, long long> defined;  // upper-cased ID -> number
    for (const auto& line : r.lines) {
        std::string_view l = trimmed(line);
        if (!startsWithNoCase(l, "#define")) continue;
        l = trimmed(l.substr(7));
        const auto blank = l.find_first_of(" \t");
        if (blank == std::string_view::npos) continue;
        long long n = 0;
        if (parseHelpNumber(l.substr(blank), &n))
            defined.emplace(platform::upperCaseSjis(l.substr(0, blank)), n);
    }
    for (std::size_t i = 0; i < map.size(); ++i) {
        const MapEntry& e = map[i];
        const std::string key = platform::upperCaseSjis(e.id);
        auto it = defined.find(key);
        if (it != defined.end()) {
            if (it->second != e.number)
                r.warnings.push_back("map: " + platform::cp932ToUtf8(e.id) + " is defined as " +
                                     std::to_string(it->second) + " already; " +
                                     std::to_string(e.number) + " was not written");
            continue;
        }
        defined.emplace(key, e.number);
        if (i < titles.size() && !titles[i].empty()) r.lines.push_back("// " + titles[i]);
        r.lines.push_back("#define " + e.id + " " + std::to_string(e.number));
        ++r.added;
    }
    return r;
}

}  // namespace tarnbook::winhelp
