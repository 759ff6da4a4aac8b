#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TagTestProject.h"
#include "authoring/tags/ButtonTagForms.h"
#include "authoring/tags/MediaForm.h"
#include "authoring/tags/NodeAnchor.h"
#include "authoring/tags/PageLinkForm.h"
#include "authoring/tags/SplashForm.h"
#include "authoring/tags/TagCommandList.h"
#include "contents/CommandTable.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/IoError.h"

using namespace tarnbook;
using namespace tarnbook::authoring;
using tarnbook::testing::FakeEditor;
using tarnbook::testing::readBytes;
using tarnbook::testing::TagTestProject;
using tarnbook::testing::writeBytes;

using Strings = std::vector<std::string>;

namespace {

std::string titleBytes() {
    return platform::utf8ToCp932("はじめに");
}

}  // namespace

TEST(TagFiles, ChosenFilesAreCopiedOnceAndNeverOverwritten) {
    TagTestProject p;
    writeBytes(p.res + "/tool.ico", "kept");
    writeBytes(p.dir.file("elsewhere/tool.ico"), "other");
    writeBytes(p.dir.file("elsewhere/chime.wav"), "RIFF");
    writeBytes(p.dir.file("elsewhere/movie.dcr"), "XFIR");

    // An icon whose name is taken keeps the file there, and is registered once.
    for (int i = 0; i < 2; ++i) {
        p.prompts.fileAnswers.push_back(p.dir.file("elsewhere/tool.ico"));
        ShortcutForm f(p.ws);
        ASSERT_TRUE(f.face.chooseIcon());
        EXPECT_EQ(f.face.face().icon, "tool.ico");
    }
    EXPECT_EQ(readBytes(p.res + "/tool.ico"), "kept");

    // A sound is copied the first time and reused the second.
    for (int i = 0; i < 2; ++i) {
        MediaForm f(p.ws, MediaKind::Sound);
        f.setFile(p.dir.file("elsewhere/chime.wav"));
        ASSERT_TRUE(f.okEnabled());
        f.accept();
    }
    EXPECT_EQ(readBytes(p.res + "/chime.wav"), "RIFF");

    // The Director movie goes beside the compiled help and is not registered.
    MediaForm director(p.ws, MediaKind::Director);
    director.setFile(p.dir.file("elsewhere/movie.dcr"));
    director.accept();
    EXPECT_TRUE(platform::fileExists(p.pdir + "/movie.dcr"));
    EXPECT_FALSE(platform::fileExists(p.res + "/movie.dcr"));

    // Splash pictures always get a fresh copy, even from inside the resource folder.
    writeBytes(p.res + "/logo.gif", "GIF");
    for (int i = 0; i < 2; ++i) {
        SplashForm f(p.ws);
        f.setPicture(p.res + "/logo.gif");
        f.accept();
    }
    EXPECT_TRUE(platform::fileExists(p.res + "/logo(2).gif"));

    EXPECT_EQ(p.registeredOnDisk(), (Strings{"_RESOURCE\\tool.ico", "_RESOURCE\\chime.wav",
                                             "_RESOURCE\\logo(1).gif", "_RESOURCE\\logo(2).gif"}));
}

TEST(TagFiles, AFailedCopyEndsTheCommandWithoutMarkup) {
    TagTestProject p;
    MediaForm f(p.ws, MediaKind::Flash);
    f.setFile(p.dir.file("gone.swf"));
    EXPECT_FALSE(f.okEnabled());
    EXPECT_THROW(f.accept(), platform::IoError);
    EXPECT_TRUE(p.registeredOnDisk().empty());
}

TEST(TagForms, OkNeedsWhatTheMarkupNeeds) {
    TagTestProject p;
    writeBytes(p.dir.file("m.swf"), "FWS");

    ShortcutForm ext(p.ws);
    ext.face.setText("Run");
    EXPECT_FALSE(ext.okEnabled());  // no program
    ext.program = "a.exe";
    EXPECT_TRUE(ext.okEnabled());
    ext.face.setText("");
    EXPECT_FALSE(ext.okEnabled());  // a text button without text
    ext.face.setStyle(ButtonStyle::Icon);
    EXPECT_FALSE(ext.okEnabled());  // icon style without an icon
    EXPECT_TRUE(ext.face.iconVisible());
    EXPECT_FALSE(ext.face.textVisible());
    ext.face.setStyle(ButtonStyle::Shortcut);
    EXPECT_TRUE(ext.okEnabled());

    p.addNode("One", "a.htm");
    RelatedTopicsForm rel(p.ws);
    EXPECT_EQ(platform::cp932ToUtf8(rel.face.face().text), "関連トピック");
    EXPECT_FALSE(rel.okEnabled());  // nothing ticked
    rel.setTicked(0, true);
    EXPECT_TRUE(rel.okEnabled());
    rel.face.setText("");
    EXPECT_FALSE(rel.okEnabled());

    LinkButtonForm link(p.ws, LinkKind::K);
    EXPECT_EQ(link.buttonText(), u"环境设定");
    EXPECT_FALSE(link.okEnabled());  // no keyword, whatever the style
    link.face.setStyle(ButtonStyle::Shortcut);
    EXPECT_FALSE(link.okEnabled());
    link.setKeyword(std::string(200, 'k'));
    EXPECT_EQ(link.keyword().size(), LinkButtonForm::kKeywordLimit);
    EXPECT_TRUE(link.okEnabled());
    link.face.setStyle(ButtonStyle::Text);
    link.setButtonText(u"");
    EXPECT_FALSE(link.okEnabled());

    HelpButtonForm close(HelpButtonKind::Close);
    EXPECT_TRUE(close.okEnabled());
    close.text.clear();
    EXPECT_FALSE(close.okEnabled());
    EXPECT_FALSE(HelpButtonForm(HelpButtonKind::Version).fontUsed());

    SplashForm splash(p.ws);
    EXPECT_EQ(splash.milliseconds(), 2000);
    splash.setMilliseconds(0);
    EXPECT_EQ(splash.milliseconds(), 1);
    splash.setMilliseconds(90000);
    EXPECT_EQ(splash.milliseconds(), 60000);
    splash.setPicture(p.dir.file("none.gif"));
    EXPECT_FALSE(splash.okEnabled());

    MediaForm flash(p.ws, MediaKind::Flash);
    flash.setFile(p.dir.file("m.swf"));
    EXPECT_TRUE(flash.okEnabled());
    flash.setWidth("1234567");
    EXPECT_EQ(flash.widthNumber(), 99999);  // what the sizing window is given
    flash.setWidth("abc");
    EXPECT_FALSE(flash.okEnabled());
    MediaForm sound(p.ws, MediaKind::Sound);
    sound.setVolume(150);
    EXPECT_EQ(sound.volume(), 100);
}

TEST(PageLinkForm, OffersTheFirstNamedAnchorOfEachLine) {
    TagTestProject p;
    writeBytes(p.res + "/a.htm",
               "<A NAME=\"Intro\">Intro</A>\r\n"
               "<a name=one></a><a name=two></a>\r\n"
               "<a id=notAName>\r\n"
               "<a name=\"open\r\n"
               "<a name=last>\r\n");
    writeBytes(p.res + "/plain.htm", "<p>no anchors</p>\r\n");
    writeBytes(p.res + "/notes.txt", "<a name=x>\r\n");
    p.addNode(titleBytes(), "a.htm");
    p.addNode("Plain", "plain.htm");
    p.addNode("Notes", "notes.txt");
    p.addNode("Heading", "");

    PageLinkForm f(p.ws);
    ASSERT_EQ(f.pages().size(), 3u);
    EXPECT_FALSE(f.okEnabled());  // no page yet
    EXPECT_FALSE(f.anchorsEnabled());
    EXPECT_EQ(platform::cp932ToUtf8(f.linkText()), "参照");

    f.choosePage(0);
    EXPECT_EQ(f.anchors().entries(),
              (Strings{platform::utf8ToCp932("指定無し"), "intro", "one", "last"}));
    EXPECT_TRUE(f.anchorsEnabled());
    EXPECT_EQ(f.anchors().chosen(), 0);
    EXPECT_EQ(f.linkText(), titleBytes());  // the page's title
    f.chooseAnchor(3);
    EXPECT_EQ(f.linkText(), "last");
    EXPECT_EQ(f.markup(), "<a href=\"a.htm#last\">last</a>");
    f.chooseAnchor(0);  // "指定無し" again: no "#"
    EXPECT_EQ(f.markup(), "<a href=\"a.htm\">" + platform::utf8ToCp932("指定無し") + "</a>");

    // A page that is not HTML offers no anchors and keeps the link text.
    f.setLinkText("keep");
    f.choosePage(2);
    EXPECT_FALSE(f.anchorsEnabled());
    EXPECT_EQ(f.markup(), "<a href=\"notes.txt\">keep</a>");

    f.choosePage(1);
    EXPECT_FALSE(f.anchorsEnabled());
    EXPECT_EQ(f.linkText(), "Plain");
}

TEST(NodeAnchor, SelectsAnyCaseAndPlacesTheCaretOnExactCase) {
    FakeEditor editor;
    editor.setTextBytes("line\n<a name=\"Top\">\n");
    EXPECT_TRUE(selectNodeAnchor(editor, "Top"));
    EXPECT_EQ(editor.selStart, 5);
    EXPECT_EQ(editor.selLength, static_cast<int>(std::string("<a name=\"Top").size()));
    EXPECT_FALSE(selectNodeAnchor(editor, ""));
    EXPECT_TRUE(caretToNodeAnchor(editor, "Top"));
    EXPECT_EQ(editor.selStart, 5);
    EXPECT_EQ(editor.selLength, 0);
}

TEST(TagCommandList, EveryTagEntryOfTheMenusHasADialog) {
    std::vector<std::string_view> menuIds;
    for (const auto& menu : contents::menuLayouts())
        if (menu.caption == "オブジェクトタグ(&O)") menuIds = menu.entries;
    ASSERT_FALSE(menuIds.empty());
    std::vector<std::string_view> toolbarIds;
    for (const auto& bar : contents::toolbarLayouts())
        if (bar.name == "ToolBarTag") toolbarIds = bar.commands;
    ASSERT_FALSE(toolbarIds.empty());

    using Ids = const std::vector<std::string_view>*;
    for (Ids ids : {Ids(&menuIds), Ids(&toolbarIds), Ids(&editorTagSubmenu())})
        for (std::string_view id : *ids) {
            if (id == "|") continue;
            SCOPED_TRACE(std::string(id));
            const TagCommandSpec* entry = findTagCommand(id);
            ASSERT_NE(entry, nullptr);
            const contents::Command* command = contents::findCommand(id);
            ASSERT_NE(command, nullptr);
            EXPECT_EQ(command->rule, contents::Rule::J);
            if (entry->dialog == TagDialog::KeywordName || entry->dialog == TagDialog::AnchorName) {
                EXPECT_FALSE(entry->caption.empty() || entry->label.empty());
            }
        }
    // The editor's submenu offers the same commands as the main menu, grouped its own way.
    auto sorted = [](std::vector<std::string_view> v) {
        std::erase(v, std::string_view("|"));
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(editorTagSubmenu()), sorted(menuIds));
    EXPECT_EQ(tagCommandSpecs().size(), sorted(menuIds).size());
}
