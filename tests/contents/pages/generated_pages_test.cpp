#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "BuildInfo.h"
#include "contents/GeneratedPages.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/IoError.h"
#include "support/TempDir.h"

namespace contents = tarnbook::contents;
using tarnbook::platform::IniFile;
using tarnbook::testing::readBytes;
using tarnbook::testing::writeBytes;

namespace {

const std::string kOpening =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
    "<HTML><HEAD>\r\n"
    "<meta name=\"GENERATOR\" content=\"Tarnbook " +
    std::string(tarnbook::buildinfo::kProductVersion) + "\">\r\n";

// 見出し ("heading") in Shift_JIS.
const std::string kMidashi = "\x8C\xA9\x8F\x6F\x82\xB5";

class GeneratedPages : public ::testing::Test {
  protected:
    GeneratedPages() {
        std::filesystem::create_directories(dir_.file("_RESOURCE"));
        project_.writeString("XHP", "PDir", dir_.path());
    }
    std::string resource(const std::string& name) const { return dir_.file("_RESOURCE/" + name); }

    tarnbook::testing::TempDir dir_;
    IniFile project_;
};

}  // namespace

TEST_F(GeneratedPages, PlainNewPageIsExactlySevenLines) {
    const std::string page = resource("a.html");
    EXPECT_EQ(contents::newPageFromTemplate(project_, page, kMidashi), page);
    EXPECT_EQ(readBytes(page), kOpening + "<TITLE>" + kMidashi +
                                   "</TITLE>\r\n"
                                   "</HEAD><BODY>\r\n"
                                   "<!-- Quillet Auto Generated HTML :) -->\r\n"
                                   "</BODY></HTML>\r\n");
}

TEST_F(GeneratedPages, TakenNamesGetTheFirstFreeNumber) {
    const std::string page = resource("Topic.html");
    EXPECT_EQ(contents::newPageFromTemplate(project_, page, "one"), page);
    EXPECT_EQ(contents::newPageFromTemplate(project_, page, "two"), resource("Topic(1).html"));
    EXPECT_EQ(contents::newPageFromTemplate(project_, page, "three"), resource("Topic(2).html"));
    // The first page is left as it was.
    EXPECT_NE(readBytes(page).find("<TITLE>one</TITLE>"), std::string::npos);
    EXPECT_NE(readBytes(resource("Topic(2).html")).find("<TITLE>three</TITLE>"), std::string::npos);
    // A freed number is taken again.
    std::filesystem::remove(resource("Topic(1).html"));
    EXPECT_EQ(contents::newPageFromTemplate(project_, page, "four"), resource("Topic(1).html"));
}

TEST_F(GeneratedPages, RelativeNamesArePagesOfTheResourceFolder) {
    EXPECT_EQ(contents::newPageFromTemplate(project_, "Bare.html", "T"), resource("Bare.html"));
    EXPECT_EQ(contents::newPageFromTemplate(project_, "Bare.html", "T"), resource("Bare(1).html"));
    EXPECT_TRUE(std::filesystem::exists(resource("Bare(1).html")));
}

TEST_F(GeneratedPages, TitleIsWrittenUnescaped) {
    const std::string page = resource("t.html");
    contents::newPageFromTemplate(project_, page, "a < b & \"c\"");
    EXPECT_NE(readBytes(page).find("\r\n<TITLE>a < b & \"c\"</TITLE>\r\n"), std::string::npos);
}

TEST_F(GeneratedPages, StyleSheetIsLinkedAndCopiedOnce) {
    const std::string css = dir_.file("templates/Default.CSS");
    writeBytes(css, "body { color: black }");
    project_.writeBool("XHP", "UseCSS", true);
    project_.writeString("XHP", "CSS", css);

    const std::string page = resource("s.html");
    contents::newPageFromTemplate(project_, page, "T");
    EXPECT_EQ(readBytes(page), kOpening +
                                   "<TITLE>T</TITLE>\r\n"
                                   "<link rel=\"stylesheet\" href=\"Default.CSS\" "
                                   "type=\"text/css\">\r\n"
                                   "</HEAD><BODY>\r\n"
                                   "<!-- Quillet Auto Generated HTML :) -->\r\n"
                                   "</BODY></HTML>\r\n");
    EXPECT_EQ(readBytes(resource("Default.CSS")), "body { color: black }");

    // The copy in the project is the author's now: never overwritten.
    writeBytes(resource("Default.CSS"), "edited");
    contents::newPageFromTemplate(project_, resource("s2.html"), "T");
    EXPECT_EQ(readBytes(resource("Default.CSS")), "edited");
}

TEST_F(GeneratedPages, MissingStyleSheetStillGetsItsLink) {
    project_.writeBool("XHP", "UseCSS", true);
    project_.writeString("XHP", "CSS", dir_.file("nowhere/Gone.css"));
    const std::string page = resource("m.html");
    contents::newPageFromTemplate(project_, page, "T");
    EXPECT_NE(readBytes(page).find("<link rel=\"stylesheet\" href=\"Gone.css\" type=\"text/css\">"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(resource("Gone.css")));
}

TEST_F(GeneratedPages, HeadAndBodyTemplatesAreCopiedLineByLine) {
    writeBytes(dir_.file("head.txt"), "<meta name=\"a\" content=\"b\">\n<style>p{}</style>");
    writeBytes(dir_.file("body.txt"), "<BODY bgcolor=white>\r\n<P>\x95\x5C</P>\r\n</BODY>\r\n");
    project_.writeString("XHP", "AutoHEAD", dir_.file("head.txt"));
    project_.writeString("XHP", "AutoHTML", dir_.file("body.txt"));

    const std::string page = resource("h.html");
    contents::newPageFromTemplate(project_, page, "T");
    EXPECT_EQ(readBytes(page), kOpening +
                                   "<TITLE>T</TITLE>\r\n"
                                   "<meta name=\"a\" content=\"b\">\r\n"
                                   "<style>p{}</style>\r\n"
                                   "</HEAD>\r\n"
                                   "<!-- Quillet Auto Generated HTML :) -->\r\n"
                                   "<BODY bgcolor=white>\r\n"
                                   "<P>\x95\x5C</P>\r\n"
                                   "</BODY>\r\n"
                                   "</HTML>\r\n");
}

TEST_F(GeneratedPages, MissingTemplateFilesAreLeftOut) {
    project_.writeString("XHP", "AutoHEAD", dir_.file("no-head.txt"));
    project_.writeString("XHP", "AutoHTML", dir_.file("no-body.txt"));
    const std::string page = resource("n.html");
    contents::newPageFromTemplate(project_, page, "T");
    EXPECT_EQ(readBytes(page), kOpening +
                                   "<TITLE>T</TITLE>\r\n"
                                   "</HEAD><BODY>\r\n"
                                   "<!-- Quillet Auto Generated HTML :) -->\r\n"
                                   "</BODY></HTML>\r\n");
}

TEST_F(GeneratedPages, TextBecomesAPageLineByLine) {
    const std::string kHead = kOpening +
                              "</HEAD><BODY>\r\n"
                              "<!-- Quillet Auto Converted Text :) -->\r\n";
    writeBytes(dir_.file("empty.txt"), "");
    writeBytes(dir_.file("text.txt"), "a<b\r\n\r\nx & y\n" + kMidashi);

    const std::string empty = contents::convertTxtToHtml(dir_.file("empty.txt"));
    EXPECT_EQ(std::filesystem::path(empty).filename().string().rfind("QLT", 0), 0u);
    EXPECT_EQ(readBytes(empty), kHead + "</BODY></HTML>\r\n");

    const std::string text = contents::convertTxtToHtml(dir_.file("text.txt"));
    EXPECT_NE(text, empty);
    EXPECT_EQ(readBytes(text),
              kHead + "a<b<br>\r\n<br>\r\nx & y<br>\r\n" + kMidashi + "<br>\r\n</BODY></HTML>\r\n");
    tarnbook::platform::deleteFile(empty);
    tarnbook::platform::deleteFile(text);

    EXPECT_THROW(contents::convertTxtToHtml(dir_.file("absent.txt")), tarnbook::platform::IoError);
}

TEST_F(GeneratedPages, TitleIsTakenFromTheFirstTitleOrBodyLine) {
    auto titleOf = [this](const std::string& html) {
        writeBytes(dir_.file("p.html"), html);
        return contents::extractHtmlTitle(dir_.file("p.html"));
    };
    EXPECT_EQ(titleOf("<html>\n<head>\n<title>Guide</title>\n</head>"), "Guide");
    EXPECT_EQ(titleOf("<TiTlE> spaced &amp; </tItLe>"), " spaced &amp; ");
    EXPECT_EQ(titleOf("<title>A</title><title>B</title>"), "A");
    // The element must be on one line.
    EXPECT_EQ(titleOf("<TITLE>\nGuide</TITLE>"), "");
    // A body (or tbody) before any title ends the search.
    EXPECT_EQ(titleOf("<table><tbody>\n<title>Late</title>"), "");
    EXPECT_EQ(titleOf("<body>\n<title>Late</title>"), "");
    EXPECT_EQ(titleOf("no title here\n"), "");
    // A closing tag before the opening one gives no title.
    EXPECT_EQ(titleOf("</title><title>"), "");
    // Titles of outside pages come back in Shift_JIS.
    EXPECT_EQ(titleOf("<title>\xB8\xAB\xBD\xD0\xA4\xB7</title>"), kMidashi);
    EXPECT_EQ(titleOf("<title>\x1B$B8+=P$7\x1B(B</title>"), kMidashi);
    // "BODY" in the trail byte of a double-byte character is no body: 0x83 0x42 is one
    // katakana character followed by "ODY".
    EXPECT_EQ(titleOf("\x83\x42ODY\n<title>" + kMidashi + "</title>"), kMidashi);

    EXPECT_THROW(contents::extractHtmlTitle(dir_.file("absent.html")), tarnbook::platform::IoError);
}

TEST(StandardOpening, LinesNameTheProductAndVersion) {
    const auto lines = contents::standardOpeningLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n", kOpening);
}
