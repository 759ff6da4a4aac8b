#include <cstdio>
#include <exception>

#include "CliArgs.h"
#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "maintenance/Analysis.h"
#include "maintenance/CheckReport.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "project/ProjectLifecycle.h"

namespace {

// Exit codes for scripts: nothing broken, something broken, the check could not run.
constexpr int kClean = 0;
constexpr int kBroken = 1;
constexpr int kError = 2;

int runCheck(const std::vector<std::string>& args) {
    bool json = false;
    const std::string project = projectWithFlag(args, "--json", &json);
    if (project.empty()) {
        std::fprintf(stderr, "usage: tarnbook-cli check PROJECT.XHP [--json]\n");
        return kError;
    }
    HeadlessWorkspace h(tarnbook::ui::Answer::Yes);
    if (!tarnbook::project::openProject(h.ws, tarnbook::platform::utf8ToCp932(project))) {
        std::fprintf(stderr, "tarnbook-cli check: cannot open project %s\n", project.c_str());
        return kError;
    }
    // A hand-written project file may lack PDir; the project is where its file is.
    const std::string folder = h.ws.projectFolder().empty()
                                   ? tarnbook::platform::folderPart(h.ws.project->path())
                                   : h.ws.projectFolder();
    std::optional<tarnbook::maintenance::AnalysisResult> result;
    try {
        result = tarnbook::maintenance::analyze(
            tarnbook::maintenance::projectAnalysisInput(folder, h.ws.tree, *h.ws.project));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarnbook-cli check: %s\n", e.what());
        return kError;
    }
    const std::string report = json ? tarnbook::maintenance::checkReportJson(*result)
                                    : tarnbook::maintenance::checkReportText(*result);
    std::fwrite(report.data(), 1, report.size(), stdout);
    return result->hasBroken() ? kBroken : kClean;
}

CliRegistration reg{{"check", "PROJECT.XHP [--json]",
                     "list broken, external and unused references; exit 1 when one is broken",
                     &runCheck}};

}  // namespace
