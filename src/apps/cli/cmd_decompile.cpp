#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "build/Decompile.h"

namespace {

int runDecompile(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tarnbook-cli decompile FILE.chm OUTDIR\n");
        return 2;
    }
    const bool tty = isatty(fileno(stderr));
    const auto result =
        tarnbook::build::decompileChm(args[0], args[1], [tty](std::size_t done, std::size_t total) {
            if (tty && total) std::fprintf(stderr, "\r%3zu%%", done * 100 / total);
        });
    if (tty) std::fprintf(stderr, "\r    \r");
    if (!result.opened) {
        std::fprintf(stderr, "tarnbook-cli decompile: %s\n", result.error.c_str());
        return 1;
    }
    for (const auto& w : result.warnings) std::fprintf(stderr, "warning: %s\n", w.c_str());
    std::printf("%zu files written to %s (%zu entries)\n", result.filesWritten, args[1].c_str(),
                result.entries);
    return 0;
}

CliRegistration reg{{"decompile", "FILE.chm OUTDIR",
                     "unpack every file of a compiled help file into a folder", &runDecompile}};

}  // namespace
