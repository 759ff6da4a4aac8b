#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

#include "BuildInfo.h"
#include "CliCommand.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
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
    tarnbook::platform::ProgramArguments parsed;
    try {
        parsed = tarnbook::platform::parseProgramArguments({argv + 1, argv + argc});
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "tarnbook-cli: %s\n", e.what());
        return 2;
    }
    if (parsed.help) {
        printHelp();
        return 0;
    }
    // Stored settings name folders below it: it is absolute from any working folder.
    if (parsed.home) tarnbook::platform::setAppFolderOverride(*parsed.home);
    const std::vector<std::string>& args = parsed.rest;
    // Every run works with a prepared app folder, as the program's first start leaves it.
    try {
        const std::string app = tarnbook::platform::appFolder();
        tarnbook::project::prepareAppFolder(tarnbook::project::FirstStartEnvironment::detect(app));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnbook-cli: cannot prepare the app folder: %s\n", e.what());
        return 1;
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
            } catch (const std::exception& e) {
                std::fprintf(stderr, "tarnbook-cli %s: %s\n", c.name, e.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "tarnbook-cli: unknown command '%s' (see --help)\n", name.c_str());
    return 2;
}
