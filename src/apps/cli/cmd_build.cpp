#include <cstdio>
#include <filesystem>

#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "compile/CompileLogPage.h"
#include "compile/CompileRun.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/ProgramArguments.h"
#include "project/ProjectLifecycle.h"
#include "project/Settings.h"

namespace {

namespace platform = tarnbook::platform;
namespace compile = tarnbook::compile;

int runBuild(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tarnbook-cli build PROJECT.XHP\n");
        return 2;
    }
    const std::string path = platform::coreArgumentPath(args[0]);
    if (!platform::fileExists(path)) {
        std::fprintf(stderr, "tarnbook-cli build: no project file %s\n", args[0].c_str());
        return 2;
    }
    HeadlessWorkspace h(tarnbook::ui::Answer::Yes);
    auto& ws = h.ws;
    const std::string compiler = tarnbook::project::resolveCompiler(
        ws.settings.readString("SYSTEM", "HHC"), platform::programFolder());
    if (compiler.empty()) {
        std::fprintf(stderr,
                     "tarnbook-cli build: no compiler: set HHC in the settings or put "
                     "tarnbook-hhc on PATH\n");
        return 1;
    }
    ws.settings.writeString("SYSTEM", "HHC", compiler);  // for this run only

    if (!tarnbook::project::openProject(ws, path)) {
        std::fprintf(stderr, "tarnbook-cli build: cannot open project %s\n", args[0].c_str());
        return 1;
    }
    if (!compile::canCompile(ws)) {
        std::fprintf(stderr, "tarnbook-cli build: the project has no contents to compile\n");
        return 1;
    }
    const compile::CompileResult r = compile::goCompile(ws);
    h.status.endProgressWindow();

    int errors = 0, warnings = 0;
    for (const auto& f : compile::compileLogFindings(r.logPath)) {
        std::printf("%s\n", platform::cp932ToUtf8(f.line).c_str());
        (f.error ? errors : warnings)++;
    }
    if (!r.logPath.empty() && platform::fileExists(r.logPath))
        std::printf("log: %s\n",
                    platform::nativePath(r.htmlLog.empty() ? r.logPath : r.htmlLog).c_str());
    switch (r.outcome) {
        case compile::CompileOutcome::Succeeded:
            std::printf("compiled: %s (%d errors, %d warnings)\n",
                        platform::nativePath(r.chmPath).c_str(), errors, warnings);
            return errors == 0 ? 0 : 1;
        case compile::CompileOutcome::NoCompiler:
            std::fprintf(stderr, "tarnbook-cli build: the compiler %s does not exist\n",
                         platform::cp932ToUtf8(ws.settings.readString("SYSTEM", "HHC")).c_str());
            return 1;
        case compile::CompileOutcome::CannotStart:
            std::fprintf(stderr, "tarnbook-cli build: the compiler could not be started: %s\n",
                         r.error.c_str());
            return 1;
        case compile::CompileOutcome::Failed:
            std::fprintf(stderr,
                         "tarnbook-cli build: no compiled help was produced (exit %d, %d errors)\n",
                         r.exitCode, errors);
            return 1;
        case compile::CompileOutcome::Declined:
            return 1;
    }
    return 1;
}

CliRegistration reg{{"build", "PROJECT.XHP",
                     "compile a project into a .chm with the configured help compiler", &runBuild}};

}  // namespace
