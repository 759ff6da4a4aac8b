#include <gtest/gtest.h>

#include <filesystem>

#include "CraftedProject.h"
#include "maintenance/MaintenanceForm.h"
#include "support/Fakes.h"

namespace tarnbook::maintenance {
namespace {

namespace fs = std::filesystem;
using testing::CraftedProject;
using testing::FakePrompts;

TEST(MaintenanceForm, OneAnalysisThenViewsThenOneMove) {
    CraftedProject p;
    MaintenanceForm form(p.input(), p.dir.file("dust"));
    EXPECT_TRUE(form.analyzeEnabled());
    EXPECT_FALSE(form.viewsEnabled());
    EXPECT_FALSE(form.moveEnabled());

    std::vector<std::string> texts;
    ASSERT_TRUE(form.analyze([&](Phase ph, std::size_t, std::size_t) {
        const std::string t = MaintenanceForm::phaseText(ph);
        if (texts.empty() || texts.back() != t) texts.push_back(t);
        return true;
    }));
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts.front(), "解析しています。お待ちください - Phaze1");
    EXPECT_EQ(texts.back(), "解析しています。お待ちください - Phaze5");
    EXPECT_FALSE(form.analyzeEnabled());
    EXPECT_TRUE(form.moveEnabled());
    EXPECT_EQ(form.rows().size(), form.counters().all);
    form.showView(View::Unused);
    ASSERT_EQ(form.rows().size(), 1u);
    EXPECT_EQ(form.rows()[0].caption, p.resource + "/unused.gif");

    FakePrompts prompts;
    prompts.answers = {ui::Answer::No};
    EXPECT_FALSE(form.moveUnused(prompts));
    EXPECT_TRUE(fs::exists(p.resource + "/unused.gif"));
    EXPECT_TRUE(form.moveEnabled());

    const auto report = form.moveUnused(prompts);  // the fake says yes by default
    ASSERT_TRUE(report);
    EXPECT_EQ(prompts.shown.size(), 2u);  // the two questions, no warning
    EXPECT_EQ(prompts.shown[0].text, "本当に移動してよろしいですか？");
    EXPECT_FALSE(fs::exists(p.resource + "/unused.gif"));
    EXPECT_TRUE(fs::exists(p.dir.file("dust/unused.gif")));
    EXPECT_TRUE(form.rows().empty());
    EXPECT_FALSE(form.viewsEnabled() || form.moveEnabled() || form.analyzeEnabled());
}

TEST(MaintenanceForm, WarnsAboutFilesThatStay) {
    CraftedProject p;
    testing::writeBytes(p.dir.file("dust"), "a file where the dust folder should be");
    MaintenanceForm form(p.input(), p.dir.file("dust"));
    ASSERT_TRUE(form.analyze());
    FakePrompts prompts;
    const auto report = form.moveUnused(prompts);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->failed.size(), 1u);
    EXPECT_TRUE(prompts.sawText("元の場所に残っています"));
    EXPECT_TRUE(prompts.sawText("unused.gif"));
    EXPECT_TRUE(fs::exists(p.resource + "/unused.gif"));
}

TEST(MaintenanceForm, CancelledAnalysisLeavesTheFormAsItWas) {
    CraftedProject p;
    MaintenanceForm form(p.input(), p.dir.file("dust"));
    EXPECT_FALSE(
        form.analyze([](Phase ph, std::size_t, std::size_t) { return ph != Phase::Keep; }));
    EXPECT_TRUE(form.analyzeEnabled());
    EXPECT_TRUE(form.rows().empty());
    EXPECT_TRUE(form.analyze());
}

}  // namespace
}  // namespace tarnbook::maintenance
