#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "hhc/HhcLogWriter.h"
#include "platform/Files.h"

using namespace tarnbook::hhc;
using ::testing::ElementsAre;

TEST(CompileLog, ProducedFileGivesTheBlocksTheLogReaderLooksFor) {
    CompileStats s;
    s.seconds = 61;
    s.topics = 22;
    s.localLinks = 87;
    s.internetLinks = 12;
    s.graphics = 3;
    s.sourceBytes = 358977;
    s.chmBytes = 305338;
    const std::string text = formatCompileLog(
        {"banner", "/p/Help.chm", {{5003, Severity::Error, "Compilation failed"}}, s});
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    const auto lines = tarnbook::platform::splitLines(text);
    EXPECT_THAT(
        lines,
        ElementsAre("banner", "", "Compiling /p/Help.chm", "", "HHC5003: Error: Compilation failed",
                    "", "Compile time: 1 minute, 1 second", "22\tTopics", "87\tLocal links",
                    "12\tInternet links", "3\tGraphics", "", "Created /p/Help.chm, 305,338 bytes",
                    "Compression decreased file by 53,639 bytes."));
    // The reader shows the line after "Created" from its 30th character to the one before
    // the last.
    const std::string& size = lines[13];
    EXPECT_EQ(size.substr(29, size.size() - 30), " 53,639 bytes");
}

TEST(CompileLog, GrowthIsReportedWithTheSameLineWidthAndFailureHasNoCreatedLine) {
    CompileStats s;
    s.sourceBytes = 10;
    s.chmBytes = 11500;
    const auto lines = tarnbook::platform::splitLines(formatCompileLog({"b", "x.chm", {}, s}));
    EXPECT_EQ(lines.back(), "Compression increased file by 11,490 bytes.");
    EXPECT_EQ(lines.back().substr(29, lines.back().size() - 30), " 11,490 bytes");

    const std::string failed =
        formatCompileLog({"b", "x.chm", {{6000, Severity::Error, "no"}}, {}});
    EXPECT_EQ(failed, "b\r\n\r\nCompiling x.chm\r\n\r\nHHC6000: Error: no\r\n");
}

TEST(CompileLog, GroupsThousands) {
    EXPECT_EQ(groupThousands(0), "0");
    EXPECT_EQ(groupThousands(999), "999");
    EXPECT_EQ(groupThousands(1000), "1,000");
    EXPECT_EQ(groupThousands(1234567), "1,234,567");
}

TEST(CompileLog, CountsLocalAndInternetLinksOfAPage) {
    std::size_t local = 0, internet = 0;
    countLinks(
        "<a href=\"a.htm\">x</a><IMG SRC='img/b.gif'><a href=#top>t</a>"
        "<a HREF = \"http://example.org/\">w</a><a href=\"mailto:a@b\">m</a>"
        "<a href=\"javascript:void(0)\">j</a><link rel=x href=style.css>"
        "<a data-href=\"nothing.htm\">n</a><p>href=not-an-attribute",
        &local, &internet);
    EXPECT_EQ(local, 3u);
    EXPECT_EQ(internet, 2u);
}
