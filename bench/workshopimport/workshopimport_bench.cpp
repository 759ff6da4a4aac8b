// Importing a Workshop project of 10,000 contents entries and 10,000 index entries (Shift_JIS,
// the layout the Workshop itself writes), against `cat` of the same two files in the same run.
// The ratio ours / cat (wall time) is printed at the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "project/ContentTree.h"
#include "ui/NullControls.h"
#include "workshopimport/WorkshopImport.h"

extern char** environ;

namespace {

using namespace tarnbook;

constexpr int kEntries = 10000;

std::string entry(int tabs, const std::string& name, const std::string& local) {
    const std::string t(static_cast<std::size_t>(tabs), '\t');
    return t + "<LI> <OBJECT type=\"text/sitemap\">\r\n" + t + "\t<param name=\"Name\" value=\"" +
           name + "\">\r\n" + t + "\t<param name=\"Local\" value=\"" + local + "\">\r\n" + t +
           "\t</OBJECT>\r\n";
}

// 100 books of 99 pages; every page has an index entry with a sub-entry.
struct Workshop {
    std::string folder;
    std::string contents, index;

    Workshop() {
        char pattern[] = "/tmp/tarnbook-bench-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary folder");
        folder = pattern;
        const std::string head =
            "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n</HEAD>"
            "<BODY>\r\n<UL>\r\n";
        const std::string page = platform::utf8ToCp932("ページ");
        const std::string keyword = platform::utf8ToCp932("キーワード");
        std::string hhc = head, hhk = head;
        for (int n = 0; n < kEntries;) {
            hhc +=
                entry(1, page + std::to_string(n), "chapter" + std::to_string(n) + "\\index.htm");
            ++n;
            hhc += "\t<UL>\r\n";
            for (int p = 0; p < 99 && n < kEntries; ++p, ++n) {
                const std::string local =
                    "chapter" + std::to_string(n / 100) + "\\page" + std::to_string(n) + ".htm";
                hhc += entry(2, page + std::to_string(n), local);
                hhk += entry(1, keyword + std::to_string(n), local) + "\t<UL>\r\n" +
                       entry(2, "sub", local) + "\t</UL>\r\n";
            }
            hhc += "\t</UL>\r\n";
        }
        hhc += "</UL>\r\n</BODY></HTML>\r\n";
        hhk += "</UL>\r\n</BODY></HTML>\r\n";
        contents = folder + "/big.hhc";
        index = folder + "/big.hhk";
        platform::writeFileAtomic(contents, hhc);
        platform::writeFileAtomic(index, hhk);
        platform::writeFileAtomic(folder + "/big.hhp", "[OPTIONS]\r\nTitle=Big\r\n");
    }
    ~Workshop() { platform::deleteFolderTree(folder); }

    std::int64_t bytes() const { return platform::fileSize(contents) + platform::fileSize(index); }
};

Workshop& workshop() {
    static Workshop w;
    return w;
}

std::map<std::string, double> secondsPerRun;

void BM_ImportWorkshopProject(benchmark::State& state) {
    Workshop& w = workshop();
    double total = 0;
    std::size_t nodes = 0;
    for (auto _ : state) {
        project::ContentTree tree;
        platform::IniFile ini;
        const auto start = std::chrono::steady_clock::now();
        const auto r =
            workshopimport::importWorkshopProject({tree, ini, w.folder + "/proj"}, w.contents, {});
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
        nodes = r.nodes;
        if (r.nodesWithKeywords != static_cast<std::size_t>(kEntries - kEntries / 100))
            state.SkipWithError("keywords were not attached");
    }
    secondsPerRun["ours"] = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * w.bytes());
    state.counters["nodes"] = static_cast<double>(nodes);
}

bool run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_CatSameBytes(benchmark::State& state) {
    Workshop& w = workshop();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!run({"cat", w.contents, w.index})) {
            state.SkipWithError("cannot run cat");
            return;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        total += took.count();
    }
    secondsPerRun["cat"] = total / static_cast<double>(state.iterations());
    state.SetBytesProcessed(state.iterations() * w.bytes());
}

BENCHMARK(BM_ImportWorkshopProject)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_CatSameBytes)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (secondsPerRun.count("ours") && secondsPerRun.count("cat")) {
        const double ours = secondsPerRun["ours"], cat = secondsPerRun["cat"];
        std::printf("%d entries, %.1f MB read: ours %.1f ms, cat %.1f ms, ratio ours/cat %.2fx\n",
                    kEntries, static_cast<double>(workshop().bytes()) / 1e6, ours * 1e3, cat * 1e3,
                    ours / cat);
    }
    benchmark::Shutdown();
    return 0;
}
