#pragma once
#include <optional>
#include <string_view>

namespace tarnbook::platform {

// The share of memory still available to programs, in whole percent (0-100), from text in the
// form of /proc/meminfo: MemAvailable of MemTotal. Nothing when either line is missing or
// unreadable, or the total is 0.
std::optional<int> freeMemoryPercentOf(std::string_view meminfo);
// The same for this machine now.
std::optional<int> freeMemoryPercent();

}  // namespace tarnbook::platform
