#include <gtest/gtest.h>

#include "project/ToolbarSettings.h"

namespace tarnbook::testing {
namespace {

using namespace project;

TEST(ToolbarSettings, MissingMasksGiveTheDefaultsAndWrittenOnesComeBackFromTheMixedCaseSection) {
    platform::IniFile ini;
    EXPECT_EQ(readToolbarMasks(ini), (ToolbarMasks{14, 125, 2, 7, 3, 7}));

    writeToolbarMasks(ini, {1, 2, 3, 4, 5, 6});
    // "Tbar" and "TBar" are the same section.
    EXPECT_EQ(ini.sectionNames(), std::vector<std::string>{"Tbar"});
    EXPECT_EQ(ini.readInteger("TBAR", "mnuTool"), 3);
    EXPECT_EQ(readToolbarMasks(ini), (ToolbarMasks{1, 2, 3, 4, 5, 6}));
}

TEST(ToolbarSettings, MaskDecidesButtonsVisibilityAndWidth) {
    struct Case {
        std::size_t toolbar;
        int mask;
        bool visible;
        std::vector<bool> buttons;
        int width;
    };
    const Case cases[] = {
        {0, 14, true, {false, true, true, true}, 3 * 23 + 11},
        {0, 2, true, {false, true, false, false}, 34},  // only the drop-down Open button
        {0, 1, true, {true, false, false, false}, 23},
        {0, 15, true, {true, true, true, true}, 4 * 23 + 11},
        {0, 16, false, {false, false, false, false}, 0},  // above the largest mask
        {0, 0, false, {false, false, false, false}, 0},
        {0, -1, false, {false, false, false, false}, 0},  // garbage in the file
        {3, 8, true, {false, false, false, true}, 34},    // the font-size drop-down
        {3, 7, true, {true, true, true, false}, 69},
        {4, 31, true, {true, true, true, true, true}, 115},
        {4, 32, false, {false, false, false, false, false}, 0},
        {2, 127, true, std::vector<bool>(7, true), 7 * 23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "toolbar " << c.toolbar << " mask " << c.mask);
        const auto look = toolbarLook(toolbarSpecs()[c.toolbar], c.mask);
        EXPECT_EQ(look.visible, c.visible);
        EXPECT_EQ(look.buttons, c.buttons);
        EXPECT_EQ(look.width, c.width);
        if (c.visible) {
            EXPECT_EQ(maskOf(look.buttons), c.mask);
        }
    }
}

TEST(ToolbarSettings, PositionsRoundTripAndMissingKeysReadAsZero) {
    platform::IniFile ini;
    EXPECT_FALSE(readToolbarPositions(ini));

    ini.writeInteger("tb1pos", "MNUPRJ.LEFT", 40);
    auto partial = readToolbarPositions(ini);
    ASSERT_TRUE(partial);
    EXPECT_EQ((*partial)[1], (ToolbarPosition{0, 40}));
    EXPECT_EQ((*partial)[5], (ToolbarPosition{0, 0}));

    const ToolbarPositions p = {{{0, 0}, {0, 95}, {26, 0}, {26, 60}, {52, 3}, {52, 200}}};
    writeToolbarPositions(ini, p);
    EXPECT_EQ(ini.keyNames("TB1Pos").size(), 12u);
    EXPECT_EQ(ini.readInteger("TB1Pos", "mnuTools.top"), 26);
    EXPECT_EQ(readToolbarPositions(ini), p);
}

TEST(ToolbarSettings, DefaultChainPutsAllSixSideBySideOnTheProjectRow) {
    const ToolbarPositions current = {{{0, 5}, {0, 0}, {30, 0}, {60, 0}, {0, 0}, {90, 0}}};
    const std::array<int, kToolbarCount> widths = {80, 161, 23, 69, 46, 69};
    const auto p = chainedToolbarPositions(current, widths);
    const ToolbarPositions expected = {{{0, 5}, {0, 85}, {0, 246}, {0, 269}, {0, 338}, {0, 384}}};
    EXPECT_EQ(p, expected);
    EXPECT_EQ(toolbarRows(p), (std::vector<std::vector<std::size_t>>{{0, 1, 2, 3, 4, 5}}));
}

TEST(ToolbarSettings, RowsGroupByTopAndOrderByLeft) {
    const ToolbarPositions p = {{{26, 300}, {0, 0}, {26, 10}, {0, 0}, {52, 0}, {0, 500}}};
    // Equal positions keep the band order.
    EXPECT_EQ(toolbarRows(p), (std::vector<std::vector<std::size_t>>{{1, 3, 5}, {2, 0}, {4}}));
}

TEST(ToolbarSettings, DialogHasFiftyRowsWithSeparatorsBeforeEachGroup) {
    const auto& rows = toolbarDialogRows();
    ASSERT_EQ(rows.size(), 50u);
    std::vector<std::size_t> separators;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].separator) separators.push_back(i);
    EXPECT_EQ(separators, (std::vector<std::size_t>{0, 5, 18, 26, 31, 37}));
    EXPECT_EQ(rows[1].command, "FileExit1");
    EXPECT_EQ(rows[30].command, "FontSize");
    EXPECT_EQ(rows[49].command, "TagSound");

    const ToolbarMasks masks = {14, 125, 2, 7, 3, 7};
    auto checks = dialogChecks(masks);
    EXPECT_EQ(masksFromDialogChecks(checks), masks);
    // Unchecking a whole group gives mask 0, which hides its toolbar.
    for (std::size_t i = 6; i <= 17; ++i) checks[i] = false;
    checks[0] = true;  // a separator's check means nothing
    EXPECT_EQ(masksFromDialogChecks(checks), (ToolbarMasks{14, 0, 2, 7, 3, 7}));
    EXPECT_FALSE(toolbarLook(toolbarSpecs()[1], 0).visible);
}

}  // namespace
}  // namespace tarnbook::testing
