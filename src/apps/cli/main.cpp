#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "BuildInfo.h"
#include "CliCommand.h"
#include "platform/Files.h"

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
            tarnbook::platform::setAppFolderOverride(args[i + 1]);
            i += 2;
            continue;
        }
        break;
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
