#include <cstdio>
#include <filesystem>

#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "platform/Cp932.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
#include "project/ProjectLifecycle.h"
#include "winhelp/HpjConversion.h"

namespace {

namespace platform = tarnbook::platform;

int runImportHpj(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    bool overwrite = false;
    for (const auto& a : args) {
        if (a == "--overwrite")
            overwrite = true;
        else
            files.push_back(a);
    }
    if (files.size() != 2) {
        std::fprintf(stderr, "usage: tarnbook-cli import-hpj [--overwrite] PROJECT.XHP FILE.hpj\n");
        return 2;
    }
    const std::string hpj = platform::coreArgumentPath(files[1]);
    if (!platform::fileExists(hpj)) {
        std::fprintf(stderr, "tarnbook-cli import-hpj: no WinHelp project %s\n", files[1].c_str());
        return 2;
    }
    // Pages that exist already are replaced only with --overwrite; otherwise the converted ones
    // get free names beside them.
    HeadlessWorkspace h(overwrite ? tarnbook::ui::Answer::Yes : tarnbook::ui::Answer::No);
    auto& ws = h.ws;
    if (!tarnbook::project::openProject(ws, platform::coreArgumentPath(files[0]))) {
        std::fprintf(stderr, "tarnbook-cli import-hpj: cannot open project %s\n", files[0].c_str());
        return 1;
    }
    tarnbook::winhelp::ConversionResult r;
    try {
        r = tarnbook::winhelp::convertWinHelpProject(
            hpj, {ws.projectFolder(), *ws.project, ws.tree, ws.prompts},
            [&](int percent) { ws.status.setProgress(percent); });
    } catch (const platform::IoError& e) {
        std::fprintf(stderr, "\ntarnbook-cli import-hpj: %s\n", e.what());
        return 1;
    }
    ws.status.setProgress(0);
    for (const auto& w : r.warnings) std::printf("warning: %s\n", w.c_str());
    if (r.nodes > 0) {
        ws.markChanged();
        tarnbook::project::saveProject(ws);
    }
    std::printf("%zu pages, %zu pictures, %zu contents nodes", r.pages.size(), r.pictures.size(),
                r.nodes);
    if (!r.mapFile.empty()) std::printf(", map file %s", platform::nativePath(r.mapFile).c_str());
    std::printf("\n%s\n", r.summary().c_str());
    return r.topics > 0 ? 0 : 1;
}

CliRegistration reg{{"import-hpj", "[--overwrite] PROJECT.XHP FILE.hpj",
                     "convert a WinHelp project (.hpj, .rtf, .cnt) into a project", &runImportHpj}};

}  // namespace
