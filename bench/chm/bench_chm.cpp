// The built-in writer against chmcmd on the largest corpus project (AttacheCase: about 2 MB
// of pages and pictures), with the physical limit measured in the same run: reading every
// input byte (what `cat` of the project would cost). Reports both times, both output sizes
// and the ratios own/chmcmd.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "hhc/HhcDriver.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace {

using namespace tarnbook;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char* const kProject = "hibara-AttacheCase-help";

double seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void BM_OwnWriterAgainstChmcmd(benchmark::State& state) {
    const std::string source = std::string(TARNBOOK_CORPUS_DIR) + "/hhp/" + kProject;
    if (!fs::exists(source)) {
        state.SkipWithError(("corpus project missing: " + source).c_str());
        return;
    }
    const std::string dir = platform::tempFolder() + "/tarnbook-bench-chm";
    fs::remove_all(dir);
    fs::copy(source, dir, fs::copy_options::recursive);
    for (const auto& e : fs::recursive_directory_iterator(dir))
        fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
    const std::string hhp = dir + "/AttacheCase.hhp";

    double own = 0, chmcmd = 0, cat = 0;
    std::uint64_t ownBytes = 0, chmcmdBytes = 0, inputBytes = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        inputBytes = 0;
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file() && e.path().extension() != ".chm")
                inputBytes += platform::readFile(e.path().string()).size();
        const auto t1 = Clock::now();
        const auto a = hhc::compileProject(hhp);
        const auto t2 = Clock::now();
        ownBytes = static_cast<std::uint64_t>(platform::fileSize(a.chmPath));
        const auto b = hhc::compileProject(hhp, hhc::chmcmdOptions());
        const auto t3 = Clock::now();
        chmcmdBytes = static_cast<std::uint64_t>(platform::fileSize(b.chmPath));
        if (!a.produced || !b.produced) {
            state.SkipWithError(("a back end failed: " + a.failure + b.failure).c_str());
            break;
        }
        cat += seconds(t0, t1);
        own += seconds(t1, t2);
        chmcmd += seconds(t2, t3);
        state.SetIterationTime(seconds(t1, t2));
    }
    const double n = static_cast<double>(state.iterations());
    if (n > 0 && chmcmd > 0) {
        state.counters["read_inputs_ms"] = cat / n * 1000;
        state.counters["own_ms"] = own / n * 1000;
        state.counters["chmcmd_ms"] = chmcmd / n * 1000;
        state.counters["time_ratio"] = own / chmcmd;
        state.counters["own_over_read_limit"] = own / cat;
        state.counters["input_bytes"] = static_cast<double>(inputBytes);
        state.counters["own_bytes"] = static_cast<double>(ownBytes);
        state.counters["chmcmd_bytes"] = static_cast<double>(chmcmdBytes);
        state.counters["size_ratio"] = static_cast<double>(ownBytes) / chmcmdBytes;
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_OwnWriterAgainstChmcmd)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
