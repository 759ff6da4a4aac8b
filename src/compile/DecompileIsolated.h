#pragma once
#include <chrono>
#include <cstdint>
#include <string>

#include "compile/Decompile.h"

// Decompiling a compiled help file from outside: the CHM library runs in a child process, so
// a file that makes it crash, loop or allocate without end costs only that child.
namespace tarnbook::compile {

struct IsolationLimits {
    // The child is ended when it finishes no entry for this long.
    std::chrono::seconds idle{10};
    std::uint64_t memoryBytes = std::uint64_t{1} << 30;
};

// decompileChm in a child process. The result is what the child reported: on a crash, a
// hang or a memory overrun, `error` says so and the counts and warnings cover the entries
// handled before it; the files already written stay.
DecompileResult decompileIsolated(const std::string& chmPath, const std::string& outputFolder,
                                  const DecompileProgress& progress = {},
                                  const DecompileOptions& options = {},
                                  const IsolationLimits& limits = {});

}  // namespace tarnbook::compile
