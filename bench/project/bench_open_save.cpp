// Opening and saving a 100,000-node project, each measured against the physical limit in the
// same run: reading the same bytes with `cat` (open) and copying them with `cp` (save).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "project/ContentsFile.h"
#include "project/ProjectLifecycle.h"
#include "project/Workspace.h"
#include "ui/NullControls.h"

using namespace tarnbook;

namespace {

constexpr int kNodes = 100000;

struct Headless {
    ui::NullPrompts prompts;
    ui::NullPreview preview;
    ui::NullEditor editor;
    ui::NullStatus status;
    project::Workspace ws{prompts, preview, editor, status};
};

// A realistic project: headings with a few levels of content, Japanese titles and keywords.
const std::string& projectFile() {
    static std::string xhp = [] {
        std::string dir =
            (std::filesystem::temp_directory_path() / "tarnbook-bench-project").string();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        Headless h;
        project::TreeNode* heading = nullptr;
        for (int i = 0; i < kNodes; ++i) {
            auto n = std::make_unique<project::TreeNode>();
            n->data.Title = "\x83\x79\x81\x5b\x83\x57 " + std::to_string(i);  // ページ n
            n->data.HTML =
                "chapter" + std::to_string(i / 100) + "\\page" + std::to_string(i) + ".htm";
            n->data.KeyWord = u"索引キーワード" + std::u16string(20, u'k');
            if (i % 100 == 0) {
                n->data.ItemType = project::TData::kHeading;
                n->data.ImageIndex = 0;
                heading = h.ws.tree.appendChild(nullptr, std::move(n));
            } else {
                h.ws.tree.appendChild(heading, std::move(n));
            }
        }
        project::writeContentsFile(dir + "/big.XHC", h.ws.tree);
        platform::IniFile ini;
        ini.writeInteger("XHP", "Version", 249);
        ini.writeInteger("XHP", "Count", kNodes);
        ini.writeString("XHP", "PDir", dir);
        ini.writeString("XHP", "Name", "big");
        ini.writeString("XHP", "XHP", dir + "/big.XHP");
        ini.writeString("XHP", "XHC", dir + "/big.XHC");
        ini.saveAs(dir + "/big.XHP");
        return dir + "/big.XHP";
    }();
    return xhp;
}

std::string folder() {
    return std::filesystem::path(projectFile()).parent_path().string();
}

void runShell(benchmark::State& state, const std::string& command) {
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("command failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kNodes) * 1848);
}

void BM_CatContentsFile(benchmark::State& state) {
    runShell(state, "cat '" + folder() + "/big.XHC' > /dev/null");
}

void BM_OpenProject(benchmark::State& state) {
    projectFile();
    for (auto _ : state) {
        Headless h;
        if (!project::openProject(h.ws, projectFile()) || h.ws.tree.count() != kNodes)
            state.SkipWithError("open failed");
        benchmark::DoNotOptimize(h.ws.tree.count());
        state.PauseTiming();  // freeing the tree is not part of opening
        h.ws.tree.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kNodes) * 1848);
}

void BM_CpContentsFile(benchmark::State& state) {
    runShell(state, "cp '" + folder() + "/big.XHC' '" + folder() + "/copy.XHC'");
}

void BM_SaveProject(benchmark::State& state) {
    Headless h;
    project::openProject(h.ws, projectFile());
    for (auto _ : state) {
        h.ws.markChanged();
        project::saveProject(h.ws);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kNodes) * 1848);
}

}  // namespace

BENCHMARK(BM_CatContentsFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_CpContentsFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK_MAIN();
