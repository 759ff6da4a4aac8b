#include <gtest/gtest.h>

#include <regex>

#include "compile/BuildTestSupport.h"
#include "compile/CompileLogPage.h"

namespace tarnbook::testing {
namespace {

using V = std::vector<std::string>;

TEST(CompileLog, BackupAndCopyBlocksNeedALogAndAName) {
    TempDir d;
    const std::string log = d.file("Compile.Log");
    compile::appendBackupLines(log, "H.chm", "H.chm.bak", "");
    compile::appendCopyLines(log, "/dest/H.chm");
    EXPECT_FALSE(platform::fileExists(log));  // never created here

    writeBytes(log, "banner");
    compile::appendBackupLines(log, "H.chm", "", "");
    compile::appendCopyLines(log, "");
    EXPECT_EQ(readBytes(log), "banner");

    compile::appendBackupLines(log, "H.chm", "H.chm.bak", "H.chm.bak2");
    compile::appendCopyLines(log, "/dest/H.chm");
    EXPECT_EQ(
        fileLines(log),
        (V{"banner", "<br/><br/>", "===== Backup =====<br/>",
           "==[ H.chm ] -&gt; [ H.chm.bak ]<br/><br/>", "==[ H.chm.bak ] -&gt; [ H.chm.bak2 ]<br/>",
           "==<br/>", "===== Copy =====<br/>",
           "==" +
               platform::utf8ToCp932("コンパイル済みヘルプを [ /dest/H.chm ] にコピーしました。") +
               "<br/>"}));
}

TEST(CompileLog, ExplanationsAndTheirClasses) {
    EXPECT_EQ(
        compile::hhcExplanation(5003),
        "<div class = red>" +
            platform::utf8ToCp932("参照ファイルのコンパイルができません、又はデフォルトページが"
                                  "指定されていません") +
            "</div><br>");
    EXPECT_EQ(
        compile::hhcExplanation(1000),
        "<div class = yellow>" + platform::utf8ToCp932("タグ&lt;&gt;内が空です") + "</div><br>");
    EXPECT_EQ(compile::hhcExplanation(6001).rfind("<div class = red>", 0), 0u);
    EXPECT_EQ(compile::hhcExplanation(4014).rfind("<div class = yellow>", 0), 0u);
    EXPECT_EQ(compile::hhcExplanation(2000), "");
    EXPECT_EQ(compile::hhcExplanation(-1), "");
}

TEST(CompileLog, HtmlPathUpperCasesTheFileName) {
    EXPECT_EQ(compile::compileLogHtmlPath("/work/Proj/Compile.Log"), "/work/Proj/COMPILE.HTML");
    EXPECT_EQ(compile::compileLogHtmlPath("C:\\P\\Compile.Log"), "C:\\P\\COMPILE.HTML");
}

TEST(CompileLog, ConversionKeepsWhatTheAuthorNeeds) {
    TempDir d;
    const std::string log = d.file("Compile.Log");
    writeBytes(log,
               "Help compiler 4.74\r\n"
               "\r\n"
               "Compiling /p/Help.chm\r\n"
               "\r\n"
               "HHC5003: Error: Compilation failed while compiling a.htm.\r\n"
               "HHC4006: Warning: The file b.htm has been listed more than once.\r\n"
               "HHCabcd: not a number\r\n"
               "HHC2000: Warning: no explanation for this one\r\n"
               "some other chatter\r\n"
               "\r\n"
               "Compile time: 0 minutes, 1 second\r\n"
               "10\tTopics\r\n"
               "3\tLocal links\r\n"
               "0\tInternet links\r\n"
               "1\tGraphic\r\n"
               "\r\n"
               "Created /p/Help.chm, 12,345 bytes\r\n"
               "Compression decreased file by 1,234 bytes.\r\n"
               "Created with no comma\r\n");
    compile::appendBackupLines(log, "/p/Help.chm", "/p/Help.chm.bak", "");
    const std::string html =
        compile::convertCompileLog(log, {"/app/TEMPLATE", "Help.chm", std::time_t{1700000000}});
    EXPECT_EQ(html, d.file("COMPILE.HTML"));
    const V lines = fileLines(html);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[2],
              "<link rel=\"stylesheet\" href=\"/app/TEMPLATE/log.css\" type=\"text/css\"> </head>");
    EXPECT_EQ(lines[4],
              "<body>[ Help compiler 4.74 ]<br><div class=green>Target -&gt; Help.chm"
              "</div><br>");
    const std::regex stamp(
        R"(<div class = green> (Now|Compiled) : \d{4}/\d\d/\d\d \d\d:\d\d:\d\d </div><br>)");
    EXPECT_TRUE(std::regex_match(lines[5], stamp)) << lines[5];
    EXPECT_TRUE(std::regex_match(lines[6], stamp)) << lines[6];
    const V rest(lines.begin() + 7, lines.end());
    EXPECT_EQ(rest, (V{"HHC5003: Error: Compilation failed while compiling a.htm.",
                       compile::hhcExplanation(5003),
                       "HHC4006: Warning: The file b.htm has been listed more than once.",
                       compile::hhcExplanation(4006), "HHCabcd: not a number",
                       "HHC2000: Warning: no explanation for this one",
                       "Compile time: 0 minutes, 1 second<br>", "10\tTopics<br>",
                       "3\tLocal links<br>", "0\tInternet links<br>", "1\tGraphic<br>",
                       "<br><div class = green>Now:  12,345 bytes  (  - 1,234 bytes )</div><br>",
                       "<div class = green>===== Backup =====<br/></div><br/>",
                       "[ /p/Help.chm ] -&gt; [ /p/Help.chm.bak ]<br/><br/>", "</body></html>"}));
}

TEST(CompileLog, SizeLineKeepsTheSignAndFailedCopiesSayWhy) {
    TempDir d;
    const std::string log = d.file("Compile.Log");
    const struct {
        const char* compression;
        const char* shown;
    } cases[] = {
        {"Compression decreased file by 1,234 bytes.", "(  - 1,234 bytes )"},
        {"Compression increased file by 56 bytes.", "(  + 56 bytes )"},
    };
    for (const auto& c : cases) {
        writeBytes(log,
                   std::string("banner\r\nCreated /p/H.chm, 9 bytes\r\n") + c.compression + "\r\n");
        const V lines = fileLines(compile::convertCompileLog(log, {}));
        ASSERT_GE(lines.size(), 8u);
        EXPECT_NE(lines[7].find(c.shown), std::string::npos) << lines[7];
    }
    compile::appendCopyFailedLines(log, "/dest/H.chm", "reason one\nreason two");
    const std::string page = platform::readFile(compile::convertCompileLog(log, {}));
    EXPECT_NE(page.find("/dest/H.chm"), std::string::npos);
    EXPECT_NE(page.find(platform::utf8ToCp932("コピーできませんでした")), std::string::npos);
    EXPECT_NE(page.find("reason one<br/>reason two"), std::string::npos);
    EXPECT_EQ(page.find(platform::utf8ToCp932("コピーしました")), std::string::npos);
}

TEST(CompileLog, ShortLogsReadMissingLinesAsEmpty) {
    TempDir d;
    const std::string log = d.file("Compile.Log");
    writeBytes(log, "");
    V lines = fileLines(compile::convertCompileLog(log, {}));
    EXPECT_EQ(lines[4].rfind("<body>[  ]<br>", 0), 0u);
    EXPECT_EQ(lines.back(), "</body></html>");

    writeBytes(log, "banner\nCompiling x\nCompile time x\nonly one\n");
    lines = fileLines(compile::convertCompileLog(log, {}));
    EXPECT_EQ(V(lines.begin() + 7, lines.end()),
              (V{"Compile time x<br>", "only one<br>", "<br>", "<br>", "<br>", "</body></html>"}));
}

TEST(CompileLog, FindingsSeparateErrorsFromWarnings) {
    TempDir d;
    writeBytes(d.file("Compile.Log"),
               "banner\nHHC5013: Error: missing x.gif\nHHC4006: Warning: twice\nnot a finding\n");
    const auto findings = compile::compileLogFindings(d.file("Compile.Log"));
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_TRUE(findings[0].error);
    EXPECT_FALSE(findings[1].error);
    EXPECT_TRUE(compile::compileLogFindings(d.file("none.log")).empty());
}

}  // namespace
}  // namespace tarnbook::testing
