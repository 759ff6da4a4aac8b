#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "project/ProjectLifecycle.h"
#include "project/WizardForm.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::project;
using tarnbook::testing::WorkspaceFixture;

namespace {

platform::IniFile twoTemplates(const std::string& projects, int def) {
    platform::IniFile s;
    s.writeString("SYSTEM", "PROJECT", projects);
    s.writeInteger("TEMPLATE", "TOTAL", 2);
    s.writeInteger("TEMPLATE", "DEFAULT", def);
    s.writeString("TEMPLATE1", "Name", "First");
    s.writeInteger("TEMPLATE1", "PosW", 640);
    s.writeString("TEMPLATE2", "Name", "Second");
    s.writeInteger("TEMPLATE2", "PosW", 800);
    s.writeBool("TEMPLATE2", "TabKeyword", false);
    s.writeBool("TEMPLATE2", "Maximize", true);
    s.writeString("TEMPLATE2", "AutoIndex", "idx.html");
    s.writeInteger("TEMPLATE2", "LangNum", 7);
    return s;
}

}  // namespace

TEST(WizardForm, DefaultZeroShowsNoListAndTableDefaults) {
    platform::IniFile s = twoTemplates("/tmp", 0);
    WizardForm w(s);
    EXPECT_TRUE(w.templateNames().empty());
    EXPECT_EQ(w.selectedItem(), -1);
    EXPECT_EQ(w.fields.width, "600");
    EXPECT_EQ(w.fields.height, "400");
    EXPECT_EQ(w.fields.frameWidth, "200");
    EXPECT_TRUE(w.fields.tabKeyword);
    EXPECT_FALSE(w.nextEnabled());
}

TEST(WizardForm, DefaultTwoPreselectsSecondAndChoosingKeepsTheName) {
    platform::IniFile s = twoTemplates("/tmp", 2);
    WizardForm w(s);
    ASSERT_EQ(w.templateNames().size(), 2u);
    EXPECT_EQ(w.selectedItem(), 1);
    EXPECT_EQ(w.fields.width, "800");
    w.projectName = "typed";
    w.chooseTemplate(0);
    EXPECT_EQ(w.projectName, "typed");
    EXPECT_EQ(w.fields.width, "640");
    EXPECT_TRUE(w.fields.tabKeyword);
}

TEST(WizardForm, ExistingFolderCancelClearsTheName) {
    WorkspaceFixture f;
    std::filesystem::create_directories(f.dir.file("taken"));
    platform::IniFile s = twoTemplates(f.dir.path(), 1);
    WizardForm w(s);
    w.projectName = "taken";
    f.prompts.answers = {ui::Answer::Cancel};
    EXPECT_EQ(w.next(f.prompts, f.ws), WizardForm::Step::Stayed);
    EXPECT_TRUE(w.projectName.empty());
    EXPECT_FALSE(w.nextEnabled());
    EXPECT_EQ(w.page(), 1);
}

TEST(WizardForm, CreatesTheProjectWithDerivedKeys) {
    WorkspaceFixture f;
    platform::IniFile s = twoTemplates(f.dir.path(), 2);
    WizardForm w(s);
    w.projectName = "Manual";
    w.fields.topmost = true;  // what the author ticks is what the project gets
    ASSERT_EQ(w.next(f.prompts, f.ws), WizardForm::Step::ShowingPage2);
    EXPECT_EQ(w.nextCaption(), "完了(&N)");
    EXPECT_TRUE(w.backEnabled());
    ASSERT_EQ(w.next(f.prompts, f.ws), WizardForm::Step::Created);

    const std::string xhp = f.dir.path() + "\\Manual\\Manual.XHP";
    ASSERT_TRUE(platform::fileExists(xhp));
    EXPECT_TRUE(platform::folderExists(f.dir.file("Manual/_RESOURCE")));
    auto ini = platform::IniFile::load(xhp);
    EXPECT_EQ(ini.readString("XHP", "HelpName"), "Manual");
    EXPECT_EQ(ini.readString("XHP", "FileName"), "Manual.chm");
    EXPECT_EQ(ini.readString("XHP", "Default", "x"), "");
    EXPECT_EQ(ini.readInteger("XHP", "Version"), 249);
    EXPECT_EQ(ini.readInteger("XHP", "Width"), 800);
    EXPECT_TRUE(ini.readBool("XHP", "Topmost"));
    EXPECT_TRUE(ini.readBool("XHP", "Maximize"));
    EXPECT_EQ(ini.readString("XHP", "AutoIndex"), "idx.html");
    EXPECT_EQ(ini.readString("XHP", "LangStr"), "0409 English");
    EXPECT_EQ(ini.keyNames("XHP").front(), "Version");
    EXPECT_EQ(f.ws.projectFile(), xhp);

    // The new-project command then makes it the open, unsaved project.
    EXPECT_EQ(ini.readString("XHP", "Name"), "Manual");
}

TEST(WizardForm, EmptyProjectsFolderRefusesToFinish) {
    WorkspaceFixture f;
    platform::IniFile s = twoTemplates("", 1);
    WizardForm w(s);
    w.projectName = "p";
    ASSERT_EQ(w.next(f.prompts, f.ws), WizardForm::Step::ShowingPage2);
    EXPECT_EQ(w.next(f.prompts, f.ws), WizardForm::Step::Stayed);
    EXPECT_TRUE(f.prompts.sawText("プロジェクトフォルダ"));
    EXPECT_FALSE(f.ws.hasProject());
}

TEST(WizardForm, BadNumberFieldCreatesNothing) {
    WorkspaceFixture f;
    platform::IniFile s = twoTemplates(f.dir.path(), 1);
    WizardForm w(s);
    w.projectName = "nums";
    w.next(f.prompts, f.ws);
    w.fields.posX = "";
    EXPECT_THROW(w.next(f.prompts, f.ws), std::invalid_argument);
    EXPECT_FALSE(platform::folderExists(f.dir.file("nums")));
}

TEST(AutoSizer, FieldsToWindowAndBack) {
    auto win = autoSizerWindowFromFields(10, 20, 600, 500, 150);
    EXPECT_EQ(win.width, 565);
    EXPECT_EQ(win.height, 452);
    auto back = fieldsFromAutoSizerWindow(win);
    EXPECT_EQ(back.width, 600);
    EXPECT_EQ(back.height, 500);
    EXPECT_EQ(back.paneWidth, 150);
    EXPECT_TRUE(acceptsNumberKey('7'));
    EXPECT_FALSE(acceptsNumberKey('\b'));
}
