#include "platform/Memory.h"

#include <fstream>
#include <string>

namespace tarnbook::platform {
namespace {

// The value in kB of a "Key:   123 kB" line of a /proc file, in bytes.
std::int64_t procValue(const char* file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        try {
            return std::stoll(line.substr(key.size())) * 1024;
        } catch (...) {
            return 0;
        }
    }
    return 0;
}

}  // namespace

std::int64_t processResidentBytes() {
    return procValue("/proc/self/status", "VmRSS:");
}

std::int64_t totalMemoryBytes() {
    return procValue("/proc/meminfo", "MemTotal:");
}

}  // namespace tarnbook::platform
