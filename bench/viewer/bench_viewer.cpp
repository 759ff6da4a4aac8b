// Opening a compiled help of 500 pages for viewing (directory check, system entries,
// contents, index, the full-text search over every page) and producing its first page,
// against extract_chmLib unpacking the same file to disk. Both alternate in each iteration
// so that machine noise hits them alike.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "hhc/HhcDriver.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "viewer/EntryTypes.h"
#include "viewer/HelpLibrary.h"

namespace {

using namespace tarnbook;

// A Workshop project of `pages` Shift_JIS pages in three folders, with contents and index.
std::string makeProject(const std::string& dir, int pages) {
    std::string files, toc, index;
    for (int i = 0; i < pages; ++i) {
        const std::string folder = i % 3 == 0 ? "" : (i % 3 == 1 ? "guide/" : "ref/sub/");
        const std::string name = folder + "page" + std::to_string(i) + ".htm";
        platform::createFolders(dir + "/" + folder);
        std::string body =
            "<HTML><HEAD><TITLE>\x95\x5C\x8E\xA6 " + std::to_string(i) + "</TITLE></HEAD><BODY>";
        for (int p = 0; p < 20; ++p)
            body += "<p>\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41 paragraph " +
                    std::to_string(p) + " \x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x90\xE0\x96\xBE</p>\r\n";
        platform::writeFileAtomic(dir + "/" + name, body + "</BODY></HTML>\r\n",
                                  platform::Durability::Unsynced);
        files += name + "\r\n";
        const std::string item =
            "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" "
            "value=\"P" +
            std::to_string(i) + "\">\r\n<param name=\"Local\" value=\"" + name +
            "\">\r\n</OBJECT>\r\n";
        toc += item;
        index += item;
    }
    platform::writeFileAtomic(dir + "/Help.hhc",
                              "<HTML><BODY><UL>\r\n" + toc + "</UL></BODY></HTML>\r\n");
    platform::writeFileAtomic(dir + "/Help.hhk",
                              "<HTML><BODY><UL>\r\n" + index + "</UL></BODY></HTML>\r\n");
    platform::writeFileAtomic(
        dir + "/Help.hhp",
        "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=Help.chm\r\n"
        "Contents file=Help.hhc\r\nIndex file=Help.hhk\r\nDefault topic=page0.htm\r\n"
        "Full-text search=Yes\r\nLanguage=0x0411 Japanese\r\nTitle=\x95\x5C\x8E\xA6\r\n\r\n"
        "[FILES]\r\n" +
            files);
    return dir + "/Help.hhp";
}

void BM_ViewerOpenAgainstExtract(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const std::string dir =
        platform::tempFolder() + "/tarnbook-bench-viewer-" + std::to_string(pages);
    platform::deleteFolderTree(dir);
    platform::createFolders(dir);
    const auto built = hhc::compileProject(makeProject(dir, pages));
    if (!built.produced) {
        state.SkipWithError(("cannot compile the project: " + built.failure).c_str());
        return;
    }
    const std::string chm = dir + "/Help.chm";
    if (platform::findExecutable("extract_chmLib").empty()) {
        state.SkipWithError("extract_chmLib (libchm-bin) is not installed");
        return;
    }

    double viewerSeconds = 0, extractSeconds = 0;
    for (auto _ : state) {
        using clock = std::chrono::steady_clock;
        const std::string out = dir + "/extracted";
        platform::deleteFolderTree(out);
        auto t0 = clock::now();
        std::string output;
        if (platform::runAndCapture("extract_chmLib", {chm, out}, "", &output) != 0) {
            state.SkipWithError("extract_chmLib failed");
            break;
        }
        auto t1 = clock::now();
        std::string error;
        auto lib = viewer::HelpLibrary::open(chm, &error);
        const auto first = lib ? lib->defaultPage() : std::nullopt;
        const auto bytes = first ? lib->read(first->book, first->path) : std::nullopt;
        if (!bytes) {
            state.SkipWithError(("the viewer cannot open the file: " + error).c_str());
            break;
        }
        benchmark::DoNotOptimize(viewer::pageForView(*bytes, lib->languageId(0)));
        benchmark::DoNotOptimize(lib->search("日本").size());
        auto t2 = clock::now();
        extractSeconds += std::chrono::duration<double>(t1 - t0).count();
        viewerSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    const double n = static_cast<double>(state.iterations());
    if (n > 0) {
        state.counters["extract_ms"] = extractSeconds / n * 1000;
        state.counters["viewer_ms"] = viewerSeconds / n * 1000;
        state.counters["ratio"] = viewerSeconds / extractSeconds;
    }
    platform::deleteFolderTree(dir);
}
BENCHMARK(BM_ViewerOpenAgainstExtract)
    ->Arg(500)
    ->Iterations(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
