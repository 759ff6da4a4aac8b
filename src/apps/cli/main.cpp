#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "BuildInfo.h"
#include "CliCommand.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/Settings.h"

namespace {

void printHelp() {
    std::printf("%s %s - headless tools for compiled HTML Help projects\n\n",
                tarnbook::buildinfo::kProductName, tarnbook::buildinfo::kProductVersion);
    std::printf("Usage: tarnbook-cli [--home DIR] COMMAND [ARGUMENTS]\n\n");
    std::printf("Options:\n");
    std::printf("  --home DIR   use DIR as the app folder (settings, templates, projects)\n");
    std::printf("  --help       show this text\n\n");
    std::printf("Commands:\n");
    for (const auto& c : cliCommands()) {
        std::string head = std::string(c.name) + " " + c.usage;
        std::printf("  %-36s %s\n", head.c_str(), c.summary);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::size_t i = 0;
    while (i < args.size()) {
        if (args[i] == "--help" || args[i] == "-h") {
            printHelp();
            return 0;
        }
        if (args[i] == "--home") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "tarnbook-cli: --home needs a folder\n");
                return 2;
            }
            // Stored settings name folders below it: keep them valid from any working folder.
            const auto home = std::filesystem::absolute(args[i + 1]).lexically_normal();
            tarnbook::platform::setAppFolderOverride(tarnbook::platform::corePath(home.string()));
            i += 2;
            continue;
        }
        break;
    }
    // Every run works with a prepared app folder, as the program's first start leaves it.
    try {
        const std::string app = tarnbook::platform::appFolder();
        tarnbook::project::prepareAppFolder(tarnbook::project::FirstStartEnvironment::detect(app));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnbook-cli: cannot prepare the app folder: %s\n", e.what());
        return 1;
    }
    if (i >= args.size()) {
        printHelp();
        return 0;
    }
    const std::string name = args[i];
    for (const auto& c : cliCommands()) {
        if (name == c.name) {
            try {
                return c.run(std::vector<std::string>(args.begin() + i + 1, args.end()));
            } catch (const std::exception& e) {
                std::fprintf(stderr, "tarnbook-cli %s: %s\n", c.name, e.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "tarnbook-cli: unknown command '%s' (see --help)\n", name.c_str());
    return 2;
}
