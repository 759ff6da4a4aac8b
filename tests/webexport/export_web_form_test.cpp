#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "support/WorkspaceFixture.h"
#include "webexport/ExportWebForm.h"

namespace tarnbook::webexport {
namespace {

TEST(ExportWebForm, ShowsTheProjectsSettings) {
    const struct {
        const char* ini;
        const char* title;
        const char* css;
        const char* folder;
        bool ok;
    } cases[] = {
        {"[XHP]\nName=N\nHelpName=H\nWebCSS=/a/b.css\nWebFolder=/out\n", "H", "/a/b.css", "/out",
         true},
        {"[XHP]\nName=N\n", "N", "", "", false},
        {"[XHP]\nName=N\nHelpName=\n", "N", "", "", false},
    };
    for (const auto& c : cases) {
        const auto form = ExportWebForm::fromProject(platform::IniFile::fromBytes(c.ini));
        EXPECT_EQ(form.title, c.title);
        EXPECT_EQ(form.styleSheet, c.css);
        EXPECT_EQ(form.outputFolder, c.folder);
        EXPECT_EQ(form.okEnabled(), c.ok);
    }
}

TEST(ExportWebForm, OkStoresTheSettingsAndExports) {
    testing::WorkspaceFixture w;
    const std::string xhp = w.makeProjectFile("P", "Version=249\r\nHelpName=Help\r\n");
    auto ini = platform::IniFile::load(xhp);
    project::ContentTree tree;
    const std::string folder = w.dir.file("P");

    auto form = ExportWebForm::fromProject(ini);
    form.outputFolder = folder + "/_RESOURCE/x";  // refused: nothing stored, nothing written
    EXPECT_FALSE(runWebExport(form, ini, folder, tree, w.prompts));
    ASSERT_EQ(w.prompts.shown.size(), 1u);
    EXPECT_EQ(w.prompts.shown[0].text, "リソースフォルダの中には出力できません。");
    EXPECT_EQ(testing::readBytes(xhp).find("WebFolder"), std::string::npos);

    form.outputFolder = w.dir.file("web");
    const auto result = runWebExport(form, ini, folder, tree, w.prompts);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->pages, 0u);
    const std::string stored = testing::readBytes(xhp);
    EXPECT_NE(stored.find("WebFolder=" + form.outputFolder + "\r\n"), std::string::npos) << stored;
    EXPECT_NE(stored.find("WebCSS=\r\n"), std::string::npos);
    EXPECT_TRUE(platform::fileExists(result->startFile));
}

}  // namespace
}  // namespace tarnbook::webexport
