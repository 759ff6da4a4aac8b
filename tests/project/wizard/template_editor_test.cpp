#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "project/TemplateEditorForm.h"
#include "support/Fakes.h"
#include "support/TempDir.h"

using namespace tarnbook;
using namespace tarnbook::project;

namespace {

platform::IniFile threeTemplates(const std::string& path, int def) {
    platform::IniFile s;
    s.setPath(path);
    s.writeInteger("TEMPLATE", "TOTAL", 3);
    s.writeInteger("TEMPLATE", "DEFAULT", def);
    for (int n = 1; n <= 3; ++n)
        s.writeString("TEMPLATE" + std::to_string(n), "Name", "T" + std::to_string(n));
    s.save();
    return s;
}

int sections(const platform::IniFile& s) {
    int n = 0;
    for (int i = 1; i < 10; ++i) n += s.sectionExists("TEMPLATE" + std::to_string(i)) ? 1 : 0;
    return n;
}

}  // namespace

TEST(TemplateEditor, NewStyleWithoutNameIsNoName) {
    tarnbook::testing::TempDir dir;
    auto s = threeTemplates(dir.file("s.INI"), 1);
    TemplateEditorForm e(s);
    e.newStyle(std::string());
    EXPECT_EQ(e.count(), 4);
    EXPECT_EQ(e.shown(), 4);
    EXPECT_EQ(s.readString("TEMPLATE4", "Name"), "NoName");
    EXPECT_EQ(s.readInteger("TEMPLATE", "TOTAL"), 4);
    EXPECT_TRUE(e.modified());
    e.newStyle(std::nullopt);  // cancelled: still marks modified, adds nothing
    EXPECT_EQ(e.count(), 4);
}

TEST(TemplateEditor, DeleteRenumbersAndKeepsTotalAndDefaultConsistent) {
    tarnbook::testing::TempDir dir;
    auto s = threeTemplates(dir.file("s.INI"), 3);
    TemplateEditorForm e(s);
    e.choose(1);  // show T2
    e.deleteShown();
    EXPECT_EQ(e.count(), 2);
    EXPECT_EQ(s.readInteger("TEMPLATE", "TOTAL"), 2);
    EXPECT_EQ(sections(s), 2);
    EXPECT_EQ(s.readString("TEMPLATE2", "Name"), "T3");
    EXPECT_EQ(s.readInteger("TEMPLATE", "DEFAULT"), 2);  // followed T3 to its new number
    EXPECT_EQ(e.templateNames(), (std::vector<std::string>{"T1", "T3"}));
    e.choose(1);
    e.deleteShown();  // deleting the default, which was last
    EXPECT_EQ(s.readInteger("TEMPLATE", "DEFAULT"), 1);
    EXPECT_FALSE(e.deleteEnabled());
}

TEST(TemplateEditor, NoOnCloseDiscardsOnlyWhatChangedSinceTheLastSave) {
    tarnbook::testing::TempDir dir;
    auto s = threeTemplates(dir.file("s.INI"), 1);
    TemplateEditorForm e(s);
    e.fields.name = "renamed";
    e.fieldChanged();
    e.choose(2);                       // saves T1 as "renamed" and writes the file
    e.newStyle(std::string("extra"));  // not saved
    e.fields.css = "unsaved.css";
    e.fieldChanged();
    tarnbook::testing::FakePrompts prompts;
    prompts.answers = {ui::Answer::Cancel};
    EXPECT_FALSE(e.close(prompts));
    prompts.answers = {ui::Answer::No};
    EXPECT_TRUE(e.close(prompts));
    for (const auto& ini : {s, platform::IniFile::load(dir.file("s.INI"))}) {
        EXPECT_EQ(ini.readString("TEMPLATE1", "Name"), "renamed");
        EXPECT_EQ(ini.readInteger("TEMPLATE", "TOTAL"), 3);
        EXPECT_EQ(sections(ini), 3);
    }
}

TEST(TemplateEditor, SavesTopmostLikeTheOtherBoxes) {
    tarnbook::testing::TempDir dir;
    auto s = threeTemplates(dir.file("s.INI"), 1);
    TemplateEditorForm e(s);
    e.fields.topmost = true;
    e.fieldChanged();
    e.save();
    EXPECT_TRUE(platform::IniFile::load(dir.file("s.INI")).readBool("TEMPLATE1", "Topmost"));
    EXPECT_FALSE(e.modified());
}
