#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "contents/ItemForms.h"
#include "contents/TreeOps.h"
#include "contents/UndoHistory.h"
#include "contents/treeops/TreeText.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/ContentsFile.h"
#include "project/ContentsRecord.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::contents;
using project::ContentTree;
using project::TData;
using project::TreeNode;
using tarnbook::testing::buildTree;
using tarnbook::testing::findTitle;
using tarnbook::testing::levelsAgree;
using tarnbook::testing::treeText;

namespace {

struct OpenProject : tarnbook::testing::WorkspaceFixture {
    int pagesWritten = 0;
    OpenProject() { EXPECT_TRUE(project::openProject(ws, makeProjectFile("P"))); }
    NewPageWriter writer() {
        return [this](const std::string& path, const std::string& title) {
            ++pagesWritten;
            platform::createFolders(platform::folderPart(path));
            platform::writeFileAtomic(path, "<title>" + title + "</title>");
            return path;
        };
    }
};

// The bytes the contents file would hold, and what the tree shows expanded.
std::string contentsBytes(const ContentTree& tree) {
    std::string out;
    std::vector<char> record(project::kCurrentRecordSize);
    project::forEachRecord(tree, [&](const TreeNode& n, int level) {
        project::encodeRecord(n.data, level, record.data());
        out.append(record.data(), record.size());
    });
    return out;
}

std::string expandedFlags(const ContentTree& tree) {
    std::string out;
    tree.forEach([&](TreeNode& n) { out += n.expanded() ? '+' : '-'; });
    return out;
}

struct Snapshot {
    std::string bytes;
    std::string expanded;
};

Snapshot snapshot(const ContentTree& tree) {
    return {contentsBytes(tree), expandedFlags(tree)};
}

std::string randomText(std::mt19937& rng, int maxLength) {
    static const std::string letters = "abcXYZ09_ \x82\xa0\x83\x5c";  // with a CP932 pair
    std::string s;
    const int n = std::uniform_int_distribution<int>(0, maxLength)(rng);
    for (int i = 0; i < n; ++i) s += letters[rng() % letters.size()];
    return platform::encodeCp932(platform::decodeCp932(s));  // whole characters only
}

// A random tree whose nodes fill every field of the record.
void growRandomTree(ContentTree& tree, std::mt19937& rng, int nodes) {
    std::vector<TreeNode*> placed;
    for (int i = 0; i < nodes; ++i) {
        auto n = std::make_unique<TreeNode>();
        TData& d = n->data;
        d.ItemType = rng() % 2 ? TData::kHeading : TData::kContent;
        d.ParentValue = static_cast<std::uint32_t>(rng());
        d.Title = "n" + std::to_string(i) + randomText(rng, 6);
        d.HTML = randomText(rng, 10);
        d.ImageIndex = static_cast<int>(rng() % 16);
        d.KeyWord = platform::decodeCp932(randomText(rng, 8));
        d.SubKeyWord = platform::decodeCp932(randomText(rng, 4));
        d.ContextID = randomText(rng, 5);
        d.Anchor = randomText(rng, 5);
        d.Reserved = randomText(rng, 3);
        n->syncViewFromData();
        TreeNode* parent =
            placed.empty() || rng() % 3 == 0 ? nullptr : placed[rng() % placed.size()];
        TreeNode* p = tree.appendChild(parent, std::move(n));
        p->data.Level = p->depth();
        if (rng() % 2) tree.setExpanded(p, true);
        placed.push_back(p);
    }
}

TreeNode* randomNode(const ContentTree& tree, std::mt19937& rng) {
    if (tree.empty()) return nullptr;
    return tree.preorder()[rng() % tree.count()];
}

// One command of the tree as the window runs it, picked at random.
void runRandomCommand(OpenProject& f, std::mt19937& rng, UndoHistory& history) {
    project::Workspace& ws = f.ws;
    ws.tree.selectOnly(rng() % 8 == 0 ? nullptr : randomNode(ws.tree, rng));
    if (rng() % 4 == 0) ws.tree.setSelected(randomNode(ws.tree, rng), true);
    static const std::vector<std::pair<const char*, std::function<void(OpenProject&)>>> commands{
        {"TbAddHeader",
         [](OpenProject& o) {
             ItemForm form{"h", "", "", 1};
             addItem(o.ws, ItemKind::Heading, &form, o.writer());
         }},
        {"TbAddContent",
         [](OpenProject& o) {
             ItemForm form{"c", "http://example.com/", "", 3};
             addItem(o.ws, ItemKind::Content, &form, o.writer());
         }},
        {"TbAddContent",
         [](OpenProject& o) {
             ItemForm form{"new", "page" + std::to_string(o.pagesWritten) + ".htm", "", 0};
             addItem(o.ws, ItemKind::Content, &form, o.writer());
         }},
        {"TbDelItem", [](OpenProject& o) { deleteSelection(o.ws, {}); }},
        {"TbMoveUp", [](OpenProject& o) { moveUp(o.ws); }},
        {"TbMoveDown", [](OpenProject& o) { moveDown(o.ws); }},
        {"TbMoveLeft", [](OpenProject& o) { moveLeft(o.ws); }},
        {"TbMoveRight", [](OpenProject& o) { moveRight(o.ws); }},
        {"TBSortItem", [](OpenProject& o) { sortNodes(o.ws, false); }},
        {"ActSortItemUp", [](OpenProject& o) { sortNodes(o.ws, true); }},
        {"CngType", [](OpenProject& o) { changeKind(o.ws); }},
        {"CngType", [](OpenProject& o) { toggleNodeIcon(o.ws); }},
        {"TbCngProperty",
         [](OpenProject& o) {
             if (!o.ws.tree.focused()) return;
             PropertyForm form(o.ws, *o.ws.tree.focused());
             form.setTitle(form.title() + "'");
             form.setKeyword(u"kw");
             form.setContextId("ID1");
             form.toggleType();
             form.accept();
         }},
    };
    const auto& [id, run] = commands[rng() % commands.size()];
    UndoHistory::Scope step(history, stepLabel(id));
    run(f);
}

}  // namespace

// Random commands on random trees, then everything undone and redone one step at a time:
// each step's undo gives back the exact contents bytes, expansion and saved flag of the state
// before it, and a command that recorded no step changed no byte.
TEST(UndoHistory, RandomCommandsUndoAndRedoToTheExactBytes) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        OpenProject f;
        growRandomTree(f.ws.tree, rng, 1 + static_cast<int>(rng() % 40));
        f.ws.saved = true;
        UndoHistory history(f.ws);
        std::vector<Snapshot> states{snapshot(f.ws.tree)};
        // A command that only expanded a node (a move that stayed put) keeps no step, so the
        // expansion of earlier states can no longer be expected.
        std::size_t expansionKnownFrom = 0;
        for (int i = 0; i < 40; ++i) {
            runRandomCommand(f, rng, history);
            if (history.steps() == states.size()) {
                states.push_back(snapshot(f.ws.tree));
            } else {
                ASSERT_TRUE(contentsBytes(f.ws.tree) == states.back().bytes) << "a change, no step";
                if (expandedFlags(f.ws.tree) != states.back().expanded) {
                    states.back().expanded = expandedFlags(f.ws.tree);
                    expansionKnownFrom = states.size() - 1;
                }
            }
            ASSERT_EQ(history.steps() + 1, states.size());
        }
        auto expectState = [&](std::size_t k) {
            ASSERT_TRUE(contentsBytes(f.ws.tree) == states[k].bytes) << "at step " << k;
            if (k >= expansionKnownFrom) {
                ASSERT_EQ(expandedFlags(f.ws.tree), states[k].expanded) << "at step " << k;
            }
            ASSERT_TRUE(levelsAgree(f.ws.tree));
            ASSERT_EQ(f.ws.saved, k == 0);
        };
        const int pages = f.pagesWritten;
        for (std::size_t k = states.size() - 1; k-- > 0;) {
            ASSERT_TRUE(history.undo());
            expectState(k);
        }
        EXPECT_FALSE(history.undo());
        for (std::size_t k = 1; k < states.size(); ++k) {
            ASSERT_TRUE(history.redo());
            expectState(k);
        }
        EXPECT_FALSE(history.redo());
        EXPECT_EQ(f.pagesWritten, pages) << "a redo wrote a page again";
    }
}

TEST(UndoHistory, CaptionNamesTheCommandAndItsNode) {
    struct Case {
        const char* id;
        const char* label;
    };
    for (const Case& c :
         {Case{"TbDelItem", "削除"}, Case{"TbAddContent", "コンテンツ追加"},
          Case{"TbMoveUp", "上へ"}, Case{"TbMoveLeft", "左へ"},
          Case{"ImportFolder", "フォルダ取り込み"}, Case{"TBSortItem", "昇順ソート"}})
        EXPECT_EQ(stepLabel(c.id), c.label) << c.id;

    OpenProject f;
    const std::string settings = platform::utf8ToCp932("設定");
    buildTree(f.ws.tree, "a " + settings + "(b c(d)) e");
    f.ws.saved = true;
    UndoHistory history(f.ws);
    TreeNode* heading = findTitle(f.ws.tree, settings);
    f.ws.tree.selectOnly(heading);
    {
        UndoHistory::Scope step(history, stepLabel("TbDelItem"));
        deleteSelection(f.ws, {});
    }
    EXPECT_EQ(treeText(f.ws.tree), "a e");
    EXPECT_EQ(history.undoText(), "削除 「設定」");
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(treeText(f.ws.tree), "a " + settings + "(b c(d)) e");
    // The very nodes come back, not copies, and the deleted node is focused again.
    EXPECT_EQ(findTitle(f.ws.tree, settings), heading);
    EXPECT_EQ(f.ws.tree.focused(), heading);
    EXPECT_EQ(history.redoText(), "削除 「設定」");
    EXPECT_TRUE(f.ws.saved);

    // A change outside any command (a key on the tree, a drop) is a step named by what it did.
    f.ws.tree.selectOnly(findTitle(f.ws.tree, "a"));
    moveDown(f.ws);
    EXPECT_EQ(history.undoText(), "移動 「a」");
    EXPECT_FALSE(history.canRedo());
}

// The saved flag is true exactly at the step the file was saved at; the oldest steps go when
// the limit is reached; a project opened afresh starts with no history.
TEST(UndoHistory, SavedFlagLimitAndReset) {
    OpenProject f;
    buildTree(f.ws.tree, "a b c d e f");
    f.ws.saved = true;
    UndoHistory history(f.ws, 3);
    auto moveFirstDown = [&] {
        UndoHistory::Scope step(history, stepLabel("TbMoveDown"));
        f.ws.tree.selectOnly(f.ws.tree.first());
        moveDown(f.ws);
    };
    moveFirstDown();
    moveFirstDown();
    f.ws.saved = true;  // as a save leaves it
    moveFirstDown();
    EXPECT_FALSE(f.ws.saved);
    EXPECT_TRUE(history.undo());
    EXPECT_TRUE(f.ws.saved);
    EXPECT_TRUE(history.undo());
    EXPECT_FALSE(f.ws.saved);
    EXPECT_TRUE(history.redo());
    EXPECT_TRUE(f.ws.saved);

    moveFirstDown();  // drops the redo, and over the limit the oldest step
    moveFirstDown();
    EXPECT_EQ(history.steps(), 3u);
    for (bool savedState : {false, true, false}) {
        EXPECT_TRUE(history.undo());
        EXPECT_EQ(f.ws.saved, savedState);
    }
    EXPECT_FALSE(history.undo());
    EXPECT_EQ(treeText(f.ws.tree), "b a c d e f");

    const std::string contents = platform::joinPath(f.dir.path(), "other.xhc");
    project::writeContentsFile(contents, f.ws.tree);
    project::readContentsFile(contents, project::RecordLayout::Current, 6, f.ws.tree);
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.canUndo());
}
