// The import's line filters on arbitrary bytes: no crash, lines only grow, and taking out the
// marks the address filter inserted gives back the line exactly (letter case included).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "folderimport/PageFilters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    // The first line names the filtered address; the rest is the page line.
    const std::size_t cut = in.find('\n');
    const std::string url = cut == std::string::npos ? "ads" : in.substr(0, cut);
    const std::string line = cut == std::string::npos ? in : in.substr(cut + 1);

    std::string filtered = line;
    const bool changed = tarnbook::folderimport::neutraliseUrlsInLine(filtered, {url});
    if (changed != (filtered != line)) std::abort();
    if (filtered.size() < line.size()) std::abort();
    // Without underscores of its own, taking the inserted ones out gives back the line.
    if (line.find('_') == std::string::npos && url.find('_') == std::string::npos) {
        std::string restored = filtered;
        std::erase(restored, '_');
        if (restored != line) std::abort();
    }

    std::string scripts = line;
    const bool killed = tarnbook::folderimport::disableScriptsInLine(scripts);
    if (killed != (scripts != line)) std::abort();
    if (scripts.size() < line.size()) std::abort();
    return 0;
}
