#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "folderimport/FolderImport.h"
#include "platform/Files.h"
#include "project/ProjectLifecycle.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using namespace tarnbook::folderimport;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;
namespace fs = std::filesystem;

namespace {

struct ImportProject : tarnbook::testing::WorkspaceFixture {
    TempDir source;
    std::string res;
    explicit ImportProject(const std::string& extraXhp = "") {
        EXPECT_TRUE(project::openProject(ws, makeProjectFile("P", "Version=249\r\n" + extraXhp)));
        res = ws.projectFolder() + "/_RESOURCE";
        ws.settings.writeInteger("FilterFolder", "temp", 1);
        ws.settings.writeInteger("FilterFolder", "bak", 0);
    }
    std::string src(const std::string& rel) const { return source.file("src/" + rel); }
    // "title|html" of each child of `node`, headings marked with a trailing '/'.
    static std::vector<std::string> children(const project::TreeNode* node) {
        std::vector<std::string> out;
        for (const auto& c : node->children())
            out.push_back(c->data.Title + (c->data.isHeading() ? "/" : "|" + c->data.HTML));
        return out;
    }
};

using Names = std::vector<std::string>;

TEST(FolderImport, FoldersBecomeHeadingsBeforePagesAndFilesLandInTheMirroredFolders) {
    ImportProject p;
    writeBytes(p.src("index.htm"), "<html><title>Start page</title>\n<p>x</p>\n");
    writeBytes(p.src("pic.gif"), std::string("GIF89a\0\x01\xff", 9));
    writeBytes(p.src("data.xml"), "<x/>");
    writeBytes(p.src("sub/index.htm"), "<p>no title</p>");
    writeBytes(p.src("sub/readme.txt"), "line one\nline two\n");
    writeBytes(p.src("sub/deeper/page.html"), "<title>Deep</title>");
    writeBytes(p.src("temp/hidden.htm"), "<p>skipped</p>");
    writeBytes(p.src("Temp/shown.htm"), "<p>exact names only</p>");
    writeBytes(p.src("bak/kept.htm"), "<p>value 0 does not skip</p>");

    const ImportReport r = importFolderTree(p.ws, p.src(""), TitleSource::TitleTag);
    ASSERT_EQ(p.ws.tree.topLevelCount(), 1u);
    const project::TreeNode* top = p.ws.tree.topLevel(0);
    EXPECT_EQ(top->data.Title, "src");
    EXPECT_EQ(top->data.ImageIndex, 4);
    EXPECT_EQ(top->selectedIndex, 5);
    EXPECT_EQ(ImportProject::children(top),
              (Names{"Temp/", "bak/", "sub/", "data|data.xml", "Start page|index.htm"}));
    const project::TreeNode* sub = top->child(2);
    EXPECT_EQ(ImportProject::children(sub),
              (Names{"deeper/", "index|sub\\index.htm", "readme|readme.html"}));
    EXPECT_EQ(ImportProject::children(sub->child(0)), (Names{"Deep|sub\\deeper\\page.html"}));
    EXPECT_EQ(sub->child(1)->data.ImageIndex, 10);
    EXPECT_EQ(sub->child(1)->data.Level, 2);

    EXPECT_EQ(readBytes(p.res + "/pic.gif"), readBytes(p.src("pic.gif")));
    EXPECT_EQ(readBytes(p.res + "/sub/index.htm"), "<p>no title</p>");
    EXPECT_NE(readBytes(p.res + "/readme.html").find("line two"), std::string::npos);
    EXPECT_FALSE(fs::exists(p.res + "/sub/readme.txt"));
    EXPECT_FALSE(fs::exists(p.res + "/temp"));
    EXPECT_TRUE(fs::exists(p.res + "/Temp/shown.htm"));
    // Only the top folder's index page becomes the default page.
    EXPECT_EQ(p.ws.project->readString("XHP", "Default"), "_RESOURCE\\index.htm");
    EXPECT_FALSE(p.ws.saved);
    EXPECT_EQ(r.folders, 5u);
    EXPECT_EQ(r.items, 7u);
    EXPECT_EQ(r.written, 8u);
    EXPECT_EQ(r.skipped, 1u);
    EXPECT_FALSE(r.cancelled);
}

TEST(FolderImport, AProjectFolderBelowTheSourceStopsTheImportBeforeAnythingChanges) {
    ImportProject p;
    writeBytes(p.src("a.htm"), "<p>a</p>");
    writeBytes(p.src("old/_RESOURCE/b.htm"), "<p>b</p>");
    const ImportReport r = importFolderTree(p.ws, p.src(""), TitleSource::TitleTag);
    EXPECT_TRUE(p.ws.tree.empty());
    EXPECT_TRUE(fs::is_empty(p.res));
    EXPECT_TRUE(p.ws.saved);
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("_RESOURCE"), std::string::npos);
}

TEST(FolderImport, AnExistingDifferentFileIsNeverReplacedUnasked) {
    struct Case {
        const char* name;
        bool confirm;
        ui::Answer answer;
        std::string expectedOld;  // what the existing file holds afterwards
        std::string expectedNode;
        bool renamedCopy;
    };
    const std::vector<Case> cases = {
        {"silent", false, ui::Answer::Yes, "old", "a.htm", false},  // identical: skipped
        {"silent-different", false, ui::Answer::Yes, "old", "a(1).htm", true},
        {"asked-no", true, ui::Answer::No, "old", "a.htm", false},
        {"asked-yes", true, ui::Answer::Yes, "new", "a.htm", false},
    };
    for (const Case& c : cases) {
        ImportProject p;
        p.ws.settings.writeBool("SYSTEM", "ConfirmOverWrite", c.confirm);
        p.prompts.answers.push_back(c.answer);
        const bool identical = std::string(c.name) == "silent";
        writeBytes(p.src("a.htm"), identical ? "old" : "new");
        writeBytes(p.res + "/a.htm", "old");
        const ImportReport r = importFolderTree(p.ws, p.src(""), TitleSource::FileName);
        EXPECT_EQ(readBytes(p.res + "/a.htm"), c.expectedOld) << c.name;
        ASSERT_EQ(p.ws.tree.count(), 2u) << c.name;
        EXPECT_EQ(p.ws.tree.topLevel(0)->child(0)->data.HTML, c.expectedNode) << c.name;
        EXPECT_EQ(fs::exists(p.res + "/a(1).htm"), c.renamedCopy) << c.name;
        if (c.renamedCopy) {
            EXPECT_EQ(readBytes(p.res + "/a(1).htm"), "new");
            EXPECT_EQ(r.warnings.size(), 1u) << "a renamed copy is reported";
        }
        EXPECT_EQ(p.prompts.shown.size(), c.confirm ? 1u : 0u) << c.name;
    }
}

TEST(FolderImport, NothingIsWrittenOutsideTheResourceFolder) {
    ImportProject p;
    TempDir outside;
    writeBytes(outside.file("secret.htm"), "<p>outside</p>");
    writeBytes(outside.file("dir/inner.htm"), "<p>outside too</p>");
    writeBytes(p.src("real.htm"), "<p>in</p>");
    fs::create_directories(p.src("sub"));
    fs::create_symlink(outside.file("secret.htm"), p.src("link.htm"));
    fs::create_symlink(outside.file("dir"), p.src("linkdir"));
    fs::create_symlink(p.src("real.htm"), p.src("sub/alias.htm"));  // stays inside: followed
    // A name that would be a path on the system the files are meant for.
    writeBytes(p.src("..\\..\\escape.htm"), "<p>bad name</p>");

    const ImportReport r = importFolderTree(p.ws, p.src(""), TitleSource::FileName);
    EXPECT_FALSE(fs::exists(p.res + "/link.htm"));
    EXPECT_FALSE(fs::exists(p.res + "/linkdir"));
    EXPECT_EQ(readBytes(p.res + "/sub/alias.htm"), "<p>in</p>");
    EXPECT_EQ(r.skipped, 3u);
    std::size_t files = 0;
    for (const auto& e : fs::recursive_directory_iterator(p.ws.projectFolder()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 3u) << "the project file, real.htm and alias.htm";
}

TEST(FolderImport, ConversionsAreAppliedAndCancellingStopsBetweenFiles) {
    ImportProject p("ConvKillJS=1\r\nURLFilter=1\r\n");
    p.ws.settings.writeString("URLFilter", "ads.example", "");
    writeBytes(p.src("a.htm"), "<script src=m.js></script>\n<a href=http://ads.example>x</a>\n");
    writeBytes(p.src("b.htm"), "b");
    writeBytes(p.src("c.htm"), "c");
    int calls = 0;
    const ImportReport r =
        importFolderTree(p.ws, p.src(""), TitleSource::FileName, [&](int percent) {
            EXPECT_GE(percent, 0);
            EXPECT_LE(percent, 100);
            return ++calls < 3;  // the scan, the first file, then stop
        });
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(readBytes(p.res + "/a.htm"),
              "<script src=m.jss></script>\r\n<a href=http://_ads.example>x</a>\r\n");
    EXPECT_TRUE(fs::exists(p.res + "/b.htm"));
    EXPECT_FALSE(fs::exists(p.res + "/c.htm"));
}

TEST(FolderImport, DropsAreAcceptedByKnownExtensionSwitchedOnInTheSettings) {
    platform::IniFile settings;
    settings.writeInteger("FilterImport", ".htm", 1);
    settings.writeInteger("FilterImport", ".xml", 0);
    settings.writeInteger("FilterImport", ".exe", 1);
    const std::vector<std::pair<const char*, bool>> cases = {{"/a/Page.HTM", true},
                                                             {"/a/data.xml", false},
                                                             {"/a/run.exe", false},
                                                             {"/a/notes.txt", false},
                                                             {"/a/noext", false}};
    for (const auto& [file, expected] : cases)
        EXPECT_EQ(isDropImportable(settings, file), expected) << file;
}

TEST(FolderImport, ADroppedIndexPageSetsTheDefaultAndKeepsItsCompanionFolder) {
    ImportProject p;
    writeBytes(p.src("index.html"), "<title>Home</title>");
    writeBytes(p.src("index_files/s.css"), "body{}");
    FileImporter importer(p.ws, TitleSource::TitleTag);
    const project::TreeNode* n = importer.importFile(p.src("index.html"), nullptr, "");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->data.Title, "Home");
    EXPECT_EQ(p.ws.project->readString("XHP", "Default"), "_RESOURCE\\index.html");
    EXPECT_EQ(readBytes(p.res + "/index_files/s.css"), "body{}");
    EXPECT_EQ(importer.importFile(p.src("index_files/s.css"), nullptr, ""), nullptr)
        << "a file that is not a page gets no node";
}

}  // namespace
