// A move, a delete and an add in the window's contents tree (core tree plus the Qt model and a
// view that follow it row by row) against the same edits on the core tree alone, at 1,000,
// 10,000 and 100,000 nodes: the window's share must not grow with the tree.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeView>
#include <memory>

#include "project/ContentTree.h"
#include "shell/ContentTreeModel.h"

using namespace tarnbook;
using project::ContentTree;
using project::TreeNode;

namespace {

// Headings of 25 nodes each, the first heading open.
void fill(ContentTree& tree, long nodes) {
    TreeNode* heading = nullptr;
    for (long i = 0; i < nodes; ++i) {
        auto n = std::make_unique<TreeNode>();
        n->caption = u"node";
        if (i % 25 == 0) {
            heading = tree.appendChild(nullptr, std::move(n));
            tree.setExpanded(heading, i == 0);
        } else {
            tree.appendChild(heading, std::move(n));
        }
    }
}

// Moves the middle heading's first child to the first heading and back; deletes the moved
// node and adds it again.
void editOnce(ContentTree& tree) {
    TreeNode* first = tree.topLevel(0);
    TreeNode* middle = tree.topLevel(tree.topLevelCount() / 2);
    TreeNode* n = middle->child(0);
    tree.moveTo(n, first, 3);
    tree.moveTo(n, middle, 0);
    auto taken = tree.take(n);
    tree.insertChild(middle, 0, std::move(taken));
}

void BM_CoreTreeEdits(benchmark::State& state) {
    ContentTree tree;
    fill(tree, state.range(0));
    for (auto _ : state) editOnce(tree);
    state.SetItemsProcessed(state.iterations() * 4);
}

void BM_WindowTreeEdits(benchmark::State& state) {
    ContentTree tree;
    fill(tree, state.range(0));
    shell::ContentTreeModel model(tree);
    QTreeView view;
    view.setModel(&model);
    view.resize(300, 600);
    view.show();
    view.expand(model.indexOf(tree.topLevel(0)));
    view.setCurrentIndex(model.indexOf(tree.topLevel(0)->child(1)));
    QApplication::processEvents();
    for (auto _ : state) {
        editOnce(tree);
        QApplication::processEvents();  // the view's deferred layout work counts too
    }
    state.SetItemsProcessed(state.iterations() * 4);
}

}  // namespace

BENCHMARK(BM_CoreTreeEdits)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowTreeEdits)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
