// Writing the Workshop project file, the contents file and the index file of a 100,000-node
// project, against `cp` of a file of the same total size in the same run. The ratio
// ours / cp (wall time) is printed at the end; the goal is within 3x. Our files are written
// durably (flushed to disk before the rename), so a second baseline runs `cp` followed by
// `sync` of the copy, which is the same amount of work for the disk.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "compile/HelpProjectWriter.h"
#include "compile/SitemapWriter.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "project/Workspace.h"
#include "ui/NullControls.h"

extern char** environ;

namespace {

using namespace tarnbook;

constexpr int kNodes = 100000;

// A project of 100 chapters, each a heading with ten sections of 99 pages (levels 0-2);
// every page has two keywords and a sub-keyword, every tenth a context ID.
struct BigProject {
    ui::NullPrompts prompts;
    ui::NullPreview preview;
    ui::NullEditor editor;
    ui::NullStatus status;
    project::Workspace ws{prompts, preview, editor, status};
    std::string folder;

    BigProject() {
        char pattern[] = "/tmp/tarnbook-bench-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary folder");
        folder = pattern;
        platform::IniFile ini;
        ini.writeString("XHP", "PDir", folder);
        ini.writeString("XHP", "Name", "Big");
        ini.writeString("XHP", "HelpName", platform::utf8ToCp932("大きなヘルプ"));
        ini.writeBool("XHP", "UseMap", true);
        ini.writeString("XHP", "MAP", "Big.MAP");
        ws.project = std::move(ini);

        const std::string page = platform::utf8ToCp932("ページ");
        const std::u16string keyword = platform::utf8ToUtf16("キーワード");
        int n = 0;
        auto add = [&](project::TreeNode* parent, int image) {
            auto node = std::make_unique<project::TreeNode>();
            auto& d = node->data;
            d.ImageIndex = image;
            d.ItemType = image < 8 ? project::TData::kHeading : project::TData::kContent;
            d.Title = page + " " + std::to_string(n);
            if (image >= 8) {
                d.HTML =
                    "chapter" + std::to_string(n / 1000) + "\\page" + std::to_string(n) + ".htm";
                d.KeyWord = keyword + platform::utf8ToUtf16(std::to_string(n) + ",index" +
                                                            std::to_string(n % 97));
                d.SubKeyWord = u"sub";
                if (n % 10 == 0) d.ContextID = "IDH_" + std::to_string(n);
            }
            ++n;
            return ws.tree.appendChild(parent, std::move(node));
        };
        while (n < kNodes) {
            auto* chapter = add(nullptr, 0);
            for (int s = 0; s < 10 && n < kNodes; ++s) {
                auto* section = add(chapter, 2);
                for (int p = 0; p < 98 && n < kNodes; ++p) add(section, 8);
            }
        }
        ws.tree.refreshNodeStatus();
        ws.project->writeInteger("XHP", "Count", static_cast<long long>(ws.tree.count()));
    }
    ~BigProject() { platform::deleteFolderTree(folder); }

    std::int64_t outputBytes() const {
        return platform::fileSize(compile::helpProjectFilePath(ws)) +
               platform::fileSize(compile::contentsFilePath(ws)) +
               platform::fileSize(compile::indexFilePath(ws));
    }
};

BigProject& bigProject() {
    static BigProject p;
    return p;
}

std::map<std::string, double> secondsPerRun;

void generate(BigProject& p) {
    compile::writeHelpProjectFile(p.ws);
    compile::writeIndexFile(p.ws);
    compile::writeContentsFile(p.ws);
}

void BM_GenerateWorkshopFiles(benchmark::State& state) {
    BigProject& p = bigProject();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        generate(p);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
    }
    secondsPerRun["ours"] = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * p.outputBytes());
    state.counters["nodes"] = kNodes;
}

bool run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void copyBaseline(benchmark::State& state, bool flush) {
    BigProject& p = bigProject();
    generate(p);
    const std::int64_t bytes = p.outputBytes();
    const std::string source = p.folder + "/same-size.bin";
    const std::string target = p.folder + "/copy.bin";
    platform::writeFileAtomic(source, std::string(static_cast<std::size_t>(bytes), 'x'));
    double total = 0;
    for (auto _ : state) {
        ::unlink(target.c_str());
        const auto start = std::chrono::steady_clock::now();
        if (!run({"cp", source, target}) || (flush && !run({"sync", target}))) {
            state.SkipWithError("cannot run cp or sync");
            return;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
    }
    secondsPerRun[flush ? "cp+sync" : "cp"] = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_CpSameBytes(benchmark::State& state) {
    copyBaseline(state, false);
}
void BM_CpAndSyncSameBytes(benchmark::State& state) {
    copyBaseline(state, true);
}

BENCHMARK(BM_GenerateWorkshopFiles)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CpSameBytes)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CpAndSyncSameBytes)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (secondsPerRun.count("ours")) {
        const double ours = secondsPerRun["ours"];
        std::printf("%d nodes, %.1f MB written in %.1f ms\n", kNodes,
                    static_cast<double>(bigProject().outputBytes()) / 1e6, ours * 1e3);
        for (const char* base : {"cp", "cp+sync"})
            if (secondsPerRun.count(base))
                std::printf("  against %-8s %.1f ms: ratio ours/%s %.2fx\n", base,
                            secondsPerRun[base] * 1e3, base, ours / secondsPerRun[base]);
    }
    benchmark::Shutdown();
    return 0;
}
