#include "platform/Memory.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace tarnbook::platform {
namespace {

// The number of a "Key:   123 kB" line; nothing when the line is missing or holds no number.
std::optional<std::uint64_t> valueOf(std::string_view text, std::string_view key) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(key) || line.size() == key.size() || line[key.size()] != ':')
            continue;
        line.remove_prefix(key.size() + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        std::uint64_t value = 0;
        const auto [ptr, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (ec != std::errc() || ptr == line.data()) return std::nullopt;
        return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> freeMemoryPercentOf(std::string_view meminfo) {
    const auto total = valueOf(meminfo, "MemTotal");
    const auto available = valueOf(meminfo, "MemAvailable");
    if (!total || !available || *total == 0) return std::nullopt;
    // In long double: kB counts times 100 must not overflow.
    const long double share = static_cast<long double>(std::min(*available, *total)) * 100.0L /
                              static_cast<long double>(*total);
    return static_cast<int>(share);
}

std::optional<int> freeMemoryPercent() {
    std::ifstream in("/proc/meminfo");
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return freeMemoryPercentOf(text.str());
}

}  // namespace tarnbook::platform
