#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contents/MapFile.h"
#include "contents/treeops/TreeText.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using contents::mapFileText;
using tarnbook::testing::buildTree;
using tarnbook::testing::findTitle;
using tarnbook::testing::readBytes;
using tarnbook::testing::writeBytes;

namespace {

using Lines = std::vector<std::string>;

// Builds the tree and gives the named nodes their IDs ("title=ID").
void giveIds(project::ContentTree& tree, const std::string& shape, const Lines& ids) {
    buildTree(tree, shape);
    for (const std::string& pair : ids) {
        const auto eq = pair.find('=');
        findTitle(tree, pair.substr(0, eq))->data.ContextID = pair.substr(eq + 1);
    }
}

TEST(MapFileText, NumbersByPositionKeepsPublishedOnesAndWritesAnIdOnce) {
    struct Case {
        const char* name;
        const char* shape;
        Lines ids;
        std::map<std::string, long long> published;
        Lines expected;
        Lines duplicates;
    };
    const std::vector<Case> cases = {
        {"only the second of three",
         "A B C",
         {"B=HLP_IDH_B"},
         {},
         {"// B", "#define HLP_IDH_B 4"},
         {}},
        {"no IDs at all", "A B(C)", {}, {}, {}, {}},
        {"pre-order counts nested nodes",
         "A(B(C)) D",
         {"C=X", "D=Y"},
         {},
         {"// C", "#define X 6", "// D", "#define Y 8"},
         {}},
        {"an ID used twice is written for its first node",
         "A B C",
         {"A=X", "C=X"},
         {},
         {"// A", "#define X 2"},
         {"X"}},
        {"published numbers stay after a move",
         "B A",
         {"A=X"},
         {{"X", 2}},
         {"// A", "#define X 2"},
         {}},
        // X keeps 4; Y would be 4 by position, so it takes the next free even number.
        {"a new ID skips a number in use",
         "A B C",
         {"A=Y", "C=X"},
         {{"X", 2}, {"OLD", 4}},
         {"// A", "#define Y 4", "// C", "#define X 2"},
         {}},
        {"a new ID does not take a kept ID's number further down",
         "A B",
         {"A=NEW", "B=K"},
         {{"K", 2}},
         {"// A", "#define NEW 4", "// B", "#define K 2"},
         {}},
    };
    for (const Case& c : cases) {
        project::ContentTree tree;
        giveIds(tree, c.shape, c.ids);
        const auto text = mapFileText(tree, c.published);
        EXPECT_EQ(text.lines, c.expected) << c.name;
        EXPECT_EQ(text.duplicateIds, c.duplicates) << c.name;
    }
}

TEST(MapFileText, ReadsOnlyWellFormedDefinitions) {
    const auto numbers = contents::readMapNumbers(
        "// A\r\n#define A 4\r\n  #define\tB 0x10\n#define C\r\n#define D 4 extra\r\n"
        "// #define E 2\r\n#define F x\r\n#define A 8\r\n#define G 99999999999999999999999\r\n");
    const std::map<std::string, long long> expected = {{"A", 4}, {"B", 16}};
    EXPECT_EQ(numbers, expected);
}

struct PutMap : ::testing::Test, tarnbook::testing::WorkspaceFixture {
    PutMap() {
        EXPECT_TRUE(project::openProject(ws, makeProjectFile("P")));
        map = dir.file("P/P.MAP");
    }
    std::string map;
};

TEST_F(PutMap, AsksBeforeReplacingAndKeepsNumbersAcrossAMove) {
    giveIds(ws.tree, "A B C", {"B=HLP_IDH_B"});
    contents::putMap(ws);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(readBytes(map), "// B\r\n#define HLP_IDH_B 4\r\n");

    // "いいえ" leaves the file as it is.
    project::TreeNode* b = findTitle(ws.tree, "B");
    ws.tree.moveTo(b, nullptr, 2);
    prompts.answers.push_back(ui::Answer::No);
    contents::putMap(ws);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("を上書きしてよろしい?"), std::string::npos);
    EXPECT_EQ(readBytes(map), "// B\r\n#define HLP_IDH_B 4\r\n");

    // B now stands third, where its number would be 6; it keeps 4. A new ID on A, whose
    // place gives 2, gets it.
    findTitle(ws.tree, "A")->data.ContextID = "HLP_IDH_A";
    contents::putMap(ws);
    EXPECT_EQ(readBytes(map), "// A\r\n#define HLP_IDH_A 2\r\n// B\r\n#define HLP_IDH_B 4\r\n");
}

TEST_F(PutMap, TellsAboutDuplicateIdsAndWritesAnEmptyFileWithoutIds) {
    giveIds(ws.tree, "A B", {});
    EXPECT_TRUE(contents::writeMapFile(ws).empty());
    EXPECT_EQ(readBytes(map), "");
    giveIds(ws.tree, "C", {"A=X", "C=X"});
    EXPECT_EQ(contents::writeMapFile(ws), std::vector<std::string>{"X"});
    EXPECT_NE(status.panes[0].find("X"), std::string::npos);
}

}  // namespace
