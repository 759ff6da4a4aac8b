#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "BuildInfo.h"
#include "CliCommand.h"
#include "ConsoleUi.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/ProgramArguments.h"
#include "project/Settings.h"

namespace {

void printHelp() {
    std::printf("%s %s - headless tools for compiled HTML Help projects\n\n",
                tarnbook::buildinfo::kProductName, tarnbook::buildinfo::kProductVersion);
    std::printf("Usage: tarnbook-cli [--home DIR] [--quiet] COMMAND [ARGUMENTS]\n\n");
    std::printf("Options:\n");
    std::printf("  --home DIR   use DIR as the app folder (settings, templates, projects)\n");
    std::printf("  -q, --quiet  no progress bar (it is shown only when stderr is a terminal)\n");
    std::printf("  --version    print the version and exit\n");
    std::printf("  -h, --help   show this text\n\n");
    std::printf("Commands:\n");
    for (const auto& c : cliCommands()) {
        std::string head = std::string(c.name) + " " + c.usage;
        std::printf("  %-36s %s\n", head.c_str(), c.summary);
    }
    std::printf("\nExit status:\n");
    std::printf("  0  success\n");
    std::printf("  1  the job ran and found problems (compile errors, broken references)\n");
    std::printf("  2  usage error, or a file or folder could not be read or written\n");
}

}  // namespace

int main(int argc, char** argv) {
    // Ctrl+C or a kill during a build or decompile takes the child processes with it.
    tarnbook::platform::endChildrenOnSignals();
    tarnbook::platform::ProgramArguments parsed;
    try {
        parsed = tarnbook::platform::parseProgramArguments({argv + 1, argv + argc});
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "tarnbook-cli: %s\n", e.what());
        return 2;
    }
    if (parsed.version) {
        std::printf("tarnbook-cli %s\n", tarnbook::buildinfo::kProductVersion);
        return 0;
    }
    if (parsed.help) {
        printHelp();
        return 0;
    }
    setConsoleProgressWanted(!parsed.quiet);
    // Stored settings name folders below it: it is absolute from any working folder.
    if (parsed.home) tarnbook::platform::setAppFolderOverride(*parsed.home);
    const std::vector<std::string>& args = parsed.rest;
    // Every run works with a prepared app folder, as the program's first start leaves it.
    try {
        const std::string app = tarnbook::platform::appFolder();
        tarnbook::project::prepareAppFolder(tarnbook::project::FirstStartEnvironment::detect(app));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnbook-cli: cannot prepare the app folder: %s\n", e.what());
        return 2;
    }
    if (args.empty()) {
        printHelp();
        return 0;
    }
    const std::string& name = args.front();
    for (const auto& c : cliCommands()) {
        if (name == c.name) {
            try {
                return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
            } catch (const tarnbook::platform::IoError& e) {
                std::fprintf(stderr, "tarnbook-cli %s: %s\n", c.name, e.what());
                return 2;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "tarnbook-cli %s: %s\n", c.name, e.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "tarnbook-cli: unknown command '%s' (see --help)\n", name.c_str());
    return 2;
}
