#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/IoError.h"
#include "project/ContentsFile.h"
#include "project/NewProjectNameForm.h"
#include "project/ProjectLifecycle.h"
#include "support/FileSizeLimit.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::project;
using tarnbook::testing::readBytes;
using tarnbook::testing::WorkspaceFixture;
using tarnbook::testing::writeBytes;
using ui::Answer;

namespace {

std::string records(int n, int layoutSize = 1848) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        std::string r(static_cast<std::size_t>(layoutSize), '\0');
        std::string title = "node" + std::to_string(i);
        r[8] = static_cast<char>(title.size());
        r.replace(9, title.size(), title);
        r[512] = 8;
        out += r;
    }
    return out;
}

TreeNode* addNode(Workspace& ws, const std::string& title) {
    auto n = std::make_unique<TreeNode>();
    n->data.Title = title;
    n->data.KeyWord = platform::decodeCp932(title);
    n->syncViewFromData();
    TreeNode* p = ws.tree.appendChild(nullptr, std::move(n));
    ws.markChanged();
    return p;
}

}  // namespace

TEST(ProjectLifecycle, OpensSavesAndReopens) {
    WorkspaceFixture f;
    std::string xhp = f.makeProjectFile("alpha");
    ASSERT_TRUE(openProject(f.ws, xhp));
    EXPECT_TRUE(f.ws.tree.empty());
    EXPECT_EQ(f.status.title, "Tarnbook -Build 2.4.0- [ alpha ]");
    EXPECT_EQ(f.status.panes[2], "保存済み");
    addNode(f.ws, "one");
    addNode(f.ws, "\x93\xfa\x96\x7b");  // 日本
    refreshStatus(f.ws);
    EXPECT_EQ(f.status.panes[2], "未保存");
    std::string remembered;
    f.ws.rememberRecentProject = [&](const std::string& p) { remembered = p; };
    saveProject(f.ws);
    EXPECT_TRUE(f.ws.saved);
    EXPECT_EQ(remembered, platform::upperCaseSjis(xhp));
    auto ini = platform::IniFile::load(xhp);
    EXPECT_EQ(ini.readInteger("XHP", "Count"), 2);
    EXPECT_EQ(ini.readInteger("XHP", "Version"), 249);
    EXPECT_EQ(platform::fileSize(f.ws.contentsFile()), 2 * 1848);

    WorkspaceFixture g;
    ASSERT_TRUE(openProject(g.ws, xhp));
    ASSERT_EQ(g.ws.tree.count(), 2u);
    EXPECT_EQ(g.ws.tree.topLevel(1)->data.Title, "\x93\xfa\x96\x7b");
    EXPECT_EQ(g.ws.tree.topLevel(1)->caption, u"日本");
}

TEST(ProjectLifecycle, RepairsAMovedProjectButNotACaseOnlyDifference) {
    WorkspaceFixture f;
    std::string xhp = f.makeProjectFile("moved", "Version=249\r\nCount=1\r\n");
    writeBytes(f.dir.file("moved/moved.XHC"), records(1));
    std::filesystem::rename(f.dir.file("moved"), f.dir.file("elsewhere"));
    const std::string newXhp = f.dir.file("elsewhere/moved.XHP");
    ASSERT_TRUE(openProject(f.ws, newXhp));
    EXPECT_EQ(f.ws.projectFolder(), f.dir.file("elsewhere"));
    EXPECT_EQ(f.ws.contentsFile(), f.dir.file("elsewhere") + "\\moved.XHC");
    EXPECT_EQ(f.ws.tree.count(), 1u);
    auto ini = platform::IniFile::load(newXhp);
    EXPECT_EQ(ini.readString("XHP", "PDir"), f.dir.file("elsewhere"));

    // PDir stored in other letter case: not a move, the project file is left alone.
    WorkspaceFixture g;
    std::string folder = g.dir.file("Case");
    std::filesystem::create_directories(folder);
    std::string upperFolder = platform::upperCaseSjis(folder);
    std::string text = "[XHP]\r\nPDir=" + upperFolder + "\r\nName=Case\r\nXHP=" + upperFolder +
                       "/CASE.XHP\r\nXHC=" + upperFolder + "/CASE.XHC\r\nVersion=249\r\n\r\n";
    writeBytes(folder + "/Case.XHP", text);
    ASSERT_TRUE(openProject(g.ws, folder + "/Case.XHP"));
    EXPECT_EQ(readBytes(folder + "/Case.XHP"), text);
    EXPECT_EQ(g.ws.projectFolder(), upperFolder);

    // Nor is a folder stored with Windows separators.
    WorkspaceFixture h;
    std::string sep = h.dir.path() + "\\Sep";
    std::filesystem::create_directories(h.dir.file("Sep"));
    std::string sepText = "[XHP]\r\nPDir=" + sep + "\r\nName=Sep\r\nXHP=" + sep +
                          "\\Sep.XHP\r\nXHC=" + sep + "\\Sep.XHC\r\nVersion=249\r\n\r\n";
    writeBytes(h.dir.file("Sep/Sep.XHP"), sepText);
    writeBytes(h.dir.file("Sep/Sep.XHC"), "");
    ASSERT_TRUE(openProject(h.ws, h.dir.file("Sep/Sep.XHP")));
    EXPECT_EQ(readBytes(h.dir.file("Sep/Sep.XHP")), sepText);
}

TEST(ProjectLifecycle, PreviousLayoutIsUpgradedAfterConfirmation) {
    WorkspaceFixture f;
    std::string xhp = f.makeProjectFile("old", "Version=239\r\nCount=3\r\n");
    writeBytes(f.dir.file("old/old.XHC"), records(3, 1028));
    ASSERT_TRUE(openProject(f.ws, xhp));
    EXPECT_EQ(f.prompts.shown.at(0).buttons, ui::Buttons::YesCancel);
    EXPECT_EQ(f.ws.tree.count(), 3u);
    EXPECT_FALSE(f.ws.saved);
    saveProject(f.ws);
    EXPECT_EQ(platform::fileSize(f.ws.contentsFile()), 3 * 1848);
    EXPECT_EQ(platform::IniFile::load(xhp).readInteger("XHP", "Version"), 249);
}

TEST(ProjectLifecycle, VersionBoundariesChooseRefusalUpgradeOrCurrentLayout) {
    const struct {
        int version;
        bool opens;      // with "はい" to the upgrade question
        bool asks;       // the upgrade question is asked
        int recordSize;  // the layout the contents file is read in
    } cases[] = {
        {179, false, false, 1028}, {180, true, true, 1028},  {239, true, true, 1028},
        {240, true, false, 1848},  {249, true, false, 1848},
    };
    for (const auto& c : cases) {
        WorkspaceFixture f;
        const std::string name = "v" + std::to_string(c.version);
        std::string xhp =
            f.makeProjectFile(name, "Version=" + std::to_string(c.version) + "\r\nCount=2\r\n");
        writeBytes(f.dir.file(name + "/" + name + ".XHC"), records(2, c.recordSize));
        f.prompts.answers = {Answer::Yes};
        EXPECT_EQ(openProject(f.ws, xhp), c.opens) << c.version;
        EXPECT_EQ(f.prompts.sawText("cntmigrate.exe"), !c.opens) << c.version;
        EXPECT_EQ(f.prompts.sawText("以前のバージョン"), c.asks) << c.version;
        if (!c.opens) continue;
        EXPECT_EQ(f.ws.tree.count(), 2u) << c.version;
        EXPECT_EQ(f.ws.tree.topLevel(1)->data.Title, "node1") << c.version;
        EXPECT_EQ(f.ws.saved, !c.asks) << c.version;  // an upgrade is saved by the author
    }
}

TEST(ProjectLifecycle, RefusedOrCancelledOpenKeepsThePreviousProject) {
    WorkspaceFixture f;
    std::string good = f.makeProjectFile("good");
    ASSERT_TRUE(openProject(f.ws, good));
    addNode(f.ws, "kept");
    f.ws.saved = true;  // pretend it was saved so no question is asked

    std::string tooOld = f.makeProjectFile("ancient", "");  // no Version at all
    EXPECT_FALSE(openProject(f.ws, tooOld));
    EXPECT_TRUE(f.prompts.sawText("cntmigrate.exe"));
    EXPECT_EQ(f.ws.projectName(), "good");
    EXPECT_EQ(f.ws.tree.count(), 1u);

    std::string previous = f.makeProjectFile("prev", "Version=200\r\nCount=1\r\n");
    writeBytes(f.dir.file("prev/prev.XHC"), records(1, 1028));
    f.prompts.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(openProject(f.ws, previous));
    EXPECT_EQ(f.ws.projectName(), "good");
    EXPECT_EQ(f.ws.tree.topLevel(0)->data.Title, "kept");

    // A stale path does nothing at all.
    EXPECT_FALSE(openProject(f.ws, f.dir.file("nothing.XHP")));
    EXPECT_EQ(f.ws.projectName(), "good");
}

TEST(ProjectLifecycle, CountThatDisagreesWithTheFileReadsEveryRecordAndWritesNothing) {
    // Count as written by a killed save, by hand or by damage; the file has 3 records.
    for (const std::string count : {"5", "1", "-1", "abc", "", "99999999999999999999"}) {
        SCOPED_TRACE("Count=" + count);
        WorkspaceFixture f;
        std::string xhp = f.makeProjectFile("c", "Version=249\r\nCount=" + count + "\r\n");
        writeBytes(f.dir.file("c/c.XHC"), records(3));
        ASSERT_TRUE(openProject(f.ws, xhp));
        EXPECT_EQ(f.ws.tree.count(), 3u);
        EXPECT_EQ(f.ws.tree.topLevel(2)->data.Title, "node2");
        EXPECT_FALSE(f.ws.saved);
        EXPECT_TRUE(f.prompts.sawText("3 件のノードを読み込みました"));
        EXPECT_EQ(f.status.progressWindows, 0);
        EXPECT_EQ(platform::fileSize(f.dir.file("c/c.XHC")), 3 * 1848);  // nothing written
        saveProject(f.ws);
        EXPECT_EQ(platform::fileSize(f.dir.file("c/c.XHC")), 3 * 1848);
        EXPECT_EQ(platform::IniFile::load(xhp).readInteger("XHP", "Count"), 3);
    }
}

TEST(ProjectLifecycle, ContentsFileIsReadInTheLayoutItsSizeShows) {
    // An upgrade save killed after renaming the new records into place: the project file
    // still names the previous layout.
    WorkspaceFixture f;
    std::string xhp = f.makeProjectFile("up", "Version=200\r\nCount=4\r\n");
    writeBytes(f.dir.file("up/up.XHC"), records(4));
    ASSERT_TRUE(openProject(f.ws, xhp));
    ASSERT_EQ(f.ws.tree.count(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.ws.tree.topLevel(i)->data.Title, "node" + std::to_string(i));
    EXPECT_FALSE(f.ws.saved);

    // 257 current records are as long as 462 previous ones: the count decides.
    WorkspaceFixture g;
    xhp = g.makeProjectFile("both", "Version=200\r\nCount=257\r\n");
    writeBytes(g.dir.file("both/both.XHC"), records(257));
    ASSERT_TRUE(openProject(g.ws, xhp));
    EXPECT_EQ(g.ws.tree.count(), 257u);
    EXPECT_EQ(g.ws.tree.topLevel(256)->data.Title, "node256");

    // A size that fits no layout is refused, not misread.
    WorkspaceFixture h;
    xhp = h.makeProjectFile("torn", "Version=249\r\nCount=2\r\n");
    writeBytes(h.dir.file("torn/torn.XHC"), records(2) + "xyz");
    EXPECT_FALSE(openProject(h.ws, xhp));
    EXPECT_FALSE(h.ws.hasProject());
    EXPECT_TRUE(h.prompts.sawText("ノードの大きさの倍数ではありません"));
}

TEST(ProjectLifecycle, KeysThatLeadOutOfTheProjectFolderAreRefused) {
    struct Case {
        std::string name, xhc;
    };
    WorkspaceFixture f;
    const std::string folder = f.dir.file("k");
    std::filesystem::create_directories(folder + "/sub.XHC");
    writeBytes(f.dir.file("victim.XHC"), "keep");
    const Case cases[] = {
        {"k", f.dir.file("victim.XHC")},   // another project's contents
        {"k", folder + "/k.XHP"},          // the project file itself
        {"k", folder + "/sub.XHC"},        // a folder
        {"..\\..\\x", folder + "/k.XHC"},  // a name that climbs out
        {"", folder + "/k.XHC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.xhc);
        const std::string xhp = folder + "/k.XHP";
        const std::string text = "[XHP]\r\nPDir=" + folder + "\r\nName=" + c.name +
                                 "\r\nXHP=" + xhp + "\r\nXHC=" + c.xhc +
                                 "\r\nVersion=249\r\nCount=0\r\n";
        writeBytes(xhp, text);
        WorkspaceFixture g;
        EXPECT_FALSE(openProject(g.ws, xhp));
        EXPECT_FALSE(g.ws.hasProject());
        EXPECT_EQ(g.prompts.shown.size(), 1u);
        EXPECT_EQ(readBytes(xhp), text);
    }
    EXPECT_EQ(readBytes(f.dir.file("victim.XHC")), "keep");
}

TEST(ProjectLifecycle, ACompiledFileNameOutsideTheFolderIsConfinedWithAMessage) {
    WorkspaceFixture f;
    const std::string xhp = f.makeProjectFile("c", "Version=249\r\nFileName=..\\..\\x.chm\r\n");
    const std::string before = readBytes(xhp);
    ASSERT_TRUE(openProject(f.ws, xhp));
    EXPECT_EQ(f.ws.project->readString("XHP", "FileName"), "x.chm");
    EXPECT_FALSE(f.ws.saved);
    EXPECT_TRUE(f.prompts.sawText("プロジェクトフォルダの外"));
    EXPECT_EQ(readBytes(xhp), before);
}

TEST(ProjectLifecycle, OpenRemovesTemporariesOfAKilledSave) {
    WorkspaceFixture f;
    std::string xhp = f.makeProjectFile("t", "Version=249\r\nCount=1\r\n");
    writeBytes(f.dir.file("t/t.XHC"), records(1));
    const std::vector<std::string> stale = {".t.XHC.a1B2c3", ".t.XHP.Zz9yX8"};
    const std::vector<std::string> kept = {".t.XHC.short", "t.XHC.a1B2c3", ".u.XHC.a1B2c3"};
    for (const auto& n : stale) writeBytes(f.dir.file("t/" + n), "partial");
    for (const auto& n : kept) writeBytes(f.dir.file("t/" + n), "other");
    ASSERT_TRUE(openProject(f.ws, xhp));
    for (const auto& n : stale) EXPECT_FALSE(platform::fileExists(f.dir.file("t/" + n))) << n;
    for (const auto& n : kept) EXPECT_TRUE(platform::fileExists(f.dir.file("t/" + n))) << n;
}

TEST(ProjectLifecycle, InterruptedSaveLeavesThePreviousProjectReadable) {
    WorkspaceFixture f;
    std::string xhp = f.makeProjectFile("big");
    ASSERT_TRUE(openProject(f.ws, xhp));
    for (int i = 0; i < 10; ++i) addNode(f.ws, "n" + std::to_string(i));
    saveProject(f.ws);
    const std::string xhcBefore = readBytes(f.dir.file("big/big.XHC"));
    const std::string xhpBefore = readBytes(xhp);
    for (int i = 0; i < 200; ++i) addNode(f.ws, "more");
    {
        tarnbook::testing::FileSizeLimit limit(100 * 1024);
        EXPECT_THROW(saveProject(f.ws), platform::IoError);
    }
    EXPECT_FALSE(f.ws.saved);
    EXPECT_EQ(readBytes(f.dir.file("big/big.XHC")), xhcBefore);
    EXPECT_EQ(readBytes(xhp), xhpBefore);
    WorkspaceFixture g;
    ASSERT_TRUE(openProject(g.ws, xhp));
    EXPECT_EQ(g.ws.tree.count(), 10u);
    EXPECT_TRUE(g.ws.saved);
}

TEST(ProjectLifecycle, SaveAsCopiesProjectWithWholeKeywordsCutAt255) {
    WorkspaceFixture f;
    std::string xhp = f.makeProjectFile("src");
    writeBytes(f.dir.file("src/_RESOURCE/page.htm"), "<html></html>");
    writeBytes(f.dir.file("src/_RESOURCE/img/a.gif"), "GIF");
    ASSERT_TRUE(openProject(f.ws, xhp));
    TreeNode* n = addNode(f.ws, "t");
    n->data.KeyWord = std::u16string(300, u'k');
    n->data.HTML = platform::upperCaseSjis(f.ws.projectFolder()) + "\\_resource\\page.htm";
    const std::string projects = f.dir.file("projects");
    std::filesystem::create_directories(projects);

    NewProjectNameForm form(projects);
    form.setName("dst");
    ASSERT_TRUE(form.okEnabled());
    saveProjectAs(f.ws, projects, "dst");

    // The open project is unchanged and still unsaved.
    EXPECT_EQ(f.ws.projectName(), "src");
    EXPECT_FALSE(f.ws.saved);

    WorkspaceFixture g;
    ASSERT_TRUE(openProject(g.ws, projects + "/dst/dst.XHP"));
    ASSERT_EQ(g.ws.tree.count(), 1u);
    const TData& d = g.ws.tree.topLevel(0)->data;
    EXPECT_EQ(d.KeyWord, std::u16string(255, u'k'));
    EXPECT_EQ(d.HTML, projects + "\\dst\\_RESOURCE\\page.htm");
    EXPECT_EQ(readBytes(projects + "/dst/_RESOURCE/img/a.gif"), "GIF");
    EXPECT_EQ(g.ws.projectName(), "dst");

    form.setName("dst");  // exists now
    EXPECT_FALSE(form.okEnabled());
    EXPECT_THROW(saveProjectAs(f.ws, projects, "dst"), platform::IoError);
}

TEST(ProjectLifecycle, CloseQueryAnswersAndSettingsWrite) {
    WorkspaceFixture f;
    ASSERT_TRUE(openProject(f.ws, f.makeProjectFile("q")));
    f.ws.settings.setPath(f.dir.file("settings.INI"));
    int stored = 0;
    f.ws.beforeSettingsWrite = [&] {
        ++stored;
        f.ws.settings.writeInteger("TB1Pos", "Top", stored);
    };
    addNode(f.ws, "x");

    f.prompts.answers = {Answer::Cancel};
    EXPECT_FALSE(closeQuery(f.ws));
    EXPECT_EQ(stored, 1);  // toolbar positions are stored even on cancel
    EXPECT_TRUE(platform::fileExists(f.dir.file("settings.INI")));
    EXPECT_FALSE(f.ws.saved);

    f.prompts.answers = {Answer::No};
    EXPECT_TRUE(closeQuery(f.ws));
    EXPECT_FALSE(f.ws.saved);

    f.prompts.answers = {Answer::Yes};
    EXPECT_TRUE(closeQuery(f.ws));
    EXPECT_TRUE(f.ws.saved);
    EXPECT_EQ(stored, 3);
}

TEST(ProjectLifecycle, NewProjectStartsUnsavedAndAsksWithTwoButtons) {
    WorkspaceFixture f;
    ASSERT_TRUE(openProject(f.ws, f.makeProjectFile("before")));
    addNode(f.ws, "x");
    std::string xhp = f.makeProjectFile("fresh", "Version=249\r\n");
    f.prompts.answers = {Answer::No};
    bool ran = newProject(f.ws, [&](Workspace& ws) {
        ws.project = platform::IniFile::load(xhp);
        ws.project->setPath(xhp);
        ws.project->writeString("XHP", "XHP", xhp);
        return true;
    });
    ASSERT_TRUE(ran);
    EXPECT_EQ(f.prompts.shown.back().buttons, ui::Buttons::YesNo);
    EXPECT_TRUE(f.ws.tree.empty());
    EXPECT_FALSE(f.ws.saved);
    saveProject(f.ws);
    EXPECT_EQ(platform::fileSize(f.ws.contentsFile()), 0);
    EXPECT_EQ(platform::IniFile::load(xhp).readInteger("XHP", "Count", -1), 0);
}
