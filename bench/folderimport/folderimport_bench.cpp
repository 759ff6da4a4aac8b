// Importing a folder of 2,000 small pages (20 sub-folders of 100) into a project, against
// `cp -r` of the same folder in the same run. The ratio ours / cp (wall time) is printed at
// the end.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "folderimport/FolderImport.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "ui/NullControls.h"

namespace {

using namespace tarnbook;

constexpr int kFolders = 20;
constexpr int kPagesPerFolder = 100;

struct Material {
    std::string root = platform::tempFolder() + "/tarnbook-folderimport-bench";
    std::string source = root + "/site";
    Material() {
        platform::deleteFolderTree(root);
        for (int f = 0; f < kFolders; ++f) {
            const std::string folder = source + "/part" + std::to_string(f);
            platform::createFolders(folder);
            for (int p = 0; p < kPagesPerFolder; ++p) {
                const std::string n = std::to_string(f * kPagesPerFolder + p);
                platform::writeFileAtomic(folder + "/page" + n + ".htm",
                                          "<html><head><title>Page " + n +
                                              "</title></head>\r\n<body><p>Text of page " + n +
                                              ", a few words long.</p></body></html>\r\n",
                                          platform::Durability::Unsynced);
            }
        }
    }
    ~Material() { platform::deleteFolderTree(root); }
};

Material& material() {
    static Material m;
    return m;
}

std::map<std::string, double> secondsPerRun;

void BM_ImportFolder(benchmark::State& state) {
    Material& m = material();
    double total = 0;
    for (auto _ : state) {
        const std::string pdir = m.root + "/proj";
        platform::deleteFolderTree(pdir);
        platform::createFolders(pdir + "/_RESOURCE");
        ui::NullPrompts prompts;
        ui::NullPreview preview;
        ui::NullEditor editor;
        ui::NullStatus status;
        project::Workspace ws{prompts, preview, editor, status};
        ws.project.emplace();
        ws.project->writeString("XHP", "PDir", pdir);
        const auto start = std::chrono::steady_clock::now();
        const auto r =
            folderimport::importFolderTree(ws, m.source, folderimport::TitleSource::TitleTag);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
        if (r.items != static_cast<std::size_t>(kFolders * kPagesPerFolder))
            state.SkipWithError("not every page was imported");
    }
    secondsPerRun["ours"] = total / static_cast<double>(state.iterations());
}

void BM_CpSameFolder(benchmark::State& state) {
    Material& m = material();
    double total = 0;
    for (auto _ : state) {
        const std::string copy = m.root + "/copy";
        platform::deleteFolderTree(copy);
        std::string output;
        const auto start = std::chrono::steady_clock::now();
        if (platform::runAndCapture("cp", {"-r", m.source, copy}, m.root, &output) != 0) {
            state.SkipWithError("cannot run cp");
            return;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
    }
    secondsPerRun["cp"] = total / static_cast<double>(state.iterations());
}

BENCHMARK(BM_ImportFolder)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CpSameFolder)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (secondsPerRun.count("ours") && secondsPerRun.count("cp")) {
        const double ours = secondsPerRun["ours"], cp = secondsPerRun["cp"];
        std::printf("%d pages: ours %.1f ms, cp -r %.1f ms, ratio ours/cp %.2fx\n",
                    kFolders * kPagesPerFolder, ours * 1e3, cp * 1e3, ours / cp);
    }
    benchmark::Shutdown();
    return 0;
}
