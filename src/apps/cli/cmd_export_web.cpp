#include <cstdio>
#include <filesystem>

#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
#include "project/ProjectLifecycle.h"
#include "webexport/ExportWebForm.h"

namespace {

namespace platform = tarnbook::platform;
namespace webexport = tarnbook::webexport;

int runExportWeb(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    std::string css;
    bool cssGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--css" && i + 1 < args.size()) {
            css = args[++i].empty() ? std::string() : platform::coreArgumentPath(args[i]);
            cssGiven = true;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) {
        std::fprintf(stderr,
                     "usage: tarnbook-cli export-web PROJECT.XHP OUTDIR [--css FILE.css]\n");
        return 2;
    }
    const std::string path = platform::coreArgumentPath(positional[0]);
    if (!platform::fileExists(path)) {
        std::fprintf(stderr, "tarnbook-cli export-web: no project file %s\n",
                     positional[0].c_str());
        return 2;
    }
    HeadlessWorkspace h(tarnbook::ui::Answer::Yes);
    auto& ws = h.ws;
    if (!tarnbook::project::openProject(ws, path)) {
        std::fprintf(stderr, "tarnbook-cli export-web: cannot open project %s\n",
                     positional[0].c_str());
        return 1;
    }
    auto form = webexport::ExportWebForm::fromProject(*ws.project);
    form.outputFolder = platform::coreArgumentPath(positional[1]);
    if (cssGiven) form.styleSheet = css;
    const auto result = webexport::runWebExport(
        form, *ws.project, ws.projectFolder(), ws.tree, h.prompts,
        [&](std::size_t done, std::size_t total) {
            h.status.setProgress(total ? static_cast<int>(done * 100 / total) : 100);
        });
    h.status.endProgressWindow();
    if (!result) return 1;
    for (const auto& w : result->warnings) std::printf("%s\n", w.c_str());
    std::printf("exported: %s (%zu pages, %zu other files, %zu broken links in the pages)\n",
                platform::nativePath(result->startFile).c_str(), result->pages, result->files,
                result->brokenLinks);
    return 0;
}

CliRegistration reg{{"export-web", "PROJECT.XHP OUTDIR [--css FILE.css]",
                     "export the project as a static web site (UTF-8, side bar, index, search)",
                     &runExportWeb}};

}  // namespace
