#include <cstdio>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "ConsoleUi.h"
#include "compile/DecompileIsolated.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"

namespace {

int runDecompile(const std::vector<std::string>& args) {
    using namespace tarnbook;
    compile::DecompileOptions options;
    std::vector<std::string> paths;
    for (const auto& a : args) {
        if (a == "--all")
            options.includeInternal = true;
        else
            paths.push_back(a);
    }
    if (paths.size() != 2) {
        std::fprintf(stderr, "usage: tarnbook-cli decompile FILE.chm OUTDIR [--all]\n");
        return 2;
    }
    // Arguments come from the terminal in UTF-8; the core speaks CP932.
    const std::string chm = platform::coreArgumentPath(paths[0]);
    const std::string folder = platform::coreArgumentPath(paths[1]);
    ConsoleStatus status;
    status.beginProgressWindow("decompile", 100);
    // The CHM library reads the file in a child process: a hostile file cannot crash or
    // hang this one.
    const auto result = compile::decompileIsolated(
        chm, folder,
        [&status](std::size_t done, std::size_t total) {
            if (total) status.setProgressWindowPosition(static_cast<int>(done * 100 / total));
        },
        options);
    status.endProgressWindow();
    for (const auto& w : result.warnings)
        std::fprintf(stderr, "warning: %s\n", platform::cp932ToUtf8(w).c_str());
    if (!result.error.empty())
        std::fprintf(stderr, "tarnbook-cli decompile: %s\n",
                     platform::cp932ToUtf8(result.error).c_str());
    if (!result.opened) return 1;
    std::printf("%zu files written to %s (%zu entries", result.filesWritten, paths[1].c_str(),
                result.entries);
    if (result.internalSkipped)
        std::printf(", %zu internal entries left out; --all writes them", result.internalSkipped);
    std::printf(")\n");
    if (!result.error.empty()) return 1;
    if (result.filesWritten == 0 && !result.warnings.empty()) {
        std::fprintf(stderr, "tarnbook-cli decompile: nothing could be read from %s\n",
                     paths[0].c_str());
        return 1;
    }
    return 0;
}

CliRegistration reg{{"decompile", "FILE.chm OUTDIR [--all]",
                     "unpack the files of a compiled help file into a folder (--all: with the "
                     "container's own entries)",
                     &runDecompile}};

}  // namespace
