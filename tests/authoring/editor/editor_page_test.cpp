#include <gtest/gtest.h>

#include "authoring/EditorPage.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "support/WorkspaceFixture.h"

using namespace tarnbook;
using project::TreeNode;

namespace {

struct EditorPageTest : ::testing::Test {
    tarnbook::testing::WorkspaceFixture f;
    TreeNode* node = nullptr;
    std::string page;

    void SetUp() override {
        f.ws.project = platform::IniFile();
        f.ws.project->writeString("XHP", "PDir", f.dir.path());
        page = f.dir.path() + "/_RESOURCE/page.htm";
        tarnbook::testing::writeBytes(page, "<html>\r\nold\r\n</html>\r\n");
        auto n = std::make_unique<TreeNode>();
        n->data.HTML = "page.htm";
        node = f.ws.tree.appendChild(nullptr, std::move(n));
        f.ws.tree.selectOnly(node);
        f.ws.currentPage = f.ws.resourceFolder() + "\\page.htm";
        f.ws.editorFile = f.ws.currentPage;
        f.editor.setTextBytes("<html>\r\nnew\r\n</html>\r\n");
    }
};

}  // namespace

TEST_F(EditorPageTest, SaveWritesTheLinesWithCrLfAndShowsTheNodeAfresh) {
    int shown = 0;
    EXPECT_FALSE(authoring::tagSave(f.ws, [&] { ++shown; }));  // unmodified: nothing
    EXPECT_EQ(tarnbook::testing::readBytes(page), "<html>\r\nold\r\n</html>\r\n");

    f.editor.text = "<html>\nnew\n</html>";
    f.editor.setModified(true);
    EXPECT_TRUE(authoring::tagSave(f.ws, [&] { ++shown; }));
    EXPECT_EQ(tarnbook::testing::readBytes(page), "<html>\r\nnew\r\n</html>\r\n");
    EXPECT_FALSE(f.editor.modified());
    EXPECT_TRUE(f.ws.currentPage.empty());
    EXPECT_EQ(shown, 1);
}

TEST_F(EditorPageTest, SaveWritesOnlyThePageTheEditorWasOpenedFor) {
    const std::string templ = f.dir.file("app/TEMPLATE");
    const std::string standard = templ + "/Default.HTML";
    const std::string log = f.dir.file("COMPILE.HTML");
    for (const std::string& file : {standard, templ + "/Remote.HTML", log})
        tarnbook::testing::writeBytes(file, "program");
    f.ws.settings.writeString("SYSTEM", "TEMPLATE", templ);
    f.ws.settings.writeString("SYSTEM", "DefHTML", standard);
    const struct {
        const char* name;
        std::string editorFile;  // what the editor was loaded from
        std::string shown;       // what the preview shows
        bool writes;
    } cases[] = {
        {"no page of its own (rich text, heading)", "", standard, false},
        {"the standard page", standard, standard, false},
        {"a template page", templ + "/Remote.HTML", standard, false},
        {"its page while the log is shown", page, log, true},
    };
    for (const auto& c : cases) {
        f.ws.editorFile = c.editorFile;
        f.ws.currentPage = c.shown;
        f.editor.setModified(true);
        EXPECT_EQ(authoring::tagSave(f.ws, nullptr), c.writes) << c.name;
        for (const std::string& file : {standard, templ + "/Remote.HTML", log})
            EXPECT_EQ(tarnbook::testing::readBytes(file), "program") << c.name;
    }
    EXPECT_EQ(tarnbook::testing::readBytes(page), "<html>\r\nnew\r\n</html>\r\n");
}

TEST_F(EditorPageTest, PreviewOfUnsavedEditsUsesATemporaryFileThatLaterTabChangesDelete) {
    f.editor.text = "short";
    f.editor.setModified(true);
    authoring::pageChanged(f.ws, ui::Page::Preview, nullptr);
    const std::string temp = f.ws.previewTempFile;
    ASSERT_FALSE(temp.empty());
    EXPECT_NE(platform::fileNamePart(temp).find("QLT"), std::string::npos);
    EXPECT_EQ(f.preview.last(), temp);
    EXPECT_EQ(platform::readFile(temp), "short\r\n");
    EXPECT_EQ(tarnbook::testing::readBytes(page),
              "<html>\r\nold\r\n</html>\r\n");  // page untouched

    bool built = false;
    authoring::pageChanged(f.ws, ui::Page::Resources, [&] { built = true; });
    EXPECT_TRUE(built);
    EXPECT_TRUE(f.ws.previewTempFile.empty());
    EXPECT_FALSE(platform::fileExists(temp));

    // Unmodified text is previewed from the page itself: no temporary file.
    f.editor.setModified(false);
    authoring::pageChanged(f.ws, ui::Page::Preview, nullptr);
    EXPECT_TRUE(f.ws.previewTempFile.empty());
}

TEST_F(EditorPageTest, EditorTabHidesForWebLinksArchivesAndNodesWithoutPage) {
    EXPECT_TRUE(authoring::editorPageVisible(f.ws));
    node->data.HTML = "x.MHT";
    EXPECT_FALSE(authoring::editorPageVisible(f.ws));
    node->data.HTML = "http://example.com/";
    node->data.ImageIndex = 13;
    EXPECT_FALSE(authoring::editorPageVisible(f.ws));
    node->data.ImageIndex = 8;
    node->data.HTML.clear();
    EXPECT_FALSE(authoring::editorPageVisible(f.ws));
    node->data.HTML = "page.htm";
    authoring::refreshWindowState(f.ws);
    EXPECT_TRUE(f.status.pageVisible[ui::Page::Editor]);
    f.ws.project.reset();
    authoring::refreshWindowState(f.ws);
    EXPECT_FALSE(f.status.pageVisible[ui::Page::Editor]);
}

TEST(EditorPaste, LineBreakPasteCodesEveryBreakAndConvertsToCp932) {
    EXPECT_EQ(authoring::pasteBytes(u"a\r\nb\nc\rd", true), "a<br/>\r\nb<br/>\r\nc<br/>\r\nd");
    EXPECT_EQ(authoring::pasteBytes(u"\u3042\r\n", false), "\x82\xA0\r\n");
}

TEST_F(EditorPageTest, TextSizeIsRememberedWithinItsRange) {
    authoring::setPreviewTextSize(f.ws, 2);
    EXPECT_EQ(f.preview.textSize, 2);
    EXPECT_EQ(authoring::basePreviewTextSize(f.ws), 2);
    authoring::setPreviewTextSize(f.ws, 9);
    EXPECT_EQ(authoring::basePreviewTextSize(f.ws), 2);
}
