#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "TagTestProject.h"
#include "authoring/tags/ButtonTagForms.h"
#include "authoring/tags/MediaForm.h"
#include "authoring/tags/MediaTagMarkup.h"
#include "authoring/tags/PageLinkForm.h"
#include "authoring/tags/SplashForm.h"
#include "authoring/tags/TagInsertion.h"
#include "platform/Cp932.h"

using namespace tarnbook;
using namespace tarnbook::authoring;
using tarnbook::testing::TagTestProject;
using tarnbook::testing::writeBytes;

namespace {

std::string sjis(const char* utf8) {
    return platform::utf8ToCp932(utf8);
}

// The expected markup, keyed by case name; the file is UTF-8, the markup CP932.
std::map<std::string, std::string> expectedMarkup() {
    const std::string path =
        std::string(TARNBOOK_SOURCE_DIR) + "/tests/authoring/tags/data/expected.txt";
    std::ifstream in(path);
    EXPECT_TRUE(in) << "missing test data " << path;
    std::map<std::string, std::string> out;
    std::string line, name;
    while (std::getline(in, line)) {
        if (line.starts_with("#")) continue;
        if (line.starts_with("[") && line.ends_with("]")) {
            name = line.substr(1, line.size() - 2);
            out[name];
            continue;
        }
        std::string& text = out[name];
        if (!text.empty()) text += "\r\n";
        text += platform::utf8ToCp932(line);
    }
    return out;
}

TagFont font(const char* family, int size) {
    return {sjis(family), size};
}

// Each case fills a dialog form the way its widgets would and returns what OK inserts.
using Case = std::function<std::string(TagTestProject&)>;

const std::map<std::string, Case>& cases() {
    static const std::map<std::string, Case> all = {
        {"ext_text_button",
         [](TagTestProject& p) {
             ShortcutForm f(p.ws);
             f.face.setText(sjis("起動"));
             f.program = "notepad.exe";
             f.parameters = "readme.txt";
             return f.markup();
         }},
        {"ext_shortcut_no_parameters",
         [](TagTestProject& p) {
             ShortcutForm f(p.ws);
             f.face.setStyle(ButtonStyle::Shortcut);
             f.program = "C:\\Tools\\calc.exe";
             f.font = font("ＭＳ ゴシック", 9);
             return f.markup();
         }},
        {"ext_icon_button",
         [](TagTestProject& p) {
             writeBytes(p.dir.file("outside/tool.ico"), "icon");
             p.prompts.fileAnswers.push_back(p.dir.file("outside/tool.ico"));
             ShortcutForm f(p.ws);
             f.face.setStyle(ButtonStyle::Icon);
             EXPECT_TRUE(f.face.chooseIcon());
             f.program = "run.exe";
             f.parameters = "-a -b";
             return f.markup();
         }},
        {"related_popup_three_of_five",
         [](TagTestProject& p) {
             p.ws.project->writeString("XHP", "PDir",
                                       "/p");  // the paths are shown whole in the markup
             p.addNode("First", "a.htm");
             p.addNode("Second", "b.htm");
             p.addNode("Heading without page", "");
             p.addNode("Third", "c.htm");
             p.addNode("Fourth", "d.htm");
             p.addNode("Fifth", "http://example.com/", 12);
             RelatedTopicsForm f(p.ws);
             EXPECT_EQ(f.topics().size(), 5u);
             for (std::size_t i : {0u, 2u, 4u}) f.setTicked(i, true);
             return f.markup();
         }},
        {"related_dialog_icon",
         [](TagTestProject& p) {
             p.ws.project->writeString("XHP", "PDir", "/p");
             p.addNode(sjis("一番"), "a.htm");
             p.addNode(sjis("二番"), "sub\\b.htm");
             RelatedTopicsForm f(p.ws);
             f.setTicked(1, true);
             f.popupMenu = false;
             f.face.setStyle(ButtonStyle::Icon);
             f.face.setIcon("rel.ico");
             f.font = font("Arial", 10);
             return f.markup();
         }},
        {"alink_text_button",
         [](TagTestProject& p) {
             LinkButtonForm f(p.ws, LinkKind::A);
             f.setButtonText(u"設定");
             f.setKeyword("setup");
             return f.markup();
         }},
        {"alink_icon_button",
         [](TagTestProject& p) {
             LinkButtonForm f(p.ws, LinkKind::A);
             f.face.setStyle(ButtonStyle::Icon);
             f.face.setIcon("a.ico");
             f.setKeyword("kw");
             return f.markup();
         }},
        {"klink_shortcut_button",
         [](TagTestProject& p) {
             LinkButtonForm f(p.ws, LinkKind::K);
             f.face.setStyle(ButtonStyle::Shortcut);
             f.setKeyword(sjis("索引語"));
             f.font = font("Helvetica", 14);
             return f.markup();
         }},
        {"alink_keyword_object",
         [](TagTestProject&) { return keywordObject(LinkKind::A, "Intro"); }},
        {"klink_keyword_object_empty",
         [](TagTestProject&) { return keywordObject(LinkKind::K, ""); }},
        {"close_text_button",
         [](TagTestProject&) { return HelpButtonForm(HelpButtonKind::Close).markup(); }},
        {"close_link_text",
         [](TagTestProject&) {
             HelpButtonForm f(HelpButtonKind::Close);
             f.face = HelpButtonFace::LinkText;
             f.text = sjis("閉じる");
             f.font = font("Arial", 8);
             return f.markup();
         }},
        {"version_link_text",
         [](TagTestProject&) {
             HelpButtonForm f(HelpButtonKind::Version);
             f.face = HelpButtonFace::LinkText;
             f.font = font("Arial", 30);  // the version button writes no font
             return f.markup();
         }},
        {"version_text_button",
         [](TagTestProject&) {
             HelpButtonForm f(HelpButtonKind::Version);
             f.text = sjis("版");
             return f.markup();
         }},
        {"splash_numbered_copy",
         [](TagTestProject& p) {
             writeBytes(p.res + "/logo.gif", "GIF89a");
             SplashForm f(p.ws);
             f.setPicture(p.res + "/logo.gif");
             EXPECT_TRUE(f.okEnabled());
             return f.accept();
         }},
        {"popup_two_lines",
         [](TagTestProject&) {
             contents::PopupForm f;
             f.callText = "こちら";
             f.setPopupText("一行目\r\n二行目");
             f.italic = true;  // always written bold
             return popupInsert(f).markup;
         }},
        {"popup_control_object", [](TagTestProject&) { return popupControlObject(); }},
        {"sound",
         [](TagTestProject& p) {
             writeBytes(p.dir.file("media/chime.wav"), "RIFF");
             MediaForm f(p.ws, MediaKind::Sound);
             f.setFile(p.dir.file("media/chime.wav"));
             f.setVolume(40);
             return f.accept();
         }},
        {"flash",
         [](TagTestProject& p) {
             writeBytes(p.dir.file("media/intro.swf"), "FWS");
             MediaForm f(p.ws, MediaKind::Flash);
             f.setFile(p.dir.file("media/intro.swf"));
             f.setWidth("32x0");  // only digits are taken
             f.setHeight("240");
             return f.accept();
         }},
        {"director",
         [](TagTestProject& p) {
             writeBytes(p.dir.file("media/movie.dcr"), "XFIR");
             MediaForm f(p.ws, MediaKind::Director);
             f.setFile(p.dir.file("media/movie.dcr"));
             f.setHeight("150");
             return f.accept();
         }},
        {"anchor", [](TagTestProject&) { return anchorTag("top"); }},
        {"page_link_with_anchor",
         [](TagTestProject& p) {
             writeBytes(p.res + "/sub/page.htm",
                        "<html>\r\n<A NAME=\"Intro\">x</a>\r\n</html>\r\n");
             p.addNode("Page", "sub\\page.htm");
             PageLinkForm f(p.ws);
             f.choosePage(0);
             f.chooseAnchor(1);
             f.setLinkText("Intro");
             return f.markup();
         }},
        {"page_link_no_anchor",
         [](TagTestProject& p) {
             writeBytes(p.res + "/page.htm", "<html></html>");
             p.addNode("Page", "page.htm");
             PageLinkForm f(p.ws);
             f.choosePage(0);
             f.setLinkText(sjis("参照"));
             return f.markup();
         }},
    };
    return all;
}

}  // namespace

TEST(TagMarkup, EveryCommandWritesItsTemplateExactly) {
    const auto expected = expectedMarkup();
    ASSERT_EQ(expected.size(), cases().size());
    for (const auto& [name, run] : cases()) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(expected.count(name));
        TagTestProject p;
        EXPECT_EQ(platform::cp932ToUtf8(run(p)), platform::cp932ToUtf8(expected.at(name)));
    }
}
