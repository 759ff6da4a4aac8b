// The four moves and delete on contents trees of 1k, 10k and 100k nodes. Each operation
// should cost the depth, the subtree and the siblings involved, not the size of the tree, so
// the time per operation should stay flat across the three sizes.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "contents/TreeOps.h"
#include "support/Fakes.h"

namespace {

using tarnbook::contents::deleteSelection;
using tarnbook::contents::insertNodeAfter;
using tarnbook::project::TData;
using tarnbook::project::TreeNode;
using tarnbook::project::Workspace;

struct Bench {
    tarnbook::testing::FakePrompts prompts;
    tarnbook::testing::FakePreview preview;
    tarnbook::testing::FakeEditor editor;
    tarnbook::testing::FakeStatus status;
    Workspace ws{prompts, preview, editor, status};
    TreeNode* middle = nullptr;  // a leaf in the middle of the tree

    // Headings of 10 children with 10 leaves each, as many as make up `size` nodes.
    explicit Bench(int size) {
        ws.project.emplace();
        int made = 0;
        for (int h = 0; made < size; ++h) {
            TreeNode* head = add(nullptr, "h" + std::to_string(h));
            ++made;
            for (int c = 0; c < 10 && made < size; ++c) {
                TreeNode* child = add(head, "c" + std::to_string(c));
                ++made;
                for (int l = 0; l < 10 && made < size; ++l, ++made) {
                    TreeNode* leaf = add(child, "l" + std::to_string(l));
                    if (!middle && made >= size / 2 && l == 5) middle = leaf;
                }
            }
        }
        ws.tree.selectOnly(middle);
    }
    TreeNode* add(TreeNode* parent, const std::string& title) {
        auto n = std::make_unique<TreeNode>();
        n->data.Title = title;
        n->syncViewFromData();
        TreeNode* placed = ws.tree.appendChild(parent, std::move(n));
        placed->data.Level = placed->depth();
        return placed;
    }
};

// Each iteration runs a move and the move that undoes it, so the tree keeps its shape; the
// time reported is per pair.
void pair(benchmark::State& state, bool (*there)(Workspace&), bool (*back)(Workspace&)) {
    Bench b(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        there(b.ws);
        back(b.ws);
        b.ws.saved = true;
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_MoveUpDown(benchmark::State& state) {
    pair(state, tarnbook::contents::moveUp, tarnbook::contents::moveDown);
}
void BM_MoveRightLeft(benchmark::State& state) {
    pair(state, tarnbook::contents::moveRight, tarnbook::contents::moveLeft);
}

// Deletes the middle leaf and puts a new one in its place.
void BM_Delete(benchmark::State& state) {
    Bench b(static_cast<int>(state.range(0)));
    tarnbook::contents::TreeHooks hooks;
    for (auto _ : state) {
        TreeNode* doomed = b.ws.tree.focused();
        TreeNode* before = tarnbook::project::ContentTree::prev(doomed);
        deleteSelection(b.ws, hooks);
        b.ws.tree.selectOnly(before);
        TData d;
        d.Title = "l5";
        b.ws.tree.selectOnly(insertNodeAfter(b.ws, d));
        if (b.prompts.shown.size() > 1000) b.prompts.shown.clear();
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_MoveUpDown)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveRightLeft)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Delete)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
