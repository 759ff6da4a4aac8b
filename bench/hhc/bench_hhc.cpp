// The compiler driver's cost over chmcmd alone on the same project: the driver adapts the
// project, runs chmcmd, repairs and reads back the result and writes the log. Both runs
// alternate in each iteration so that machine noise hits them alike.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "hhc/HhcDriver.h"
#include "hhc/HhpFile.h"
#include "hhc/ProjectAdapter.h"
#include "platform/Files.h"
#include "platform/Process.h"

namespace {

using namespace tarnbook;

// A project of `pages` Shift_JIS pages in three folders, as the program's writer makes it.
std::string makeProject(const std::string& dir, int pages) {
    std::string files, toc;
    for (int i = 0; i < pages; ++i) {
        const std::string folder = i % 3 == 0 ? "" : (i % 3 == 1 ? "guide/" : "ref/sub/");
        const std::string name = folder + "page" + std::to_string(i) + ".htm";
        platform::createFolders(dir + "/_RESOURCE/" + folder);
        std::string body =
            "<HTML><HEAD><TITLE>\x95\x5C\x8E\xA6 " + std::to_string(i) + "</TITLE></HEAD><BODY>";
        for (int p = 0; p < 20; ++p)
            body += "<p>\x83\x5C\x83\x74\x83\x67 paragraph " + std::to_string(p) +
                    " <a href=\"page" + std::to_string((i + p) % pages) + ".htm\">next</a></p>\r\n";
        platform::writeFileAtomic(dir + "/_RESOURCE/" + name, body + "</BODY></HTML>\r\n");
        std::string stored = name;
        for (auto& c : stored)
            if (c == '/') c = '\\';
        files += "_RESOURCE\\" + stored + "\r\n";
        toc += "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"P" +
               std::to_string(i) + "\">\r\n<param name=\"Local\" value=\"_RESOURCE\\" + stored +
               "\">\r\n</OBJECT>\r\n";
    }
    platform::writeFileAtomic(dir + "/Help.hhc",
                              "<HTML><BODY><UL>\r\n" + toc + "</UL></BODY></HTML>\r\n");
    platform::writeFileAtomic(
        dir + "/Help.HHP",
        "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=Help.chm\r\n"
        "Contents file=Help.hhc\r\nDefault topic=_RESOURCE\\page0.htm\r\n"
        "Error log file=" +
            dir +
            "/Compile.Log\r\nFull-text search=Yes\r\n"
            "Language=0x0411 Japanese\r\nTitle=\x95\x5C\x8E\xA6\r\n\r\n"
            "[FILES]\r\n" +
            files);
    return dir + "/Help.HHP";
}

void BM_DriverOverChmcmd(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const std::string dir = platform::tempFolder() + "/tarnbook-bench-hhc-" + std::to_string(pages);
    platform::deleteFolderTree(dir);
    platform::createFolders(dir);
    const std::string hhp = makeProject(dir, pages);

    // What chmcmd alone needs: the same project with '/' separators, prepared once.
    auto adapted =
        hhc::adaptProject(hhc::HhpFile::parse(platform::readFile(hhp)), {dir, "Help.HHP"});
    adapted.hhp.setOption("Compiled file", dir + "/alone.chm");
    platform::writeFileAtomic(dir + "/alone.hhp", adapted.hhp.toBytes());

    double chmcmdSeconds = 0, driverSeconds = 0;
    for (auto _ : state) {
        using clock = std::chrono::steady_clock;
        auto t0 = clock::now();
        std::string out;
        if (platform::runAndCapture("chmcmd", {"alone.hhp"}, dir, &out) != 0) {
            state.SkipWithError("chmcmd failed");
            break;
        }
        auto t1 = clock::now();
        const auto r = hhc::compileProject(hhp, hhc::chmcmdOptions());
        auto t2 = clock::now();
        if (!r.produced) {
            state.SkipWithError(("driver failed: " + r.failure).c_str());
            break;
        }
        chmcmdSeconds += std::chrono::duration<double>(t1 - t0).count();
        driverSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    const double n = static_cast<double>(state.iterations());
    if (n > 0) {
        state.counters["chmcmd_ms"] = chmcmdSeconds / n * 1000;
        state.counters["driver_ms"] = driverSeconds / n * 1000;
        state.counters["overhead_pct"] = (driverSeconds / chmcmdSeconds - 1) * 100;
    }
    platform::deleteFolderTree(dir);
}
BENCHMARK(BM_DriverOverChmcmd)
    ->Arg(50)
    ->Arg(400)
    ->Iterations(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
