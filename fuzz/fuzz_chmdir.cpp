// The CHM directory reader and its repair take a compiled help file's header as it comes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compile/ChmDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarnbook::compile;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ChmDirectory d;
    std::string error;
    const bool ok = readChmDirectory(bytes, &d, &error);
    bool changed = false;
    if (repairChmDirectoryBytes(bytes, &changed, &error) != ok) __builtin_trap();
    if (changed) {
        // A repaired directory reads back with nothing left to repair.
        ChmDirectory after;
        if (!readChmDirectory(bytes, &after, &error) || after.needsRepair()) __builtin_trap();
    }
    return 0;
}
