#include <gtest/gtest.h>

#include "hhc/HhpFile.h"

using tarnbook::hhc::HhpFile;

TEST(HhpFile, ReadsSectionsPreambleAndOptionsWithoutRegardToCase) {
    const auto h = HhpFile::parse(
        "\xEF\xBB\xBF; comment\r\nTitle=Loose\n[OPTIONS]\r\nTITLE = Penguin Logic \r\n"
        "Compiled file=help.chm\r\n \r\n[FILES]\na.htm\r\n[MERGE FILES]");
    ASSERT_EQ(h.preamble().size(), 2u);
    EXPECT_EQ(h.preamble()[0], "; comment");  // the byte-order mark is gone
    ASSERT_EQ(h.sections().size(), 3u);
    EXPECT_EQ(h.option("title"), "Penguin Logic");
    EXPECT_EQ(h.option("COMPILED FILE"), "help.chm");
    EXPECT_FALSE(h.option("Index file"));
    ASSERT_NE(h.section("merge files"), nullptr);
    EXPECT_TRUE(h.section("merge files")->lines.empty());
    EXPECT_EQ(h.section("Files")->lines, std::vector<std::string>{"a.htm"});
}

TEST(HhpFile, SetOptionReplacesInPlaceOrAppendsBeforeTrailingBlankLines) {
    auto h = HhpFile::parse("[OPTIONS]\r\nTitle=A\r\nLanguage=0x411\r\n\r\n[FILES]\r\na.htm\r\n");
    h.setOption("title", "B");
    h.setOption("Compiled file", "x.chm");
    h.removeOption("LANGUAGE");
    EXPECT_EQ(h.toBytes(),
              "[OPTIONS]\r\ntitle=B\r\nCompiled file=x.chm\r\n\r\n[FILES]\r\na.htm\r\n");
    HhpFile empty;
    empty.setOption("Title", "T");
    EXPECT_EQ(empty.toBytes(), "[OPTIONS]\r\nTitle=T\r\n");
}

TEST(HhpFile, KeepsShiftJisBytesAndOddLinesUntouched) {
    // "表示" has the trail byte 0x5C ('\'); a line of brackets inside a value is no header.
    const std::string bytes =
        "[OPTIONS]\r\nTitle=\x95\x5C\x8E\xA6 [x]\r\n[WINDOWS]\r\nw=\"\x95\x5C\",,,[1,2,3,4]\r\n";
    const auto h = HhpFile::parse(bytes);
    EXPECT_EQ(h.toBytes(), bytes);
    EXPECT_EQ(h.option("Title"), "\x95\x5C\x8E\xA6 [x]");
}
