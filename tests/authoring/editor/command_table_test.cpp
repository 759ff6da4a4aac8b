#include <gtest/gtest.h>

#include <set>

#include "contents/CommandTable.h"

using namespace tarnbook::contents;

TEST(CommandTable, IdsAreUniqueAndEveryMenuAndToolbarEntryNamesACommand) {
    std::set<std::string_view> ids;
    for (const auto& c : commandTable()) EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    for (const auto& bar : toolbarLayouts())
        for (auto id : bar.commands) EXPECT_NE(findCommand(id), nullptr) << id;
    for (const auto& m : menuLayouts())
        for (auto e : m.entries)
            if (e != "|" && e[0] != '@') {
                EXPECT_NE(findCommand(e), nullptr) << e;
            }
}

TEST(CommandTable, HintsSplitIntoToolTipAndStatusText) {
    const Command* c = findCommand("FileSave");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(hintShort(c->hint), "保存");
    EXPECT_EQ(hintLong(c->hint), "現在のプロジェクトを保存します");
    EXPECT_EQ(hintLong("戻る"), "戻る");
    EXPECT_EQ(displayCaption(*findCommand("TbDelItem")), "削除");
}

TEST(CommandTable, RulesFollowTheWindowState) {
    EnableState s;
    EXPECT_FALSE(ruleEnabled(Rule::H, s));
    EXPECT_FALSE(ruleEnabled(Rule::F, s));
    EXPECT_TRUE(ruleEnabled(Rule::Always, s));
    s.projectOpen = true;
    s.saved = false;
    s.nodeCount = 1;
    EXPECT_TRUE(ruleEnabled(Rule::F, s));
    EXPECT_TRUE(ruleEnabled(Rule::G, s));
    EXPECT_FALSE(ruleEnabled(Rule::E, s));
    s.nodeSelected = s.nodeHasPage = true;
    EXPECT_TRUE(ruleEnabled(Rule::I, s));
    s.nodeIsWebLink = true;
    EXPECT_FALSE(ruleEnabled(Rule::I, s));
    s.multiSelect = true;
    EXPECT_FALSE(ruleEnabled(Rule::B, s));
    EXPECT_TRUE(ruleEnabled(Rule::C, s));
    EXPECT_FALSE(ruleEnabled(Rule::J, s));
    s.editorPageActive = true;
    EXPECT_TRUE(ruleEnabled(Rule::J, s));
}
