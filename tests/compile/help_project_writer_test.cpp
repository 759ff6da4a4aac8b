#include <gtest/gtest.h>

#include <algorithm>

#include "compile/BuildTestSupport.h"
#include "compile/HelpProjectWriter.h"
#include "platform/IoError.h"

namespace tarnbook::testing {
namespace {

using compile::startPage;
using compile::windowDefinition;
using compile::writeHelpProjectFile;

std::string hhpText(BuildFixture& f) {
    writeHelpProjectFile(f.ws);
    return platform::readFile(f.inFolder("Help.hhp"));
}

bool hasLine(const std::string& text, const std::string& line) {
    const auto lines = platform::splitLines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> filesSection(const std::string& text) {
    auto lines = platform::splitLines(text);
    auto at = std::find(lines.begin(), lines.end(), "[FILES]");
    return at == lines.end() ? std::vector<std::string>{}
                             : std::vector<std::string>(at + 1, lines.end());
}

std::string field(const std::string& definition, int n) {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) start = definition.find(',', start) + 1;
    // Field 13 holds commas inside its brackets; callers ask for fields before it or use
    // fieldAfterRect.
    const std::size_t end = definition.find(',', start);
    return definition.substr(start, end - start);
}

std::string fieldAfterRect(const std::string& definition, int k) {
    std::size_t at = definition.find(']') + 2;
    for (int i = 1; i < k; ++i) at = definition.find(',', at) + 1;
    return definition.substr(at, definition.find(',', at) - at);
}

TEST(HelpProjectWriter, WholeFileForAPlainProject) {
    BuildFixture f;
    f.add(nullptr, "A", "a.htm");
    f.add(nullptr, "B", "sub\\b.htm");
    const std::string pdir = f.folder();
    const std::string expected =
        "[OPTIONS]\r\nAuto Index=Yes\r\nBinary Index=Yes\r\nCompatibility=1.1 or later\r\n"
        "Compiled file=Default.chm\r\nContents file=Help.hhc\r\nIndex file=Help.hhk\r\n"
        "Default Font=MS UI Gotic,10,128\r\nDefault Window=XHP\r\n"
        "Default topic=_RESOURCE\\a.htm\r\nDisplay compile progress=No\r\n"
        "Error log file=" +
        pdir +
        "/Compile.Log\r\nFlat=No\r\nFull-text search=No\r\n"
        "Language=0x0411 Japanese\r\nTitle=Help\r\n\r\n"
        "[WINDOWS]\r\nXHP=\"Help\",\"" +
        pdir + "/Help.hhc\",\"" + pdir +
        "/Help.hhk\",\"\",,,,,,0x300,100,0x0,[100,100,700,500],0x0,0x0,,,,,0\r\n"
        "$global_Web=\"Remote URL\",,,,,,,,,,,0x383c,[125,144,721,602],,,,,,,0\r\n\r\n"
        "[FILES]\r\n_RESOURCE\\a.htm\r\n_RESOURCE\\sub\\b.htm\r\n";
    EXPECT_EQ(hhpText(f), expected);
    // The side effects: the title filled in, the log path set.
    EXPECT_EQ(f.ws.project->readString("XHP", "HelpName"), "Help");
    EXPECT_EQ(f.ws.compileLogPath(), pdir + "/Compile.Log");
}

TEST(HelpProjectWriter, WindowDefinitionOfAWindowsProjectWithDefaults) {
    BuildFixture f;
    f.ws.project->writeString("XHP", "PDir", "C:\\P");
    f.set("HelpName", "Help");
    EXPECT_EQ(windowDefinition(f.ws),
              "\"Help\",\"C:\\P\\Help.hhc\",\"C:\\P\\Help.hhk\",\"\",,,,,,0x300,100,0x0,"
              "[100,100,700,500],0x0,0x0,,,,,0");
}

TEST(HelpProjectWriter, WindowDefinitionFieldsFollowTheProperties) {
    BuildFixture f;
    f.set("HelpName", "H");
    f.set("TabKeyword", "0");
    f.set("Default", "_RESOURCE\\top.htm");
    f.set("BTHomeURL", "1");
    f.set("URL", "_RESOURCE\\home.htm");
    f.set("JUMP1", "_RESOURCE\\j1.htm");  // ignored: BTJump1 is off
    f.set("BTJump2", "1");
    f.set("JUMP2", "http://x/");
    f.set("Jump2lbl", "Web");
    for (const char* k : {"BTBack", "BTNext", "BTPrint", "BTDown", "HideTxt", "TabSearch",
                          "KeepPos", "Maximize", "Topmost", "Edge", "HideFirst"})
        f.set(k, "1");
    f.set("Visible", "0");
    f.set("PosX", "10");
    f.set("PosY", "20");
    f.set("Width", "300");
    f.set("Height", "200");
    f.set("FrameWidth", "150");
    const std::string d = windowDefinition(f.ws);
    EXPECT_EQ(field(d, 3), "\"\"");
    EXPECT_EQ(field(d, 4), "\"_RESOURCE\\top.htm\"");
    EXPECT_EQ(field(d, 5), "_RESOURCE\\home.htm");
    EXPECT_EQ(field(d, 6), "");
    EXPECT_EQ(field(d, 8), "http://x/");
    EXPECT_EQ(field(d, 9), "Web");
    // 0x300 + 0x20 (pane shown) + 0x40 + 0x40000 + 0x20000 + 0x400
    EXPECT_EQ(field(d, 10), "0x60760");
    EXPECT_EQ(field(d, 11), "150");
    // back, forward, home, print, jump 2, previous topic
    EXPECT_EQ(field(d, 12), "0x48204C");
    EXPECT_NE(d.find(",[10,20,310,220],"), std::string::npos);
    EXPECT_EQ(fieldAfterRect(d, 1), "0x1000000");  // maximized, not visible
    EXPECT_EQ(fieldAfterRect(d, 2), "0x208");
    EXPECT_EQ(fieldAfterRect(d, 4), "1");
}

TEST(HelpProjectWriter, VisibleIsReadWithTwoDefaults) {
    BuildFixture f;
    std::string d = windowDefinition(f.ws);
    EXPECT_EQ(field(d, 10), "0x300");
    EXPECT_EQ(fieldAfterRect(d, 1), "0x0");
    f.set("Visible", "1");
    d = windowDefinition(f.ws);
    EXPECT_EQ(field(d, 10), "0x300");
    EXPECT_EQ(fieldAfterRect(d, 1), "0x10000000");
}

TEST(HelpProjectWriter, BinaryTocAndIndexFileConditions) {
    BuildFixture f;
    f.add(nullptr, "A", "a.htm");
    std::string t = hhpText(f);
    EXPECT_TRUE(hasLine(t, "Binary Index=Yes"));
    EXPECT_EQ(t.find("Binary TOC"), std::string::npos);
    EXPECT_TRUE(hasLine(t, "Index file=Help.hhk"));

    f.set("BToc", "1");
    f.set("TabKeyword", "0");
    f.set("FullTextSearch", "1");
    t = hhpText(f);
    EXPECT_TRUE(hasLine(t, "Binary TOC=Yes"));
    EXPECT_EQ(t.find("Binary Index"), std::string::npos);
    EXPECT_EQ(t.find("Index file"), std::string::npos);
    EXPECT_TRUE(hasLine(t, "Full-text search=Yes"));
    EXPECT_NE(t.find(".hhc\",\"\","), std::string::npos);
}

TEST(HelpProjectWriter, StartPageRules) {
    BuildFixture f;
    EXPECT_EQ(startPage(f.ws), "");  // no nodes at all
    f.add(nullptr, "Heading", "", 0);
    EXPECT_EQ(startPage(f.ws), "_RESOURCE\\");  // no node has a page
    f.add(nullptr, "First", "first.htm");
    f.add(nullptr, "Upper", "Index.htm");  // letter case must match
    EXPECT_EQ(startPage(f.ws), "_RESOURCE\\first.htm");
    f.add(nullptr, "Index", "sub\\index.htm");
    f.add(nullptr, "Later", "index.html");
    EXPECT_EQ(startPage(f.ws), "_RESOURCE\\sub\\index.htm");
    f.set("Default", "_RESOURCE\\chosen.htm");
    EXPECT_EQ(startPage(f.ws), "_RESOURCE\\chosen.htm");
}

TEST(HelpProjectWriter, StartPageDropsAnAbsoluteResourcePrefix) {
    BuildFixture f;
    f.add(nullptr, "Abs", f.folder() + "/_RESOURCE/p.htm");
    EXPECT_EQ(startPage(f.ws), "_RESOURCE\\p.htm");
}

TEST(HelpProjectWriter, FilesListsEachPageOnceAndNeverAWebAddress) {
    BuildFixture f;
    f.add(nullptr, "One", "Page.htm");
    f.add(nullptr, "Two", "PAGE.HTM");
    f.add(nullptr, "Head", "", 0);
    f.add(nullptr, "Web", "http://example.com/x.htm", 12);
    f.add(nullptr, "Same web page", "HTTP://example.com/x.htm", 8);  // named first by the link
    f.add(nullptr, "Other", "o.htm");
    f.addResource(1, "_RESOURCE\\o.htm");
    f.addResource(2, "");
    f.addResource(3, "_RESOURCE\\img\\logo.gif");
    f.set("UsePopup", "1");
    f.set("PopupTxt", "popups.txt");
    EXPECT_EQ(
        filesSection(hhpText(f)),
        (std::vector<std::string>{"_RESOURCE\\Page.htm", "_RESOURCE\\o.htm", "_RESOURCE\\o.htm", "",
                                  "_RESOURCE\\img\\logo.gif", "popups.txt"}));
}

TEST(HelpProjectWriter, EmptyHelpNameBecomesTheProjectName) {
    BuildFixture f("Manual");
    f.add(nullptr, "A", "a.htm");
    writeHelpProjectFile(f.ws);
    const std::string t = platform::readFile(f.inFolder("Manual.hhp"));
    EXPECT_TRUE(hasLine(t, "Title=Manual"));
    EXPECT_NE(t.find("XHP=\"Manual\","), std::string::npos);
    EXPECT_EQ(f.ws.project->readString("XHP", "HelpName"), "Manual");
}

TEST(HelpProjectWriter, AliasTableKeepsFirstPlaceAndLastPage) {
    BuildFixture f;
    f.set("UseMap", "1");
    f.set("Map", "C:\\elsewhere\\Help.MAP");
    f.add(nullptr, "A", "a.htm", 8, "", "", "", "IDH_A");
    f.add(nullptr, "B", "b.htm", 8, "", "", "", "IDH_B");
    f.add(nullptr, "No page", "", 0, "", "", "", "IDH_NONE");
    f.add(nullptr, "C", f.folder() + "\\_RESOURCE\\c.htm", 8, "", "", "", "idh_a");
    const std::string t = hhpText(f);
    EXPECT_NE(t.find("[ALIAS]\r\nIDH_A=_RESOURCE\\c.htm\r\nIDH_B=_RESOURCE\\b.htm\r\n\r\n"
                     "[MAP]\r\n#include Help.MAP\r\n\r\n[FILES]\r\n"),
              std::string::npos)
        << t;
    EXPECT_EQ(t.find("IDH_NONE"), std::string::npos);
}

TEST(HelpProjectWriter, UserAliasFileReplacesTheGeneratedTable) {
    BuildFixture f;
    f.set("UseMap", "1");
    f.set("UseUserAlias", "1");
    f.set("UserAlias", "alias.h");
    f.add(nullptr, "A", "a.htm", 8, "", "", "", "IDH_A");
    std::string t = hhpText(f);
    EXPECT_EQ(t.find("ALIAS"), std::string::npos);  // no file: no alias lines at all
    EXPECT_NE(t.find("\r\n[MAP]\r\n#include \r\n\r\n"), std::string::npos);

    writeBytes(f.inFolder("alias.h"), "[ALIAS]\nIDH_A=_RESOURCE\\a.htm\n");
    t = hhpText(f);
    EXPECT_NE(t.find("\r\n\r\n[ALIAS]\r\nIDH_A=_RESOURCE\\a.htm\r\n[MAP]\r\n"), std::string::npos)
        << t;
}

TEST(HelpProjectWriter, PopupAndMergeSectionsInOrder) {
    BuildFixture f;
    f.add(nullptr, "A", "a.htm");
    f.set("UsePopup", "1");
    f.set("PopupTxt", "texts\\popup.txt");
    f.set("Merge", "2");
    f.set("Merge1", "/somewhere/First.chm");
    f.set("Merge2", "/other/Second.chm");
    const std::string t = hhpText(f);
    const std::string expected =
        "\r\n[TEXT POPUPS]\r\npopup.txt\r\n\r\n[MERGE FILES]\r\n" + f.folder() + "/First.chm\r\n" +
        f.folder() + "/Second.chm\r\n[FILES]\r\n_RESOURCE\\a.htm\r\ntexts\\popup.txt\r\n";
    ASSERT_GE(t.size(), expected.size());
    EXPECT_EQ(t.substr(t.size() - expected.size()), expected);
}

TEST(HelpProjectWriter, RewritesAnOldFileWhateverItsCase) {
    BuildFixture f;
    f.add(nullptr, "A", "a.htm");
    writeBytes(f.inFolder("Help.HHP"), "old contents that are much longer than the new file");
    writeHelpProjectFile(f.ws);
    const auto entries = platform::listFolder(f.folder());
    int hhp = 0;
    for (const auto& e : entries)
        if (platform::upperCaseSjis(e.name) == "HELP.HHP") ++hhp;
    EXPECT_EQ(hhp, 1);
    EXPECT_EQ(platform::readFile(compile::helpProjectFilePath(f.ws)).rfind("[OPTIONS]", 0), 0u);
}

TEST(HelpProjectWriter, UnwritableFolderRaisesAnError) {
    BuildFixture f;
    f.add(nullptr, "A", "a.htm");
    f.ws.project->writeString("XHP", "PDir", f.folder() + "/missing/deeper");
    EXPECT_THROW(writeHelpProjectFile(f.ws), platform::IoError);
}

TEST(RefreshMergeCopies, ReplacesOnlyOlderCopiesAndTheirContents) {
    BuildFixture f;
    TempDir outside;
    const std::string newer = outside.file("New.chm");
    const std::string same = outside.file("Same.chm");
    writeBytes(newer, "new chm");
    writeBytes(outside.file("New.hhc"), "new hhc");
    writeBytes(same, "same source");
    writeBytes(f.inFolder("New.chm"), "old chm");
    writeBytes(f.inFolder("Same.chm"), "copy kept");
    platform::setFileAge(f.inFolder("New.chm"), 1000000);
    platform::setFileAge(newer, 2000000);
    platform::setFileAge(same, 1000000);
    platform::setFileAge(f.inFolder("Same.chm"), 2000000);
    f.set("Merge", "4");
    f.set("Merge1", newer);
    f.set("Merge2", same);
    f.set("Merge3", outside.file("Missing.chm"));
    f.set("Merge4", outside.file("NotCopied.chm"));
    writeBytes(outside.file("NotCopied.chm"), "x");

    compile::refreshMergeCopies(f.ws);
    EXPECT_EQ(readBytes(f.inFolder("New.chm")), "new chm");
    EXPECT_EQ(readBytes(f.inFolder("New.hhc")), "new hhc");
    EXPECT_EQ(readBytes(f.inFolder("Same.chm")), "copy kept");
    EXPECT_FALSE(platform::fileExists(f.inFolder("NotCopied.chm")));
    ASSERT_EQ(f.prompts.shown.size(), 1u);
    EXPECT_EQ(f.prompts.shown[0].text,
              "マージ元ファイル\n[ " + newer + " ]\nを新しいファイルに入れ替えます");
}

}  // namespace
}  // namespace tarnbook::testing
