#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "compile/Decompile.h"
#include "compile/DecompileForm.h"
#include "compile/Viewer.h"
#include "platform/IniFile.h"
#include "support/TempDir.h"

using namespace tarnbook::compile;
using tarnbook::platform::IniFile;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

TEST(ViewCompiledHelp, FillsInAMissingFileNameAndOpensOnlyAnExistingFile) {
    TempDir d;
    writeBytes(d.file("p.xhp"), "[XHP]\r\nPDir=" + d.path() + "\r\nHelpName=Guide\r\n");
    IniFile project = IniFile::load(d.file("p.xhp"));
    std::vector<std::string> opened;
    auto open = [&](const std::string& p) {
        opened.push_back(p);
        return true;
    };
    EXPECT_EQ(viewCompiledHelp(project, open), ViewChmOutcome::NoCompiledFile);
    EXPECT_TRUE(opened.empty());
    // The filled-in name is on disk at once.
    EXPECT_EQ(IniFile::load(d.file("p.xhp")).readString("XHP", "FileName"), "Guide.chm");

    writeBytes(d.file("Guide.chm"), "x");
    EXPECT_EQ(viewCompiledHelp(project, open), ViewChmOutcome::Opened);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], d.path() + "/Guide.chm");
    EXPECT_EQ(viewCompiledHelp(project, [](const std::string&) { return false; }),
              ViewChmOutcome::OpenFailed);

    IniFile none;
    EXPECT_EQ(viewCompiledHelp(none, open), ViewChmOutcome::NoProject);
}

TEST(ViewerState, DeletesTheWinePrefixStateFileOnlyWhereThereIsOne) {
    TempDir d;
    EXPECT_TRUE(viewerStateFiles("", "u").empty());
    const auto files = viewerStateFiles(d.path(), "alice");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0],
              d.path() + "/drive_c/users/alice/AppData/Roaming/Microsoft/HTML Help/hh.dat");

    setenv("WINEPREFIX", d.path().c_str(), 1);
    setenv("USER", "alice", 1);
    EXPECT_EQ(deleteViewerStateFile(), 0);
    writeBytes(files[1], "state");
    EXPECT_EQ(deleteViewerStateFile(), 1);
    EXPECT_FALSE(std::filesystem::exists(files[1]));
    unsetenv("WINEPREFIX");
}

TEST(DecompileForm, OkOnlyForAnExistingFileAndDropsOnlyOfCompiledHelp) {
    TempDir d;
    writeBytes(d.file("help.CHM"), "x");
    DecompileForm form(d.path());
    EXPECT_FALSE(form.okEnabled());
    form.setChmPath(d.file("missing.chm"));
    EXPECT_FALSE(form.okEnabled());
    form.setChmPath(d.path());  // a folder is not a file
    EXPECT_FALSE(form.okEnabled());

    EXPECT_FALSE(form.drop({d.file("toc.hhc"), d.file("help.CHM")}));
    EXPECT_EQ(form.chmPath(), d.path());
    EXPECT_FALSE(DecompileForm::acceptsDrag({}));
    EXPECT_TRUE(form.drop({d.file("help.CHM"), d.file("toc.hhc")}));
    EXPECT_EQ(form.chmPath(), d.file("help.CHM"));
    EXPECT_TRUE(form.okEnabled());
    EXPECT_EQ(form.outputFolder(), d.path());
}

TEST(DecompileForm, TheEndTellsTheCountWhatWasLeftOutEveryWarningAndWhyReadingStopped) {
    DecompileResult r;
    r.opened = true;
    r.filesWritten = 7;
    EXPECT_EQ(decompileSummary(r, "/out"), "7 個のファイルを [ /out ] に保存しました。");
    r.internalSkipped = 3;
    r.error = "reading it crashed";
    for (int i = 1; i <= 22; ++i) r.warnings.push_back("w" + std::to_string(i));
    const std::string text = decompileSummary(r, "/out", 20);
    for (const char* part :
         {"最後まで完了できませんでした。\nreading it crashed", "7 個のファイル",
          "内部ファイル (#, $, ::) 3 個", "警告 22 件:\nw1\n", "\nw20\nほか 2 件"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    EXPECT_EQ(text.find("w21"), std::string::npos);
}
