#include <gtest/gtest.h>

#include "BuildInfo.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"
#include "platform/Paths.h"
#include "project/ProjectLifecycle.h"
#include "project/Startup.h"
#include "project/startup/StartupHelpers.h"
#include "support/WorkspaceFixture.h"

namespace tarnbook::testing {
namespace {

using project::RecentProjects;
using project::ShutdownInput;
using project::StartupOptions;
using project::WindowState;

struct StartupFixture : ::testing::Test {
    WorkspaceFixture f;
    RecentProjects recent;
    std::string app = f.dir.file("app");
    std::string ini = app + "/Quillet.INI";

    StartupOptions options(std::vector<std::string> args = {}) {
        return {testEnvironment(app), std::move(args)};
    }
    // A settings file that has been through a first start, plus the given SYSTEM lines.
    void existingSettings(const std::string& systemLines) {
        writeBytes(ini, "[SYSTEM]\r\nDefHTML=" + app + "/TEMPLATE/Default.HTML\r\n" + systemLines +
                            "\r\n");
    }
};

TEST_F(StartupFixture, FirstStartSeedsShowsStandardPageAndTitle) {
    const auto st = project::startUp(f.ws, recent, options());
    EXPECT_TRUE(st.firstStart);
    EXPECT_TRUE(platform::fileExists(ini));
    EXPECT_EQ(f.ws.settings.path(), ini);
    EXPECT_EQ(f.preview.last(), app + "/TEMPLATE/Default.HTML");
    EXPECT_TRUE(platform::fileExists(f.preview.last()));
    EXPECT_EQ(f.status.title, "Tarnbook -Build " + std::string(buildinfo::kProductVersion) + "-");
    EXPECT_EQ(f.editor.fontFamily, "MS UI Gothic");
    EXPECT_EQ(f.editor.fontSize, 9);
    EXPECT_EQ(f.editor.backgroundRgb, 0xFFFFFFu);
    EXPECT_EQ(st.placement.width, 630);
    EXPECT_EQ(st.placement.frame, 135);
    EXPECT_EQ(st.textSizeMenuItem, 3);
    EXPECT_TRUE(st.captureActive);
    EXPECT_TRUE(f.ws.saved);
    EXPECT_FALSE(st.projectOpened);
    EXPECT_TRUE(f.prompts.shown.empty());
    project::checkStandardPage(f.ws);
    EXPECT_TRUE(f.prompts.shown.empty());

    // The hook the save command calls feeds the recent list.
    ASSERT_TRUE(f.ws.rememberRecentProject);
    const std::string xhp = platform::upperCaseSjis(f.makeProjectFile("Saved"));
    f.ws.rememberRecentProject(xhp);
    EXPECT_EQ(readIni(ini).readString("KeepFileNames", "FileName1"), xhp);
}

TEST_F(StartupFixture, MissingStandardPageIsReportedWhenTheWindowShows) {
    existingSettings("DefCSS=x");
    f.ws.settings.writeString("SYSTEM", "DefHTML", "/nowhere/Default.HTML");
    project::checkStandardPage(f.ws);
    ASSERT_EQ(f.prompts.shown.size(), 1u);
    EXPECT_TRUE(f.prompts.sawText("/nowhere/Default.HTML"));
}

TEST_F(StartupFixture, TextSizeOutsideOneToFourMarksNothingAndIsStoredBackUnchanged) {
    existingSettings("BaseFSize=7");
    auto st = project::startUp(f.ws, recent, options());
    EXPECT_FALSE(st.firstStart);
    EXPECT_EQ(st.previewTextSize, 7);
    EXPECT_FALSE(st.textSizeMenuItem);
    project::shutDown(f.ws, recent, {WindowState::Normal, {}, false, st.previewTextSize});
    EXPECT_EQ(readIni(ini).readInteger("SYSTEM", "BaseFSize", 0), 7);
}

TEST_F(StartupFixture, CommandLineProjectOpensAndHeadsTheRecentList) {
    existingSettings("Resume=1");
    const std::string xhp = f.makeProjectFile("Cmd");
    const auto st = project::startUp(f.ws, recent, options({xhp}));
    EXPECT_TRUE(st.projectOpened);
    EXPECT_EQ(f.ws.projectName(), "Cmd");
    EXPECT_EQ(recent.names()[0], platform::upperCaseSjis(xhp));
    EXPECT_EQ(readIni(ini).readString("KeepFileNames", "FileName1"), platform::upperCaseSjis(xhp));
}

TEST_F(StartupFixture, NonProjectArgumentOpensNothingAndResumeIsNotUsed) {
    const std::string resumed = f.makeProjectFile("Last");
    existingSettings("Resume=1\r\nResumeXHP=" + resumed);
    const std::string text = f.dir.file("readme.txt");
    writeBytes(text, "hello");
    const auto st = project::startUp(f.ws, recent, options({text}));
    EXPECT_FALSE(st.projectOpened);
    EXPECT_FALSE(f.ws.hasProject());
    EXPECT_TRUE(recent.menuEntries().empty());
    EXPECT_TRUE(f.prompts.sawText("readme.txt"));
    // The resume entry is still good and stays.
    EXPECT_EQ(f.ws.settings.readString("SYSTEM", "ResumeXHP"), resumed);
}

TEST_F(StartupFixture, MissingCommandLineProjectIsReported) {
    existingSettings("");
    const auto st = project::startUp(f.ws, recent, options({f.dir.file("Gone/Gone.XHP")}));
    EXPECT_FALSE(st.projectOpened);
    EXPECT_TRUE(f.prompts.sawText("gone.xhp"));
}

TEST_F(StartupFixture, ResumeReopensTheLastProjectAndShutdownRemembersIt) {
    const std::string xhp = f.makeProjectFile("Last");
    existingSettings("Resume=1\r\nResumeXHP=" + xhp);
    const auto st = project::startUp(f.ws, recent, options());
    ASSERT_TRUE(st.projectOpened);
    EXPECT_EQ(f.ws.projectName(), "Last");
    project::shutDown(f.ws, recent, {});
    EXPECT_EQ(readIni(ini).readString("SYSTEM", "ResumeXHP"), xhp);
    EXPECT_FALSE(f.ws.hasProject());
}

TEST_F(StartupFixture, StaleResumeEntryIsClearedWithResumeOnDisk) {
    existingSettings("Resume=1\r\nResumeXHP=" + f.dir.file("Gone/Gone.XHP"));
    const auto st = project::startUp(f.ws, recent, options());
    EXPECT_FALSE(st.projectOpened);
    const auto disk = readIni(ini);
    EXPECT_FALSE(disk.readBool("SYSTEM", "Resume", true));
    EXPECT_EQ(disk.readString("SYSTEM", "ResumeXHP", "x"), "");
    EXPECT_TRUE(f.prompts.shown.empty());
}

TEST_F(StartupFixture, ResumeSurvivesAClosingWithoutProject) {
    existingSettings("Resume=1");
    project::startUp(f.ws, recent, options());
    project::shutDown(f.ws, recent, {});  // no project open: the entry is empty
    RecentProjects again;
    project::startUp(f.ws, again, options());
    EXPECT_TRUE(readIni(ini).readBool("SYSTEM", "Resume"));
}

TEST_F(StartupFixture, ShutdownPlacementFollowsTheWindowState) {
    existingSettings("PosX=5\r\nWidth=700");
    project::startUp(f.ws, recent, options());
    project::WindowPlacement moved{50, 60, 800, 600, 222, false};
    project::shutDown(f.ws, recent, {WindowState::Maximized, moved, true, 2});
    auto disk = readIni(ini);
    EXPECT_TRUE(disk.readBool("SYSTEM", "Maximized"));
    EXPECT_EQ(disk.readInteger("SYSTEM", "PosX", 0), 5);
    EXPECT_EQ(disk.readInteger("SYSTEM", "Width", 0), 700);
    EXPECT_TRUE(disk.readBool("SYSTEM", "CaptureOn"));
    EXPECT_EQ(disk.readInteger("SYSTEM", "BaseFSize", 0), 2);

    project::shutDown(f.ws, recent, {WindowState::Minimized, moved, false, 3});
    disk = readIni(ini);
    EXPECT_TRUE(disk.readBool("SYSTEM", "Maximized"));
    EXPECT_EQ(disk.readInteger("SYSTEM", "PosX", 0), 5);

    project::shutDown(f.ws, recent, {WindowState::Normal, moved, false, 3});
    disk = readIni(ini);
    EXPECT_FALSE(disk.readBool("SYSTEM", "Maximized", true));
    EXPECT_EQ(disk.readInteger("SYSTEM", "PosX", 0), 50);
    EXPECT_EQ(disk.readInteger("SYSTEM", "PosY", 0), 60);
    EXPECT_EQ(disk.readInteger("SYSTEM", "Height", 0), 600);
    EXPECT_EQ(disk.readInteger("SYSTEM", "Frame", 0), 222);
}

TEST_F(StartupFixture, ShutdownReleasesTheProjectDeletesThePreviewFileAndStoresTheListLast) {
    const std::string xhp = f.makeProjectFile("P");
    existingSettings("");
    project::startUp(f.ws, recent, options({xhp}));
    ASSERT_TRUE(f.ws.hasProject());
    const std::string gone = platform::upperCaseSjis(f.makeProjectFile("Q"));
    f.ws.rememberRecentProject(gone);
    platform::deleteFile(gone);
    const std::string temp = project::newTempFile();
    ASSERT_EQ(platform::fileNamePart(temp).rfind("QLT", 0), 0u);
    f.ws.previewTempFile = temp;

    project::shutDown(f.ws, recent, {});
    EXPECT_FALSE(platform::fileExists(temp));
    EXPECT_FALSE(f.ws.hasProject());
    // The gone project's slot is emptied in place; the next load closes the gap.
    const auto disk = readIni(ini);
    EXPECT_EQ(disk.readString("KeepFileNames", "FileName1"), "");
    EXPECT_EQ(disk.readString("KeepFileNames", "FileName2"), platform::upperCaseSjis(xhp));
    EXPECT_EQ(disk.keyNames("KeepFileNames").size(), 6u);
}

TEST_F(StartupFixture, SubmenuOpensInPlaceDropDownMovesToTheHead) {
    existingSettings("");
    project::startUp(f.ws, recent, options());
    const std::string a = platform::upperCaseSjis(f.makeProjectFile("A"));
    const std::string b = platform::upperCaseSjis(f.makeProjectFile("B"));
    f.ws.rememberRecentProject(a);
    f.ws.rememberRecentProject(b);  // head: B A

    ASSERT_TRUE(project::openRecentEntry(f.ws, a));
    EXPECT_EQ(f.ws.projectName(), "A");
    EXPECT_EQ(recent.names()[0], b);

    EXPECT_EQ(RecentProjects::dropDownEntries(f.ws.settings), (std::vector<std::string>{b, a}));
    ASSERT_TRUE(project::openFromDropDown(f.ws, recent, a));
    EXPECT_EQ(readIni(ini).readString("KeepFileNames", "FileName1"), a);
    EXPECT_FALSE(project::openFromDropDown(f.ws, recent, f.dir.file("GONE.XHP")));
    EXPECT_EQ(recent.names()[0], a);
}

TEST_F(StartupFixture, SecondInstanceIsRefusedAndALockThatCannotBeMadeIsAnError) {
    auto first = project::claimSingleInstance(app);
    ASSERT_TRUE(first);
    EXPECT_FALSE(project::claimSingleInstance(app));
    first.reset();
    EXPECT_TRUE(project::claimSingleInstance(app));

    // A file where the app folder should be, a folder where the lock file should be: no
    // silent end as if another instance ran, but an error naming the place and the reason.
    writeBytes(f.dir.file("plain"), "x");
    platform::createFolders(f.dir.file("locked/tarnbook.lock"));
    for (const std::string& folder : {f.dir.file("plain"), f.dir.file("locked")}) {
        try {
            project::claimSingleInstance(folder);
            ADD_FAILURE() << folder;
        } catch (const platform::IoError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find("ロックファイルを作成できません"), std::string::npos) << text;
            EXPECT_NE(text.find(folder), std::string::npos) << text;
            EXPECT_NE(text.find("理由: "), std::string::npos) << text;
        }
    }
}

}  // namespace
}  // namespace tarnbook::testing
