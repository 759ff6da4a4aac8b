#include <cstdio>

#include "CliArgs.h"
#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "contents/MapFile.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/ProgramArguments.h"
#include "project/ProjectLifecycle.h"

namespace {

namespace tb = tarnbook;

int runMap(const std::vector<std::string>& args) {
    bool force = false;
    const std::string project = projectWithFlag(args, "--force", &force);
    if (project.empty()) {
        std::fprintf(stderr, "usage: tarnbook-cli map PROJECT.XHP [--force]\n");
        return 2;
    }
    HeadlessWorkspace h(tb::ui::Answer::Yes);
    if (!tb::project::openProject(h.ws, tb::platform::coreArgumentPath(project))) {
        std::fprintf(stderr, "tarnbook-cli map: cannot open project %s\n", project.c_str());
        return 1;
    }
    const std::string path = tb::contents::mapFilePath(h.ws);
    const std::string shown = tb::platform::cp932ToUtf8(path);
    if (!force && tb::platform::fileExists(path)) {
        std::fprintf(stderr,
                     "tarnbook-cli map: %s exists; give --force to replace it (its numbers are "
                     "kept for the IDs it defines)\n",
                     shown.c_str());
        return 2;
    }
    try {
        const auto duplicates = tb::contents::writeMapFile(h.ws);
        for (const std::string& id : duplicates)
            std::fprintf(stderr, "tarnbook-cli map: context ID %s is used again; written once\n",
                         tb::platform::cp932ToUtf8(id).c_str());
    } catch (const tb::platform::IoError& e) {
        std::fprintf(stderr, "tarnbook-cli map: %s\n", e.what());
        return 1;
    }
    std::printf("wrote %s\n", shown.c_str());
    return 0;
}

CliRegistration reg{{"map", "PROJECT.XHP [--force]",
                     "write the map file of context IDs (an existing one only with --force)",
                     &runMap}};

}  // namespace
