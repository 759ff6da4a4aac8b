#include <gtest/gtest.h>

#include "project/ExternalTools.h"
#include "project/SettingsForm.h"
#include "project/startup/StartupHelpers.h"
#include "support/WorkspaceFixture.h"

namespace tarnbook::testing {
namespace {

using project::SettingsForm;

struct FormFixture : ::testing::Test {
    WorkspaceFixture f;
    std::string ini = f.dir.file("Quillet.INI");
    FormFixture() { f.ws.settings.setPath(ini); }
};

TEST_F(FormFixture, MissingKeysShowTheDialogDefaults) {
    const SettingsForm form = SettingsForm::load(f.ws.settings);
    EXPECT_EQ(form.projectFolder, " ");
    EXPECT_EQ(form.compiler, " ");
    EXPECT_EQ(form.customTag, " ");
    EXPECT_EQ(form.prefix, "HLP_IDH_");
    EXPECT_EQ(form.captureProgram, project::kDefaultCaptureProgram);
    EXPECT_EQ(form.objectColour, "clBlue");
    EXPECT_EQ(form.objectRgb(), 0x0000FFu);
    EXPECT_TRUE(form.colourObjectTags);
    EXPECT_TRUE(form.captureActive);
    EXPECT_EQ(form.completeDestPath, "");
    for (const auto& t : form.tools) {
        EXPECT_EQ(t.title, "");
        EXPECT_EQ(t.path, "");
    }
}

TEST_F(FormFixture, EmptiedToolPathKeepsTheToolAndOkWritesTheFile) {
    f.ws.settings.writeString("SYSTEM", "Ext1", "/usr/bin/tool-one");
    f.ws.settings.writeString("SYSTEM", "Ext1name", "One");
    SettingsForm form = SettingsForm::load(f.ws.settings);
    ASSERT_EQ(form.tools[0].path, "/usr/bin/tool-one");
    form.tools[0].path.clear();
    form.tools[0].title = "Renamed";
    form.tools[1] = {"Two", "/usr/bin/tool-two"};
    form.prefix = "IDH_";
    form.setBackColour(0x102030);
    const auto applied = form.accept(f.ws);

    const auto disk = readIni(ini);
    EXPECT_EQ(disk.readString("SYSTEM", "Ext1"), "/usr/bin/tool-one");
    EXPECT_EQ(disk.readString("SYSTEM", "EXT1NAME"), "Renamed");
    EXPECT_EQ(disk.readString("SYSTEM", "Ext2"), "/usr/bin/tool-two");
    EXPECT_EQ(disk.readString("SYSTEM", "Prefix"), "IDH_");
    EXPECT_EQ(disk.readString("SYSTEM", "BackCol"), "$00302010");
    ASSERT_EQ(applied.tools.size(), 2u);
    EXPECT_EQ(applied.tools[0].caption, "Renamed");
    EXPECT_EQ(applied.tools[1].itemName, "mnuext2");
}

TEST_F(FormFixture, OnlyToolThreeConfiguredGivesOneItemNamedMnuext3) {
    f.ws.settings.writeString("SYSTEM", "Ext3", "/usr/bin/third");
    f.ws.settings.writeString("SYSTEM", "Ext3name", "Third");
    f.ws.settings.writeString("SYSTEM", "Ext1", "/usr/bin/no-caption");
    f.ws.settings.writeString("SYSTEM", "Ext2name", "No program");
    const auto tools = project::externalTools(f.ws.settings);
    ASSERT_EQ(tools.size(), 1u);
    EXPECT_EQ(tools[0].number, 3);
    EXPECT_EQ(tools[0].itemName, "mnuext3");
    EXPECT_EQ(tools[0].caption, "Third");
    EXPECT_EQ(tools[0].program, "/usr/bin/third");
}

TEST_F(FormFixture, ToolThatCannotStartIsReported) {
    f.ws.settings.writeString("SYSTEM", "Ext2", "");
    EXPECT_FALSE(project::runExternalTool(f.ws, 2));
    EXPECT_TRUE(f.prompts.sawText("外部ツール"));
    f.prompts.shown.clear();
    EXPECT_FALSE(project::runExternalTool(f.ws, 4));
    EXPECT_TRUE(f.prompts.shown.empty());
}

TEST_F(FormFixture, OkAppliesTheEditorLookOnlyWithAProjectAndKeepsItsModifiedFlag) {
    SettingsForm form = SettingsForm::load(f.ws.settings);
    form.fontName = "Noto Sans Mono";
    form.fontSize = 12;
    form.setFontColour(0xFF0000);
    form.captureActive = false;
    form.captureCursor = true;
    form.nodeBox = true;
    auto applied = form.accept(f.ws);
    EXPECT_EQ(f.editor.fontFamily, "");
    EXPECT_FALSE(applied.rehighlightSelectedPage);
    EXPECT_FALSE(applied.captureActive);
    EXPECT_TRUE(applied.captureCursor);
    EXPECT_TRUE(applied.nodeBox);
    EXPECT_EQ(readIni(ini).readString("SYSTEM", "FontCol"), "clRed");

    f.ws.project.emplace();
    f.editor.isModified = true;
    applied = form.accept(f.ws);
    EXPECT_EQ(f.editor.fontFamily, "Noto Sans Mono");
    EXPECT_EQ(f.editor.fontSize, 12);
    EXPECT_EQ(f.editor.fontRgb, 0xFF0000u);
    EXPECT_TRUE(f.editor.isModified);

    f.ws.tree.selectOnly(f.ws.tree.insertChild(nullptr, 0, std::make_unique<project::TreeNode>()));
    EXPECT_TRUE(form.accept(f.ws).rehighlightSelectedPage);
}

TEST_F(FormFixture, ChoosersFillFieldsAndCancelKeepsThem) {
    SettingsForm form = SettingsForm::load(f.ws.settings);
    f.prompts.fileAnswers = {std::string("/data/projects"), std::nullopt};
    form.browseProjectFolder(f.prompts);
    EXPECT_EQ(form.projectFolder, "/data/projects");
    form.browseTemplateFolder(f.prompts);
    EXPECT_EQ(form.templateFolder, " ");

    // The destination chooser works only while its box is checked.
    f.prompts.fileAnswers = {std::string("/out")};
    form.browseCompleteDest(f.prompts);
    EXPECT_EQ(form.completeDestPath, "");
    form.setCompleteDest = true;
    EXPECT_TRUE(form.completeDestEnabled());
    form.browseCompleteDest(f.prompts);
    EXPECT_EQ(form.completeDestPath, "/out");

    f.prompts.fileAnswers = {std::string("/usr/bin/tool")};
    form.browseTool(f.prompts, 3);
    EXPECT_EQ(form.tools[2].path, "/usr/bin/tool");
}

}  // namespace
}  // namespace tarnbook::testing
