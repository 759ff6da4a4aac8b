#include <cstdio>

#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "platform/Cp932.h"
#include "platform/ProgramArguments.h"
#include "project/ProjectJson.h"
#include "project/ProjectLifecycle.h"

namespace {

int runDump(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarnbook-cli dump PROJECT.XHP\n");
        return 2;
    }
    // Reads the previous layout too ("はい" to its question); dump never writes anything.
    HeadlessWorkspace h(tarnbook::ui::Answer::Yes);
    const std::string path = tarnbook::platform::coreArgumentPath(args[0]);
    if (!tarnbook::project::openProject(h.ws, path)) {
        std::fprintf(stderr, "tarnbook-cli dump: cannot open project %s\n", args[0].c_str());
        return 1;
    }
    const std::string json = tarnbook::project::projectToJson(h.ws);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
}

CliRegistration reg{
    {"dump", "PROJECT.XHP", "print the project and its contents tree as JSON", &runDump}};

}  // namespace
