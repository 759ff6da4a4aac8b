#include <cstdio>

#include "CliCommand.h"
#include "HeadlessWorkspace.h"
#include "folderimport/FolderImport.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/ProgramArguments.h"
#include "project/ProjectLifecycle.h"

namespace {

namespace platform = tarnbook::platform;
namespace fi = tarnbook::folderimport;

void printSummary(const fi::ImportReport& r) {
    std::printf("headings: %zu\n", r.folders);
    std::printf("content items: %zu\n", r.items);
    std::printf("files: %zu written, %zu unchanged, %zu renamed, %zu kept, %zu failed\n", r.written,
                r.unchanged, r.renamed, r.kept, r.failed);
    std::printf("skipped: %zu\n", r.skipped);
    std::printf("warnings: %zu\n", r.warnings.size());
    for (const std::string& w : r.warnings) std::printf("  %s\n", w.c_str());
}

int runImportFolder(const std::vector<std::string>& args) {
    bool fileNameTitles = false;
    std::vector<std::string> paths;
    for (const std::string& a : args) {
        if (a == "--file-name-titles")
            fileNameTitles = true;
        else
            paths.push_back(a);
    }
    if (paths.size() != 2) {
        std::fprintf(stderr,
                     "usage: tarnbook-cli import-folder PROJECT.XHP FOLDER [--file-name-titles]\n");
        return 2;
    }
    const std::string project = platform::coreArgumentPath(paths[0]);
    const std::string folder = platform::coreArgumentPath(paths[1]);
    if (!platform::folderExists(folder)) {
        std::fprintf(stderr, "tarnbook-cli import-folder: no folder %s\n", paths[1].c_str());
        return 2;
    }
    // Without a person to ask, an existing file is never replaced.
    HeadlessWorkspace h(tarnbook::ui::Answer::No);
    auto& ws = h.ws;
    if (!tarnbook::project::openProject(ws, project)) {
        std::fprintf(stderr, "tarnbook-cli import-folder: cannot open project %s\n",
                     paths[0].c_str());
        return 1;
    }
    try {
        const fi::ImportReport r = fi::importFolderTree(
            ws, folder, fileNameTitles ? fi::TitleSource::FileName : fi::TitleSource::TitleTag,
            [&](int percent) {
                ws.status.setProgress(percent);
                return true;
            });
        ws.status.setProgress(0);
        if (r.folders == 0) {
            for (const std::string& w : r.warnings)
                std::fprintf(stderr, "tarnbook-cli import-folder: %s\n", w.c_str());
            return 1;
        }
        tarnbook::project::saveProject(ws);
        printSummary(r);
        return r.failed > 0 ? 1 : 0;
    } catch (const platform::IoError& e) {
        std::fprintf(stderr, "tarnbook-cli import-folder: %s\n", e.what());
        return 1;
    }
}

CliRegistration reg{{"import-folder", "PROJECT.XHP FOLDER [--file-name-titles]",
                     "import a folder tree into a project: folders become headings, pages items",
                     &runImportFolder}};

}  // namespace
