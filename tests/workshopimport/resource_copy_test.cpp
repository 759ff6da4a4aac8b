#include <gtest/gtest.h>

#include "ImportFixture.h"
#include "platform/Files.h"
#include "workshopimport/ResourceCopy.h"

namespace tarnbook::testing {
namespace {

TEST(ResourceCopy, FollowsPagesKeepsLayoutAndRegistersWhatIsNoNodePage) {
    ImportFixture f;
    f.put("toc.hhc", "<UL>" + object("A", "html\\a.htm") + "</UL>");
    f.put("toc.hhp", "[OPTIONS]\r\nTitle=T\r\n[FILES]\r\nextra.txt\r\n*.gif\r\n");
    f.put("html/a.htm",
          "<html><link href=\"../css/s.css\" rel=stylesheet><img SRC='img/p%20q.gif'>"
          "<a href=\"b.htm#x\">b</a><a href=\"http://e.org/\">w</a><a href=\"#top\">t</a>"
          "<a href=\"../../outside.htm\">o</a><a href=\"gone.htm\">g</a></html>");
    f.put("html/b.htm", "<a href=\"a.htm\">back</a>");
    f.put("html/img/p q.gif", "GIF");
    f.put("css/s.css", "body{}");
    f.put("extra.txt", "x");
    writeBytes(f.dir.file("outside.htm"), "no");
    const auto r = f.run("toc.hhc", true);
    ASSERT_TRUE(r.copied);
    EXPECT_EQ(r.copy.copied.size(), 5u);
    ASSERT_EQ(r.copy.missing.size(), 1u);
    EXPECT_EQ(r.copy.missing[0], "html\\gone.htm");
    for (const char* name :
         {"html/a.htm", "html/b.htm", "html/img/p q.gif", "css/s.css", "extra.txt"})
        EXPECT_EQ(readBytes(f.projectFolder + "/_RESOURCE/" + name),
                  readBytes(f.workshop + "/" + name))
            << name;
    EXPECT_FALSE(platform::fileExists(f.dir.file("Proj/outside.htm")));
    // Everything but the node's page is an added resource, on disk at once.
    const auto saved = platform::IniFile::load(f.projectFolder + "/Proj.XHP");
    EXPECT_EQ(saved.readInteger("Addition", "Count"), 4);
    EXPECT_EQ(saved.readString("Addition", "File3"), "_RESOURCE\\html\\img\\p q.gif");
}

TEST(ResourceCopy, NeverReplacesADifferentFileWithoutAsking) {
    ImportFixture f;
    f.put("toc.hhc", "<UL>" + object("A", "a.htm") + object("B", "b.htm") + object("C", "c.htm") +
                         object("D", "d.htm") + "</UL>");
    for (const char* n : {"a.htm", "b.htm", "c.htm", "d.htm"}) {
        f.put(n, std::string("new ") + n);
        writeBytes(f.projectFolder + "/_RESOURCE/" + n, std::string("old ") + n);
    }
    writeBytes(f.projectFolder + "/_RESOURCE/d.htm", "new d.htm");  // same bytes: no question
    f.prompts.answers = {ui::Answer::Yes, ui::Answer::No, ui::Answer::Cancel};
    const auto r = f.run("toc.hhc", true);
    EXPECT_EQ(readBytes(f.projectFolder + "/_RESOURCE/a.htm"), "new a.htm");
    EXPECT_EQ(readBytes(f.projectFolder + "/_RESOURCE/b.htm"), "old b.htm");
    EXPECT_EQ(readBytes(f.projectFolder + "/_RESOURCE/c.htm"), "old c.htm");
    EXPECT_EQ(f.prompts.shown.size(), 3u);
    EXPECT_EQ(r.copy.kept, 2u);
    EXPECT_EQ(r.copy.unchanged, 1u);
    EXPECT_TRUE(r.copy.cancelled);
}

TEST(ResourceCopy, PageReferencesStayInsideTheProject) {
    EXPECT_EQ(workshopimport::pageReferences(
                  "a\\p.htm",
                  "<img src=\"x.gif\"><a href=\"/root.htm\"><a href='..\\..\\up.htm'>"
                  "<a href=\"mailto:x@y\"><a href=\"C:\\win.htm\"><a href=\"q.htm?x=1&amp;y\">"),
              (std::vector<std::string>{"a\\x.gif", "root.htm", "a\\q.htm"}));
}

}  // namespace
}  // namespace tarnbook::testing
