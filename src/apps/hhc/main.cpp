// tarnbook-hhc [--backend own|chmcmd] PROJECT.hhp: compiles a Workshop project, with our own
// writer or with chmcmd, and writes the error log the project names. Exit status 0 only when
// the compiled file was produced.
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "BuildInfo.h"
#include "hhc/HhcDriver.h"
#include "platform/Cp932.h"
#include "platform/Process.h"
#include "platform/ProgramArguments.h"

int main(int argc, char** argv) {
    using namespace tarnbook::hhc;
    // Interrupted, the driver takes its back end with it.
    tarnbook::platform::endChildrenOnSignals();
    DriverOptions options;
    std::string project;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--backend" || arg.starts_with("--backend=")) {
            std::string_view name = arg.size() > 9 ? arg.substr(10) : std::string_view();
            if (arg == "--backend") name = i + 1 < argc ? std::string_view(argv[++i]) : "";
            if (name == "own") {
                options.backend = Backend::Own;
            } else if (name == "chmcmd") {
                options.backend = Backend::Chmcmd;
            } else {
                std::fprintf(stderr, "tarnbook-hhc: --backend takes own or chmcmd\n");
                return 2;
            }
        } else if (arg.starts_with("--chmcmd=")) {
            options.chmcmd = tarnbook::platform::corePath(
                tarnbook::platform::NativePath(std::string(arg.substr(9))));
        } else if (arg.starts_with("--time-limit=") || arg.starts_with("--memory-limit=")) {
            const bool time = arg[2] == 't';
            const std::string_view value = arg.substr(arg.find('=') + 1);
            unsigned long long n = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (ec != std::errc() || end != value.data() + value.size() || n == 0 ||
                n > 1000000000) {
                std::fprintf(stderr, "tarnbook-hhc: %s takes a positive whole number\n",
                             time ? "--time-limit" : "--memory-limit");
                return 2;
            }
            if (time)
                options.timeLimit = std::chrono::seconds(n);
            else
                options.memoryLimitBytes = static_cast<std::uint64_t>(n) << 20;
        } else if (arg == "--version") {
            std::printf("tarnbook-hhc %s\n", tarnbook::buildinfo::kProductVersion);
            return 0;
        } else if (arg == "--help" || arg == "-h") {
            std::printf(
                "Usage: tarnbook-hhc [--backend own|chmcmd] [--chmcmd=PROGRAM] PROJECT.hhp\n"
                "Compiles an HTML Help Workshop project into a .chm and writes its error log.\n\n"
                "Options:\n"
                "  --backend own|chmcmd   the built-in writer or chmcmd (default: own)\n"
                "  --chmcmd=PROGRAM       the chmcmd program to run (default: chmcmd on PATH)\n"
                "  --time-limit=SECONDS   stop chmcmd after this long (default: 300 + 1 per 20 "
                "files)\n"
                "  --memory-limit=MB      address space chmcmd may use (default: 4096)\n"
                "  --version              print the version and exit\n"
                "  -h, --help             show this text\n\n"
                "Exit status:\n"
                "  0  the compiled help file was written\n"
                "  1  the project could not be compiled (see the log)\n"
                "  2  usage error\n");
            return 0;
        } else if (project.empty()) {
            // The argument is a native (UTF-8) path; the core speaks CP932.
            project = tarnbook::platform::coreArgumentPath(arg);
        } else {
            std::fprintf(stderr, "tarnbook-hhc: only one project file may be given\n");
            return 2;
        }
    }
    if (project.empty()) {
        std::fprintf(stderr,
                     "Usage: tarnbook-hhc [--backend own|chmcmd] [--chmcmd=PROGRAM] PROJECT.hhp\n");
        return 2;
    }
    try {
        const DriverResult r = compileProject(project, options);
        // The log file keeps the project's 8-bit text; the terminal gets UTF-8.
        const std::string shown = tarnbook::platform::cp932ToUtf8(r.logText);
        std::fwrite(shown.data(), 1, shown.size(), stdout);
        if (!r.failure.empty())
            std::fprintf(stderr, "tarnbook-hhc: %s\n",
                         tarnbook::platform::cp932ToUtf8(r.failure).c_str());
        return r.produced ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnbook-hhc: %s\n", e.what());
        return 1;
    }
}
