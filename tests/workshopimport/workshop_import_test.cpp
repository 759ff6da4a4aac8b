#include <gtest/gtest.h>

#include "ImportFixture.h"
#include "platform/Files.h"
#include "workshopimport/WorkshopFiles.h"

namespace tarnbook::testing {
namespace {

using workshopimport::ImportResult;

TEST(WorkshopImport, BuildsNodesWithAnchorsIconsAndTheFinalHeadingPass) {
    ImportFixture f;
    f.put("toc.hhc",
          "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"site\"></OBJECT>\n"
          "<UL>\n" +
              object("Book") +  // no Local, children: heading
              "<UL>\n" + object("Intro", "html\\intro.htm#s2") +
              object("", "lost.htm", "<param name=\"ImageNumber\" value=\"3\">") +  // no Name
              object("Next", "", "") +  // must not inherit lost.htm
              "</UL>\n" + object("Lonely book", "", "<param name=\"ImageNumber\" value=\"1\">") +
              object("Web", "https://example.org/a#b") +
              object("Page with a web icon", "p.htm", "<param name=\"ImageNumber\" value=\"15\">") +
              object("Odd icon", "a/./b/../c.htm", "<param name=\"ImageNumber\" value=\"x\">") +
              "<OBJECT type=\"text/sitemap\"><param name=\"Merge\" value=\"o.chm::/o.hhc\">"
              "</OBJECT>\n</UL>\n");
    const ImportResult r = f.run();
    ASSERT_TRUE(r.contentsFound);
    EXPECT_EQ(r.nodes, 7u);
    EXPECT_EQ(f.shape(),
              "Book|4H(Intro[html\\intro.htm#s2]|8,Next|8),Lonely book|0,"
              "Web[https://example.org/a#b]|12,Page with a web icon[p.htm]|8,Odd icon[a\\c.htm]|8");
    // An explicit heading icon stays, but a node without children is a content item.
    EXPECT_FALSE(f.tree.topLevel(1)->data.isHeading());
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("ImageNumber"), std::string::npos);
    EXPECT_EQ(f.tree.topLevel(0)->child(0)->data.Level, 1);
    EXPECT_NE(workshopimport::completionMessage(r, f.projectFolder).find("へ全てのリソースを"),
              std::string::npos);
}

TEST(WorkshopImport, AppendsAfterExistingNodesTwiceAndRedoesTheirType) {
    ImportFixture f;
    f.project.writeInteger("XHP", "NodeIcon", 1);
    auto old = std::make_unique<project::TreeNode>();
    old->data.Title = "Old";
    old->data.ItemType = project::TData::kHeading;
    old->data.ImageIndex = 0;
    f.tree.appendChild(nullptr, std::move(old));
    f.put("toc.hhc", "<UL>" + object("A", "a.htm") + "<UL>" + object("B", "b.htm") + "</UL></UL>");
    f.run();
    f.run();
    EXPECT_EQ(f.shape(), "Old|0,A[a.htm]|0H(B[b.htm]|10),A[a.htm]|0H(B[b.htm]|10)");
    EXPECT_FALSE(f.tree.topLevel(0)->data.isHeading());
}

TEST(WorkshopImport, ReducesPathsInTheProjectsResourceFolder) {
    ImportFixture f;
    f.put("toc.hhc", "<UL>" + object("A", f.projectFolder + "/_RESOURCE/sub/a.htm") +
                         object("B", "_resource\\b.htm") + "</UL>");
    f.run();
    EXPECT_EQ(f.shape(), "A[sub\\a.htm]|8,B[b.htm]|8");
}

TEST(WorkshopImport, TakesTitleAndIndexFromDifferentlyNamedCompanions) {
    ImportFixture f;
    f.put("Help.hhp",
          "[OPTIONS]\r\nContents file=Table of Contents.hhc\r\nIndex file=Index.hhk\r\n"
          "Title=My Help\r\nLanguage=0x409 English\r\n");
    f.put("Table of Contents.hhc", "<UL>" + object("Start", "start.htm") +
                                       object("Opts", "opt.htm#top") + object("Adv", "adv/x.htm") +
                                       "</UL>");
    f.put("Index.hhk",
          "<UL>" + object("start", "START.HTM") +
              "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"options\">"
              "<param name=\"Name\" value=\"Opts\"><param name=\"Local\" value=\"opt.htm#top\">"
              "<param name=\"Name\" value=\"Adv\"><param name=\"Local\" value=\"adv\\x.htm\">"
              "</OBJECT>\n<UL>" +
              object("advanced, more", "adv/x.htm#deep") + object("nowhere", "none.htm") + "</UL>" +
              object("start", "start.htm") + "</UL>");
    const ImportResult r = f.run("Table of Contents.hhc");
    EXPECT_EQ(r.helpName, "My Help");
    EXPECT_EQ(platform::IniFile::load(f.projectFolder + "/Proj.XHP").readString("XHP", "HelpName"),
              "My Help");  // on disk at once
    EXPECT_EQ(r.nodesWithKeywords, 3u);
    EXPECT_EQ(r.indexTargetsUnmatched, 1u);
    const auto& start = f.tree.topLevel(0)->data;
    const auto& adv = f.tree.topLevel(2)->data;
    EXPECT_EQ(start.KeyWord, u"start");  // once, though the index names it twice
    EXPECT_EQ(f.tree.topLevel(1)->data.KeyWord, u"options");
    EXPECT_EQ(adv.KeyWord, u"options");
    EXPECT_EQ(adv.SubKeyWord, u"\"advanced, more\"");
}

TEST(WorkshopImport, HandHeldProjectWithoutOptionsHeaderStillGivesTheTitle) {
    ImportFixture f;
    f.put("toc.hhp", "Contents file=toc.hhc\nTitle=Loose\n");
    f.put("toc.hhc", "<UL>" + object("A", "a.htm") + "</UL>");
    EXPECT_EQ(f.run().helpName, "Loose");
}

TEST(WorkshopImport, MissingContentsChangesNothingButTheTitle) {
    ImportFixture f;
    f.put("toc.hhp", "[OPTIONS]\nTitle=T\n");
    const ImportResult r = f.run();
    EXPECT_FALSE(r.contentsFound);
    EXPECT_TRUE(f.tree.empty());
    EXPECT_EQ(f.project.readString("XHP", "HelpName"), "T");
}

TEST(WorkshopImport, ReportsWhatShiftJisCannotHoldAndKeepsItAsReferences) {
    ImportFixture f;
    // GBK: "写在前面" fits Shift_JIS, "规则书" does not; the project is Chinese.
    f.put("toc.hhp", "[OPTIONS]\r\nLanguage=0x804\r\nTitle=\xD0\xB4\r\n");
    f.put("toc.hhc", "<UL>" + object("\xD0\xB4\xD4\xDA\xC7\xB0\xC3\xE6", "a.htm") +
                         object("\xB9\xE6\xD4\xF2\xCA\xE9", "b.htm") + "</UL>");
    const ImportResult r = f.run();
    EXPECT_EQ(r.encoding, "GBK (Language (LCID))");
    EXPECT_EQ(platform::cp932ToUtf8(f.tree.topLevel(0)->data.Title), "写在前面");
    EXPECT_EQ(platform::cp932ToUtf8(f.tree.topLevel(1)->data.Title), "&#35268;&#21017;&#20070;");
    EXPECT_EQ(r.lostCharacters, 3u);
    ASSERT_EQ(r.lostExamples.size(), 1u);  // one example per value
    EXPECT_EQ(r.lostExamples[0], "规 (规则书)");
    EXPECT_NE(workshopimport::completionMessage(r, f.projectFolder).find("3 個"),
              std::string::npos);
}

TEST(WorkshopImport, ConvertsEucJpLinesOfAJapaneseContentsFile) {
    ImportFixture f;
    // "日本" in EUC-JP.
    f.put("toc.hhc", "<UL>\n" + object("\xC6\xFC\xCB\xDC", "a.htm") + "</UL>\n");
    f.run();
    EXPECT_EQ(platform::cp932ToUtf8(f.tree.topLevel(0)->data.Title), "日本");
}

}  // namespace
}  // namespace tarnbook::testing
