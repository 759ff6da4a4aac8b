#include <cstdio>
#include <filesystem>

#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "compile/BuildPaths.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "platform/ProgramArguments.h"
#include "project/ProjectLifecycle.h"
#include "workshopimport/WorkshopImport.h"

namespace {

namespace platform = tarnbook::platform;
namespace wi = tarnbook::workshopimport;

void printSummary(const wi::ImportResult& r) {
    std::printf("nodes: %zu\n", r.nodes);
    std::printf("nodes with keywords: %zu", r.nodesWithKeywords);
    if (r.indexTargetsUnmatched > 0)
        std::printf(" (%zu index targets match no imported node)", r.indexTargetsUnmatched);
    std::printf("\nencoding: %s\n", r.encoding.c_str());
    if (!r.helpName.empty()) std::printf("help name: %s\n", r.helpName.c_str());
    if (r.copied)
        std::printf("resources: %zu copied, %zu unchanged, %zu kept, %zu missing\n",
                    r.copy.copied.size(), r.copy.unchanged, r.copy.kept, r.copy.missing.size());
    if (r.keywordsAsResources > 0)
        std::printf("index keywords kept on added resources: %zu\n", r.keywordsAsResources);
    constexpr std::size_t kShown = 10;
    for (std::size_t i = 0; i < r.copy.missing.size() && i < kShown; ++i)
        std::printf("missing: %s\n", platform::cp932ToUtf8(r.copy.missing[i]).c_str());
    if (r.copy.missing.size() > kShown)
        std::printf("missing: ... (%zu more)\n", r.copy.missing.size() - kShown);
    if (r.lostCharacters > 0) {
        std::printf("characters Shift_JIS cannot hold: %zu\n", r.lostCharacters);
        for (const std::string& e : r.lostExamples) std::printf("  %s\n", e.c_str());
    }
    std::printf("warnings: %zu\n", r.warnings.size());
    for (const std::string& w : r.warnings) std::printf("  %s\n", w.c_str());
}

int runImportHhp(const std::vector<std::string>& args) {
    bool copy = false;
    std::vector<std::string> paths;
    for (const std::string& a : args) {
        if (a == "--copy-resources")
            copy = true;
        else
            paths.push_back(a);
    }
    if (paths.size() != 2) {
        std::fprintf(
            stderr, "usage: tarnbook-cli import-hhp PROJECT.XHP WORKSHOP.hhc [--copy-resources]\n");
        return 2;
    }
    const std::string project = platform::coreArgumentPath(paths[0]);
    const std::string contents = platform::coreArgumentPath(paths[1]);
    if (!platform::fileExists(contents)) {
        std::fprintf(stderr, "tarnbook-cli import-hhp: no contents file %s\n", paths[1].c_str());
        return 2;
    }
    HeadlessWorkspace h(tarnbook::ui::Answer::Yes);
    auto& ws = h.ws;
    if (!tarnbook::project::openProject(ws, project)) {
        std::fprintf(stderr, "tarnbook-cli import-hhp: cannot open project %s\n", paths[0].c_str());
        return 1;
    }
    // Without a person to ask, a file of the resource folder is never replaced.
    ConsolePrompts neverReplace(tarnbook::ui::Answer::No);
    wi::ImportOptions options;
    options.copyResources = copy;
    options.prompts = &neverReplace;
    options.progress = [&](int percent) { ws.status.setProgress(percent); };
    try {
        const wi::ImportResult r = wi::importWorkshopProject(
            {ws.tree, *ws.project, tarnbook::compile::projectFolderOf(ws)}, contents, options);
        ws.markChanged();
        tarnbook::project::saveProject(ws);
        h.status.endProgressWindow();
        printSummary(r);
    } catch (const platform::IoError& e) {
        std::fprintf(stderr, "tarnbook-cli import-hhp: %s\n", e.what());
        return 1;
    }
    return 0;
}

CliRegistration reg{{"import-hhp", "PROJECT.XHP WORKSHOP.hhc [--copy-resources]",
                     "append a Workshop project's contents (and index keywords) to a project",
                     &runImportHhp}};

}  // namespace
