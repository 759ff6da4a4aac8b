// Opening a 10,000-node project in the main window, against the core's reading of the same
// project into a window-less workspace; the difference is the window's own share (model,
// view, status and title).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <string>

#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "project/ContentsFile.h"
#include "project/ProjectLifecycle.h"
#include "project/Workspace.h"
#include "shell/MainWindow.h"
#include "shell/TextEditor.h"
#include "shell/WebPreview.h"
#include "ui/NullControls.h"

using namespace tarnbook;

namespace {

constexpr int kNodes = 10000;

// Headings of 24 pages each, with Japanese titles, the first heading open.
const std::string& projectFile() {
    static std::string xhp = [] {
        const std::string dir =
            (std::filesystem::temp_directory_path() / "tarnbook-bench-shell").string();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir + "/_RESOURCE");
        project::ContentTree tree;
        project::TreeNode* heading = nullptr;
        for (int i = 0; i < kNodes; ++i) {
            auto n = std::make_unique<project::TreeNode>();
            if (i % 25 == 0) {
                n->data.ItemType = project::TData::kHeading;
                n->data.Title = platform::utf8ToCp932("第" + std::to_string(i / 25 + 1) + "章");
                n->syncViewFromData();
                heading = tree.appendChild(nullptr, std::move(n));
                tree.setExpanded(heading, i == 0);
            } else {
                n->data.ImageIndex = 8;
                n->data.HTML = "page" + std::to_string(i) + ".htm";
                n->data.Title = platform::utf8ToCp932("トピック " + std::to_string(i) + " の説明");
                n->syncViewFromData();
                tree.appendChild(heading, std::move(n));
            }
        }
        const std::string xhc = dir + "/bench.XHC";
        const std::size_t count = project::writeContentsFile(xhc, tree);
        platform::IniFile ini;
        ini.writeString("XHP", "Name", "bench");
        ini.writeString("XHP", "PDir", dir);
        ini.writeString("XHP", "XHP", dir + "/bench.XHP");
        ini.writeString("XHP", "XHC", xhc);
        ini.writeInteger("XHP", "Version", 249);
        ini.writeInteger("XHP", "Count", static_cast<long long>(count));
        ini.saveAs(dir + "/bench.XHP");
        return dir + "/bench.XHP";
    }();
    return xhp;
}

void BM_CoreOpen(benchmark::State& state) {
    ui::NullPrompts prompts;
    ui::NullPreview preview;
    ui::NullEditor editor;
    ui::NullStatus status;
    project::Workspace ws(prompts, preview, editor, status);
    for (auto _ : state) {
        benchmark::DoNotOptimize(project::openProject(ws, projectFile()));
    }
    state.counters["nodes"] = static_cast<double>(ws.tree.preorder().size());
}
BENCHMARK(BM_CoreOpen)->Unit(benchmark::kMillisecond);

void BM_WindowOpen(benchmark::State& state) {
    ui::NullPrompts prompts;
    shell::MainWindow w(&prompts);
    w.resize(1024, 720);
    w.show();
    QApplication::processEvents();
    for (auto _ : state) {
        benchmark::DoNotOptimize(w.openProjectFile(projectFile()));
        // Until the view has laid out and drawn the new tree.
        QApplication::processEvents();
    }
    state.counters["nodes"] = static_cast<double>(w.workspace().tree.preorder().size());
}
BENCHMARK(BM_WindowOpen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
