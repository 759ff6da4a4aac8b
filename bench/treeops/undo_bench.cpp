// Undo of a delete of a 10,000-node subtree in a 100,000-node project, against the delete
// itself. The history keeps the deleted nodes, so the undo only links them back in: it should
// cost about what the delete costs, whatever the size of the rest of the tree.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "contents/TreeOps.h"
#include "contents/UndoHistory.h"
#include "support/Fakes.h"

namespace {

using tarnbook::contents::UndoHistory;
using tarnbook::project::TreeNode;
using tarnbook::project::Workspace;

constexpr int kHeadings = 10;  // each with 99 children of 100 leaves: 10,000 nodes
constexpr int kChildren = 99;
constexpr int kLeaves = 100;

struct Project {
    tarnbook::testing::FakePrompts prompts;
    tarnbook::testing::FakePreview preview;
    tarnbook::testing::FakeEditor editor;
    tarnbook::testing::FakeStatus status;
    Workspace ws{prompts, preview, editor, status};
    tarnbook::contents::TreeHooks hooks;

    Project() {
        ws.project.emplace();
        for (int h = 0; h < kHeadings; ++h) {
            TreeNode* head = add(nullptr, "h" + std::to_string(h));
            for (int c = 0; c < kChildren; ++c) {
                TreeNode* child = add(head, "c" + std::to_string(c));
                for (int l = 0; l < kLeaves; ++l) add(child, "l" + std::to_string(l));
            }
        }
    }
    TreeNode* add(TreeNode* parent, const std::string& title) {
        auto n = std::make_unique<TreeNode>();
        n->data.Title = title;
        n->syncViewFromData();
        TreeNode* placed = ws.tree.appendChild(parent, std::move(n));
        placed->data.Level = placed->depth();
        return placed;
    }
    // Deletes the middle heading with its subtree as the delete command does.
    void deleteMiddle(UndoHistory* history) {
        ws.tree.selectOnly(ws.tree.topLevel(kHeadings / 2));
        if (!history) return tarnbook::contents::deleteSelection(ws, hooks);
        UndoHistory::Scope step(*history, "削除");
        tarnbook::contents::deleteSelection(ws, hooks);
    }
};

void BM_DeleteSubtree(benchmark::State& state) {
    Project p;
    UndoHistory history(p.ws);
    for (auto _ : state) {
        p.deleteMiddle(&history);
        state.PauseTiming();
        history.undo();
        state.ResumeTiming();
    }
    state.counters["nodes"] = static_cast<double>(p.ws.tree.count());
}

void BM_UndoDeleteSubtree(benchmark::State& state) {
    Project p;
    UndoHistory history(p.ws);
    for (auto _ : state) {
        state.PauseTiming();
        p.deleteMiddle(&history);
        state.ResumeTiming();
        history.undo();
    }
    state.counters["nodes"] = static_cast<double>(p.ws.tree.count());
}

void BM_RedoDeleteSubtree(benchmark::State& state) {
    Project p;
    UndoHistory history(p.ws);
    p.deleteMiddle(&history);
    history.undo();
    for (auto _ : state) {
        history.redo();
        state.PauseTiming();
        history.undo();
        state.ResumeTiming();
    }
}

// The delete without a history frees the 10,000 nodes instead of keeping them.
void BM_DeleteSubtreeWithoutHistory(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<Project>();
        state.ResumeTiming();
        p->deleteMiddle(nullptr);
        state.PauseTiming();
        p.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_DeleteSubtree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoDeleteSubtree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedoDeleteSubtree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteSubtreeWithoutHistory)->Unit(benchmark::kMicrosecond)->Iterations(20);

BENCHMARK_MAIN();
