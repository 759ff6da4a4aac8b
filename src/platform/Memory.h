#pragma once
#include <cstdint>

namespace tarnbook::platform {

// Resident memory of this process in bytes (0 when it cannot be read).
std::int64_t processResidentBytes();
// Physical memory of the machine in bytes (0 when it cannot be read).
std::int64_t totalMemoryBytes();

}  // namespace tarnbook::platform
