#include <cstdio>

#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "platform/Cp932.h"
#include "platform/ProgramArguments.h"
#include "project/ProjectLifecycle.h"

namespace {

int runSave(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarnbook-cli save PROJECT.XHP\n");
        return 2;
    }
    HeadlessWorkspace h(tarnbook::ui::Answer::Yes);  // "はい" to the previous-layout question
    const std::string path = tarnbook::platform::coreArgumentPath(args[0]);
    if (!tarnbook::project::openProject(h.ws, path)) {
        std::fprintf(stderr, "tarnbook-cli save: cannot open project %s\n", args[0].c_str());
        return 1;
    }
    h.ws.markChanged();
    tarnbook::project::saveProject(h.ws);
    std::printf("saved %s (%zu nodes)\n", args[0].c_str(), h.ws.tree.count());
    return 0;
}

CliRegistration reg{
    {"save", "PROJECT.XHP", "open a project and save it in the current layout", &runSave}};

}  // namespace
