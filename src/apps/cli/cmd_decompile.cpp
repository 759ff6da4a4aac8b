#include <cstdio>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "ConsoleUi.h"
#include "compile/Decompile.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"

namespace {

int runDecompile(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tarnbook-cli decompile FILE.chm OUTDIR\n");
        return 2;
    }
    using namespace tarnbook;
    // Arguments come from the terminal in UTF-8; the core speaks CP932.
    const std::string chm = platform::coreArgumentPath(args[0]);
    const std::string folder = platform::coreArgumentPath(args[1]);
    ConsoleStatus status;
    status.beginProgressWindow("decompile", 100);
    const auto result =
        compile::decompileChm(chm, folder, [&status](std::size_t done, std::size_t total) {
            if (total) status.setProgressWindowPosition(static_cast<int>(done * 100 / total));
        });
    status.endProgressWindow();
    if (!result.opened) {
        std::fprintf(stderr, "tarnbook-cli decompile: %s\n",
                     platform::cp932ToUtf8(result.error).c_str());
        return 1;
    }
    for (const auto& w : result.warnings)
        std::fprintf(stderr, "warning: %s\n", platform::cp932ToUtf8(w).c_str());
    if (result.filesWritten == 0 && !result.warnings.empty()) {
        std::fprintf(stderr, "tarnbook-cli decompile: nothing could be read from %s\n",
                     args[0].c_str());
        return 1;
    }
    std::printf("%zu files written to %s (%zu entries)\n", result.filesWritten, args[1].c_str(),
                result.entries);
    return 0;
}

CliRegistration reg{{"decompile", "FILE.chm OUTDIR",
                     "unpack every file of a compiled help file into a folder", &runDecompile}};

}  // namespace
