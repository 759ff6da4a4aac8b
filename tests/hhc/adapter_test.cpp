#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "hhc/ProjectAdapter.h"
#include "support/TempDir.h"

using namespace tarnbook::hhc;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

AdaptedProject adapt(const TempDir& dir, const std::string& hhp,
                     const std::string& name = "p.hhp") {
    return adaptProject(HhpFile::parse(hhp), {dir.path(), name});
}

std::vector<std::string> lines(const AdaptedProject& a, const char* section) {
    const auto* s = a.hhp.section(section);
    return s ? s->lines : std::vector<std::string>{};
}

bool reported(const AdaptedProject& a, int number, Severity severity, const std::string& part) {
    return std::any_of(a.messages.begin(), a.messages.end(), [&](const HhcMessage& m) {
        return m.number == number && m.severity == severity &&
               m.text.find(part) != std::string::npos;
    });
}

}  // namespace

TEST(ProjectAdapter, ResolvesWorkshopPathsToTheNamesOnDisk) {
    TempDir d;
    writeBytes(d.file("pages/overview.html"), "o");
    writeBytes(d.file("pages/img/a.png"), "i");
    writeBytes(d.file("Index.hhk"), "k");
    writeBytes(d.file("Table of Contents.hhc"), "c");
    const auto a =
        adapt(d,
              "[OPTIONS]\r\nContents file=Table of Contents.hhc\r\nIndex file=\"index.HHK\"\r\n"
              "Default topic=.\\Pages\\Overview.html#top\r\n"
              "[WINDOWS]\r\nw=\"T\",\"" +
                  d.path() +
                  "/Table of Contents.hhc\",\"Index.hhk\","
                  "\".\\pages\\overview.html\",,,,,,0x300,100,0x0,[0,0,920,640],0x0\r\n"
                  "[FILES]\r\nPAGES\\OVERVIEW.HTML\r\n.\\pages\\img\\A.PNG\r\n");
    EXPECT_EQ(a.hhp.option("Contents file"), "Table of Contents.hhc");
    EXPECT_EQ(a.hhp.option("Index file"), "Index.hhk");
    EXPECT_EQ(a.hhp.option("Default topic"), "pages/overview.html#top");
    EXPECT_THAT(
        lines(a, "WINDOWS"),
        ElementsAre("w=\"T\",\"Table of Contents.hhc\",\"Index.hhk\",\"pages/overview.html\","
                    ",,,,,0x300,100,0x0,[0,0,920,640],0x0"));
    EXPECT_THAT(lines(a, "FILES"), ElementsAre("pages/overview.html", "pages/img/a.png"));
    EXPECT_THAT(a.listedFiles, ElementsAre("Table of Contents.hhc", "Index.hhk",
                                           "pages/overview.html", "pages/img/a.png"));
    EXPECT_TRUE(a.messages.empty());
}

TEST(ProjectAdapter, NamesTheCompiledFileAndTheLogLikeTheWorkshopCompiler) {
    TempDir d;
    const std::string project = d.path() + "/src/help";
    auto a = adaptProject(HhpFile::parse("[OPTIONS]\r\nTitle=x\r\n"), {project, "Manual.hhp"});
    EXPECT_EQ(a.targetChm, project + "/Manual.chm");
    EXPECT_TRUE(a.errorLog.empty());

    a = adaptProject(HhpFile::parse("[OPTIONS]\r\nCompiled file=..\\..\\_build\\help\\VIEd.chm\r\n"
                                    "Error log file=logs\\Compile.Log\r\n"),
                     {project, "VIEd.hhp"});
    EXPECT_EQ(a.targetChm, d.path() + "/_build/help/VIEd.chm");
    EXPECT_EQ(a.errorLog, project + "/logs/Compile.Log");
    // chmcmd must not write a log of its own.
    EXPECT_FALSE(a.hhp.option("Error log file"));

    a = adaptProject(HhpFile::parse("[OPTIONS]\r\nError log file=/var/tmp/x/Compile.Log\r\n"),
                     {project, "p.hhp"});
    EXPECT_EQ(a.errorLog, "/var/tmp/x/Compile.Log");
}

TEST(ProjectAdapter, LeavesOutMissingDuplicateAndEscapingFilesWithWorkshopMessages) {
    TempDir d;
    writeBytes(d.file("proj/a.htm"), "a");
    writeBytes(d.file("outside.htm"), "x");
    const auto a = adaptProject(HhpFile::parse("[FILES]\r\na.htm\r\n\r\nA.HTM\r\nmissing.htm\r\n"
                                               "..\\outside.htm\r\n" +
                                               d.path() + "/outside.htm\r\n"),
                                {d.path() + "/proj", "p.hhp"});
    EXPECT_THAT(lines(a, "FILES"), ElementsAre("a.htm"));
    EXPECT_TRUE(reported(a, 4006, Severity::Warning, "A.HTM"));
    EXPECT_TRUE(reported(a, 5003, Severity::Error, "missing.htm: the file does not exist"));
    EXPECT_TRUE(reported(a, 5003, Severity::Error, "..\\outside.htm: the file lies outside"));
    EXPECT_EQ(a.messages.size(), 4u);
}

TEST(ProjectAdapter, ExpandsWildcardsInFilesToTheMatchingFilesInNameOrder) {
    TempDir d;
    for (const char* name : {"img/b.GIF", "img/a.gif", "img/c.png", "img/sub/d.gif", "x1.htm"})
        writeBytes(d.file(std::string("proj/") + name), "x");
    const auto a = adaptProject(
        HhpFile::parse("[FILES]\r\nimg\\*.gif\r\nx?.htm\r\nimg\\a.gif\r\nnone\\*.htm\r\n"),
        {d.path() + "/proj", "p.hhp"});
    EXPECT_THAT(lines(a, "FILES"), ElementsAre("img/a.gif", "img/b.GIF", "x1.htm"));
    EXPECT_TRUE(reported(a, 5003, Severity::Error, "none\\*.htm: no file matches"));
}

TEST(ProjectAdapter, GivesAliasesSlashesAndKeepsOnlyMapIdsThatHaveOne) {
    TempDir d;
    writeBytes(d.file("pages/overview.html"), "o");
    writeBytes(d.file("pages/basic.html"), "b");
    writeBytes(d.file("text.h"),
               "// ids\r\n#define IDH_INDEX_PAGE 0\r\n#define IDH_BASIC 0x2710 /* hex */\r\n"
               "#define IDH_NO_ALIAS 3\r\n#ifndef GUARD\r\n#define IDH_BAD_VALUE abc\r\n");
    const auto a = adapt(d,
                         "[FILES]\r\npages\\overview.html\r\n"
                         "[ALIAS]\r\nIDH_INDEX_PAGE=pages\\overview.html\r\n"
                         "IDH_BASIC=Pages\\Basic.html#opt\r\nIDH_GONE=pages\\gone.html\r\n"
                         "[MAP]\r\n#include text.h\r\n#define IDH_INDEX_PAGE 7\r\n");
    EXPECT_THAT(lines(a, "ALIAS"), ElementsAre("IDH_INDEX_PAGE=pages/overview.html",
                                               "IDH_BASIC=pages/basic.html#opt"));
    EXPECT_THAT(lines(a, "MAP"),
                ElementsAre("#define IDH_INDEX_PAGE 0", "#define IDH_BASIC 0x2710"));
    // The alias target that [FILES] lacks is compiled too, so that chmcmd can resolve it.
    EXPECT_THAT(lines(a, "FILES"), ElementsAre("pages/overview.html", "pages/basic.html"));
    EXPECT_TRUE(reported(a, 5013, Severity::Warning, "IDH_GONE"));
    EXPECT_TRUE(reported(a, 4014, Severity::Warning, "IDH_NO_ALIAS has no alias"));
    EXPECT_TRUE(reported(a, 4014, Severity::Warning, "IDH_BAD_VALUE has no number"));
    EXPECT_TRUE(reported(a, 4014, Severity::Warning, "IDH_INDEX_PAGE is defined more than once"));
}

TEST(ProjectAdapter, ReportsUnreadableIncludesAndContentsFiles) {
    TempDir d;
    const auto a = adapt(d,
                         "[OPTIONS]\r\nContents file=toc.hhc\r\n[MAP]\r\n#include \"ids.h\"\r\n"
                         "[ALIAS]\r\n#include aliases.txt\r\n");
    EXPECT_FALSE(a.hhp.option("Contents file"));
    EXPECT_TRUE(reported(a, 4016, Severity::Error, "contents file toc.hhc"));
    EXPECT_TRUE(reported(a, 4016, Severity::Error, "ids.h"));
    EXPECT_TRUE(reported(a, 4016, Severity::Error, "aliases.txt"));
}

TEST(ProjectAdapter, MovesLooseOptionsAndReducesMergeFilesToTheirNames) {
    TempDir d;
    writeBytes(d.file("help.hhc"), "c");
    writeBytes(d.file("pop.txt"), "t");
    const auto a = adapt(d,
                         "Contents file=help.hhc\nTitle=Loose\n[OPTIONS]\nTitle=Kept\n"
                         "[TEXT POPUPS]\npop.txt\nnone.txt\n"
                         "[MERGE FILES]\n/home/u/proj/other.chm\nC:\\help\\third.chm\n");
    EXPECT_EQ(a.hhp.option("Contents file"), "help.hhc");
    EXPECT_EQ(a.hhp.option("Title"), "Kept");
    EXPECT_TRUE(a.hhp.preamble().empty());
    EXPECT_THAT(lines(a, "TEXT POPUPS"), ElementsAre("pop.txt"));
    EXPECT_TRUE(reported(a, 4016, Severity::Warning, "none.txt"));
    EXPECT_THAT(lines(a, "MERGE FILES"), ElementsAre("other.chm", "third.chm"));
}

TEST(ProjectAdapter, APopupFileBringsTheMapHeadersThatNameItsTopics) {
    struct Case {
        const char* name;
        const char* popups;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"header added after the popup file", "pop.txt\r\n", {"pop.txt", "ids.h"}},
        {"header listed already is not repeated", "ids.h\r\npop.txt\r\n", {"ids.h", "pop.txt"}},
        {"no popup file, no header", "gone.txt\r\n", {}},
    };
    for (const Case& c : cases) {
        TempDir d;
        writeBytes(d.file("pop.txt"), ".topic IDH_A\r\nA popup.\r\n");
        writeBytes(d.file("ids.h"), "#define IDH_A 2\r\n");
        const auto a = adapt(d, std::string("[MAP]\r\n#include \"ids.h\"\r\n[ALIAS]\r\n"
                                            "IDH_A=a.htm\r\n[TEXT POPUPS]\r\n") +
                                    c.popups);
        EXPECT_EQ(lines(a, "TEXT POPUPS"), c.expected) << c.name;
    }
}

TEST(ProjectAdapter, NormalizesAbsolutePathsLexically) {
    EXPECT_EQ(normalizeAbsolute("/a/b/../../c/./d"), "/c/d");
    EXPECT_EQ(normalizeAbsolute("/a\\b\\..\\x.chm"), "/a/x.chm");
    EXPECT_EQ(normalizeAbsolute("/../x"), "/x");
}
