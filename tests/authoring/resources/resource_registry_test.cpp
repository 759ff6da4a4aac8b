#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "authoring/ResourceRegistry.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::authoring;
using tarnbook::testing::readBytes;
using tarnbook::testing::WorkspaceFixture;
using tarnbook::testing::writeBytes;

namespace {

struct Project : WorkspaceFixture {
    std::string pdir, res;
    Project() {
        EXPECT_TRUE(project::openProject(ws, makeProjectFile("P")));
        pdir = ws.projectFolder();
        res = pdir + "/_RESOURCE";
    }
    // The project file as written to disk.
    platform::IniFile onDisk() const { return platform::IniFile::load(ws.projectFile()); }
    void addNode(const std::string& title, const std::string& html, int type, int icon) {
        auto n = std::make_unique<project::TreeNode>();
        n->data.Title = title;
        n->data.HTML = html;
        n->data.ItemType = static_cast<std::uint8_t>(type);
        n->data.ImageIndex = icon;
        ws.tree.appendChild(nullptr, std::move(n));
    }
};

std::vector<std::string> paths(const std::vector<ResourceRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.caption + "|" + r.path + "|" + r.size);
    return out;
}

}  // namespace

TEST(ResourcePaths, RecogniseTheResourceFolderCaseInsensitively) {
    WorkspaceFixture closed;
    EXPECT_FALSE(inResourceFolder(closed.ws, "/x/_RESOURCE/a.htm"));
    EXPECT_EQ(resourceRelativeName(closed.ws, "_RESOURCE\\a.htm"), "_RESOURCE\\a.htm");
    EXPECT_EQ(resourceFullPath(closed.ws, "a.htm"), "a.htm");

    Project p;
    const std::string upper = platform::upperCaseSjis(p.pdir);
    EXPECT_TRUE(inResourceFolder(p.ws, p.res + "/img/a.gif"));
    EXPECT_TRUE(inResourceFolder(p.ws, "copy of " + upper + "\\_resource\\a.gif"));
    EXPECT_FALSE(inResourceFolder(p.ws, p.pdir + "/a.gif"));
    EXPECT_EQ(resourceRelativeName(p.ws, upper + "/_RESOURCE/Img/A.gif"), "Img\\A.gif");
    EXPECT_EQ(resourceRelativeName(p.ws, "_resource\\sub\\b.htm"), "sub\\b.htm");
    EXPECT_EQ(resourceRelativeName(p.ws, "http://example.com/"), "http://example.com/");
    EXPECT_EQ(resourceFullPath(p.ws, "img\\a.gif"), p.res + "/img/a.gif");
}

TEST(AdditionCheck, AppendsOnceComparesExactlyAndWritesAtOnce) {
    Project p;
    additionCheck(p.ws, "logo.gif");
    additionCheck(p.ws, "logo.gif");
    additionCheck(p.ws, "LOGO.GIF");
    platform::IniFile disk = p.onDisk();
    EXPECT_EQ(disk.readInteger("Addition", "Count"), 2);
    EXPECT_EQ(disk.readString("Addition", "File1"), "_RESOURCE\\logo.gif");
    EXPECT_EQ(disk.readString("Addition", "File2"), "_RESOURCE\\LOGO.GIF");
    EXPECT_FALSE(disk.valueExists("Addition", "Key1"));
}

TEST(CopyIntoResource, TakesTheFirstFreeNumberedName) {
    Project p;
    const std::string src = p.dir.file("in/logo.gif");
    writeBytes(src, "new");
    writeBytes(p.res + "/logo.gif", "a");
    writeBytes(p.res + "/logo(1).gif", "b");
    const std::string copy = copyIntoResource(src, p.res + "/logo.gif");
    EXPECT_EQ(copy, p.res + "/logo(2).gif");
    EXPECT_EQ(readBytes(copy), "new");
    EXPECT_EQ(readBytes(p.res + "/logo.gif"), "a");

    writeBytes(p.dir.file("in/a.b.htm"), "x");
    EXPECT_EQ(copyIntoResource(p.dir.file("in/a.b.htm"), p.res + "/deep/er/a.b.htm"),
              p.res + "/deep/er/a.b.htm");
    // A file already in the folder still gets a numbered duplicate.
    EXPECT_EQ(copyIntoResource(p.res + "/deep/er/a.b.htm", p.res + "/deep/er/a.b.htm"),
              p.res + "/deep/er/a.b(1).htm");
}

TEST(CopyCompanionFolder, CopiesTheFilesOfTheFolderBesideAPageOnce) {
    Project p;
    const std::string page = p.dir.file("in/a.htm");
    writeBytes(page, "page");
    writeBytes(p.dir.file("in/a_files/1.gif"), "1");
    writeBytes(p.dir.file("in/a_files/2.css"), "2");
    writeBytes(p.dir.file("in/a_files/sub/3.gif"), "3");
    writeBytes(p.dir.file("in/a.files/x.gif"), "x");
    std::vector<std::size_t> progress;
    EXPECT_TRUE(copyCompanionFolder(p.ws, page, [&](std::size_t done, std::size_t total) {
        progress.push_back(done * 10 + total);
    }));
    EXPECT_EQ(readBytes(p.res + "/a_files/2.css"), "2");
    EXPECT_FALSE(platform::pathExists(p.res + "/a_files/sub"));
    EXPECT_FALSE(platform::pathExists(p.res + "/a.files"));
    EXPECT_EQ(progress, (std::vector<std::size_t>{12, 22}));

    writeBytes(p.dir.file("in/a_files/4.gif"), "4");
    EXPECT_FALSE(copyCompanionFolder(p.ws, page));
    EXPECT_FALSE(platform::pathExists(p.res + "/a_files/4.gif"));

    writeBytes(p.dir.file("in/b.HTML"), "b");
    writeBytes(p.dir.file("in/b.files/y.gif"), "y");
    EXPECT_TRUE(copyCompanionFolder(p.ws, p.dir.file("in/b.HTML")));
    EXPECT_TRUE(platform::fileExists(p.res + "/b.files/y.gif"));
    writeBytes(p.dir.file("in/c_files/z.gif"), "z");
    EXPECT_FALSE(copyCompanionFolder(p.ws, p.dir.file("in/c.txt")));
}

TEST(ResourceViews, RowsSizesAndStandIns) {
    Project p;
    writeBytes(p.res + "/one.htm", "12345");
    p.addNode("One", "one.htm", 0, 8);
    p.addNode("Head", "", 1, 0);
    p.addNode("Lost", "lost.htm", 0, 8);
    p.addNode("Web", "http://example.com/", 0, 12);
    EXPECT_EQ(sizeText(5), "     53b");
    EXPECT_EQ(sizeText(1234567), "12345673b");
    EXPECT_EQ(
        paths(allResourcesView(p.ws)),
        (std::vector<std::string>{"One|_RESOURCE\\one.htm|     53b", "Head|_RESOURCE\\|*Header*",
                                  "Lost|_RESOURCE\\lost.htm|NotFound"}));
    EXPECT_TRUE(addedResourcesView(p.ws).empty());

    additionCheck(p.ws, "one.htm");
    additionCheck(p.ws, "img\\gone.gif");
    p.ws.project->writeString("Addition", "Key1", "kw");
    const auto added = addedResourcesView(p.ws);
    EXPECT_EQ(paths(added), (std::vector<std::string>{"kw|_RESOURCE\\one.htm|     53b",
                                                      "|_RESOURCE\\img\\gone.gif|NotFound"}));
    EXPECT_EQ(allResourcesView(p.ws).size(), 5u);
    EXPECT_EQ(pathColumnText("C:\\x\\_resource\\a.gif"), "_resource\\a.gif");
    EXPECT_EQ(pathColumnText("elsewhere/a.gif"), "elsewhere/a.gif");
}

TEST(ResourceAdding, ChooserStoresCapitalsAndRefusesOutsideFiles) {
    Project p;
    writeBytes(p.res + "/pic.gif", "g");
    writeBytes(p.pdir + "/outside.gif", "o");
    p.prompts.multiFileAnswers.push_back({p.res + "/pic.gif", p.pdir + "/outside.gif"});
    p.prompts.multiFileAnswers.push_back({p.res + "/pic.gif"});
    EXPECT_TRUE(addResourcesFromChooser(p.ws));
    EXPECT_FALSE(addResourcesFromChooser(p.ws));
    EXPECT_TRUE(p.prompts.sawText("内のファイルのみ追加できます。"));
    additionCheck(p.ws, "pic.gif");
    const auto entries = readAdditions(p.onDisk());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].file, "_RESOURCE\\PIC.GIF");
    EXPECT_EQ(entries[1].file, "_RESOURCE\\pic.gif");
}

TEST(ResourceAdding, DropCopiesNewNamesAndRefusesTakenOnes) {
    Project p;
    writeBytes(p.dir.file("in/New.gif"), "n");
    writeBytes(p.dir.file("in/taken.gif"), "t");
    writeBytes(p.res + "/taken.gif", "old");
    std::filesystem::create_directories(p.dir.file("in/folder"));
    EXPECT_TRUE(dropOnResourceList(
        p.ws, {p.dir.file("in/folder"), p.dir.file("in/taken.gif"), p.dir.file("in/New.gif")}));
    EXPECT_TRUE(p.prompts.sawText("同名のファイルが存在します。"));
    EXPECT_EQ(p.prompts.shown.size(), 1u);
    EXPECT_EQ(readBytes(p.res + "/taken.gif"), "old");
    EXPECT_EQ(readBytes(p.res + "/New.gif"), "n");
    const auto entries = readAdditions(p.onDisk());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].file, "_RESOURCE\\New.gif");
    EXPECT_FALSE(dropOnResourceList(p.ws, {}));
}

TEST(ResourceUnregister, DropsSelectedAndVanishedEntriesAndRenumbers) {
    Project p;
    for (const char* f : {"a.gif", "b.gif", "c.htm", "d.gif"}) {
        writeBytes(p.res + "/" + f, "x");
        additionCheck(p.ws, f);
    }
    p.ws.project->writeString("Addition", "Key3", "kc");
    std::filesystem::remove(p.res + "/b.gif");
    auto rows = addedResourcesView(p.ws);
    rows[0].selected = true;
    EXPECT_FALSE(keywordEnabled(rows));
    EXPECT_TRUE(unregisterEnabled(rows));
    rows = unregisterSelected(p.ws, rows);
    platform::IniFile disk = p.onDisk();
    EXPECT_EQ(disk.keyNames("Addition"),
              (std::vector<std::string>{"Count", "File1", "Key1", "File2", "Key2"}));
    EXPECT_EQ(disk.readInteger("Addition", "Count"), 2);
    EXPECT_EQ(disk.readString("Addition", "File1"), "_RESOURCE\\c.htm");
    EXPECT_EQ(disk.readString("Addition", "Key1"), "kc");
    EXPECT_TRUE(platform::fileExists(p.res + "/a.gif"));

    rows[0].selected = true;
    EXPECT_TRUE(keywordEnabled(rows));
    rows[1].selected = true;
    EXPECT_FALSE(keywordEnabled(rows));
    rows = unregisterSelected(p.ws, rows);
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(p.onDisk().sectionExists("Addition"));
    EXPECT_EQ(p.onDisk().readInteger("Addition", "Count"), 0);

    std::vector<ResourceRow> mixed{{RowKind::NodePage, "n", "_RESOURCE\\n.htm", "NotFound", true},
                                   {RowKind::AddedResource, "", "_RESOURCE\\x.htm", "", true}};
    EXPECT_FALSE(unregisterEnabled(mixed));
    EXPECT_TRUE(unregisterEnabled({}));
}
