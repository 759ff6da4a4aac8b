#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "compile/BuildTestSupport.h"
#include "compile/CompileRun.h"
#include "platform/Process.h"

namespace tarnbook::testing {
namespace {

using compile::CompileOutcome;

// A stand-in compiler: writes an HHC-style log, and the compiled file the project names
// holding "build N" (N counts the runs), unless FAIL is in the project folder.
constexpr const char* kFakeCompiler = R"(#!/bin/sh
dir=$(dirname "$1")
printf '%s\n' "$@" > "$dir/args"
n=$(cat "$dir/counter" 2>/dev/null || echo 0); n=$((n+1)); echo $n > "$dir/counter"
printf 'Fake compiler 1.0\r\n\r\nCompiling %s\r\n\r\nt\r\nx\r\ny\r\n' "$1" > "$dir/Compile.Log"
if [ -e "$dir/FAIL" ]; then
  printf 'HHC5003: Error: Compilation failed while compiling a.htm.\r\n' >> "$dir/Compile.Log"
  exit 1
fi
chm=$(sed -n 's/^Compiled file=//p' "$1" | tr -d '\r')
printf 'build %s' $n > "$dir/$chm"
printf 'Created %s, 7 bytes\r\nCompression decreased file by 0 bytes.\r\n' "$chm" >> "$dir/Compile.Log"
)";

struct CompileFixture : BuildFixture {
    explicit CompileFixture(const std::string& extraXhp = "FileName=Help.chm\r\n")
        : BuildFixture("Help", extraXhp) {
        const std::string compiler = dir.file("fakehhc.sh");
        writeBytes(compiler, kFakeCompiler);
        ::chmod(compiler.c_str(), 0755);
        ws.settings.writeString("SYSTEM", "HHC", compiler);
        add(nullptr, "A", "a.htm", 8, "", "ka");
        writeBytes(inFolder("_RESOURCE/a.htm"), "<html>a</html>");
    }
    int backupLines() const {
        int n = 0;
        for (const auto& l : fileLines(inFolder("Compile.Log")))
            if (l.rfind("==[ ", 0) == 0) ++n;
        return n;
    }
};

TEST(GoCompile, EnabledOnlyWithNodes) {
    BuildFixture f;
    EXPECT_FALSE(compile::canCompile(f.ws));
    f.add(nullptr, "A", "a.htm");
    EXPECT_TRUE(compile::canCompile(f.ws));
    f.ws.project.reset();
    EXPECT_FALSE(compile::canCompile(f.ws));
}

TEST(GoCompile, FourBuildsKeepTwoBackups) {
    CompileFixture f;
    auto r = compile::goCompile(f.ws);
    ASSERT_EQ(r.outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(f.inFolder("Help.chm")), "build 1");
    EXPECT_EQ(f.backupLines(), 0);
    EXPECT_EQ(readBytes(f.inFolder("Compile.Log")).find("Backup"), std::string::npos);
    // The compiler got the project file's path as its only argument.
    EXPECT_EQ(readBytes(f.inFolder("args")), f.inFolder("Help.hhp") + "\n");
    // The log page is shown in the preview.
    EXPECT_EQ(r.htmlLog, f.inFolder("COMPILE.HTML"));
    EXPECT_EQ(f.preview.last(), r.htmlLog);
    EXPECT_EQ(f.ws.currentPage, r.htmlLog);

    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(f.inFolder("Help.chm.bak")), "build 1");
    EXPECT_FALSE(platform::fileExists(f.inFolder("Help.chm.bak2")));
    EXPECT_EQ(f.backupLines(), 1);

    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(f.inFolder("Help.chm.bak")), "build 2");
    EXPECT_EQ(readBytes(f.inFolder("Help.chm.bak2")), "build 1");
    EXPECT_EQ(f.backupLines(), 2);

    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(f.inFolder("Help.chm")), "build 4");
    EXPECT_EQ(readBytes(f.inFolder("Help.chm.bak")), "build 3");
    EXPECT_EQ(readBytes(f.inFolder("Help.chm.bak2")), "build 2");
    EXPECT_TRUE(f.prompts.shown.empty());
}

TEST(GoCompile, ProgressPointsAndSavingFirst) {
    CompileFixture f;
    f.ws.saved = false;
    int editorSaves = 0;
    compile::CompileHooks hooks;
    hooks.saveEditorPage = [&] {
        ++editorSaves;
        EXPECT_FALSE(platform::fileExists(f.inFolder("Help.hhp")));
    };
    ASSERT_EQ(compile::goCompile(f.ws, hooks).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(editorSaves, 1);
    EXPECT_TRUE(f.ws.saved);
    EXPECT_TRUE(platform::fileExists(f.inFolder("Help.XHC")));
    EXPECT_EQ(f.status.progressHistory,
              (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0}));

    f.ws.project->writeBool("XHP", "TabKeyword", false);
    f.status.progressHistory.clear();
    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(f.status.progressHistory,
              (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 80, 90, 100, 0}));
}

TEST(GoCompile, NoIndexFileWithoutTheKeywordTab) {
    CompileFixture f("FileName=Help.chm\r\nTabKeyword=0\r\n");
    writeBytes(f.inFolder("Help.hhk"), "kept");
    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(f.inFolder("Help.hhk")), "kept");
}

TEST(GoCompile, OnlyTheProjectDestinationAppliesWhenBothAreSet) {
    CompileFixture f;
    TempDir own, shared;
    f.ws.project->writeBool("XHP", "SetCompleteDestOW", true);
    f.ws.project->writeString("XHP", "SetCompleteDestPathOW", own.path());
    f.ws.settings.writeBool("SYSTEM", "SetCompleteDest", true);
    f.ws.settings.writeString("SYSTEM", "SetCompleteDestPath", shared.path());
    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(own.file("Help.chm")), "build 1");
    EXPECT_FALSE(platform::fileExists(shared.file("Help.chm")));
    const std::string log = readBytes(f.inFolder("Compile.Log"));
    EXPECT_NE(log.find("===== Copy =====<br/>\r\n==" +
                       platform::utf8ToCp932("コンパイル済みヘルプを [ ") + own.file("Help.chm")),
              std::string::npos);

    // The project's folder is gone: nothing is copied, not even to the shared folder.
    f.ws.project->writeString("XHP", "SetCompleteDestPathOW", own.file("gone"));
    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_FALSE(platform::fileExists(shared.file("Help.chm")));
    EXPECT_EQ(readBytes(f.inFolder("Compile.Log")).find("Copy"), std::string::npos);

    // Without the project's own setting the shared destination is used.
    f.ws.project->writeBool("XHP", "SetCompleteDestOW", false);
    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(shared.file("Help.chm")), "build 3");

    // A folder in the copy's way: the log tells the failure and its reason, not a copy.
    platform::deleteFile(shared.file("Help.chm"));
    platform::createFolders(shared.file("Help.chm"));
    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    const std::string failed = readBytes(f.inFolder("Compile.Log"));
    EXPECT_NE(failed.find(platform::utf8ToCp932("にコピーできませんでした。<br/>")),
              std::string::npos);
    EXPECT_NE(failed.find(platform::utf8ToCp932("理由: フォルダです")), std::string::npos);
    EXPECT_EQ(failed.find(platform::utf8ToCp932("にコピーしました")), std::string::npos);
}

TEST(GoCompile, BackupsFollowTheProjectNameNotTheCompiledFile) {
    CompileFixture f("FileName=Other.chm\r\n");
    writeBytes(f.inFolder("Help.chm"), "by name");
    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(f.inFolder("Other.chm")), "build 1");
    EXPECT_EQ(readBytes(f.inFolder("Help.chm.bak")), "by name");
    ASSERT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(readBytes(f.inFolder("Other.chm")), "build 2");
    EXPECT_FALSE(platform::fileExists(f.inFolder("Other.chm.bak")));
}

TEST(GoCompile, MissingCompilerIsToldAfterTheFilesAreWritten) {
    CompileFixture f;
    writeBytes(f.inFolder("Help.chm"), "previous");
    f.ws.settings.writeString("SYSTEM", "HHC", f.dir.file("no/HHC.EXE"));
    auto r = compile::goCompile(f.ws);
    EXPECT_EQ(r.outcome, CompileOutcome::NoCompiler);
    ASSERT_EQ(f.prompts.shown.size(), 1u);
    EXPECT_EQ(f.prompts.shown[0].text, "ヘルプコンパイラ(HHC.EXE)の指定を確認して下さい");
    EXPECT_EQ(f.prompts.shown[0].buttons, ui::Buttons::Yes);
    EXPECT_TRUE(platform::fileExists(f.inFolder("Help.hhp")));
    EXPECT_TRUE(platform::fileExists(f.inFolder("Help.hhc")));
    EXPECT_TRUE(platform::fileExists(f.inFolder("Help.hhk")));
    EXPECT_EQ(readBytes(f.inFolder("Help.chm.bak")), "previous");
    EXPECT_EQ(f.status.progress, 0);
}

TEST(GoCompile, ACompilerThatCannotStartOrFailsIsNoSuccess) {
    CompileFixture f;
    const std::string notExecutable = f.dir.file("plain.txt");
    writeBytes(notExecutable, "text");
    ::chmod(notExecutable.c_str(), 0644);
    f.ws.settings.writeString("SYSTEM", "HHC", notExecutable);
    auto r = compile::goCompile(f.ws);
    EXPECT_EQ(r.outcome, CompileOutcome::CannotStart);
    ASSERT_FALSE(f.prompts.shown.empty());
    EXPECT_EQ(f.prompts.shown.back().kind, "error");

    CompileFixture g;
    writeBytes(g.inFolder("FAIL"), "");
    r = compile::goCompile(g.ws);
    EXPECT_EQ(r.outcome, CompileOutcome::Failed);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(g.prompts.sawText("を作成できませんでした"));
    // The log page still explains the compiler's message.
    const std::string page = readBytes(g.inFolder("COMPILE.HTML"));
    EXPECT_NE(page.find("HHC5003: Error:"), std::string::npos);
    EXPECT_NE(page.find("<div class = red>"), std::string::npos);
}

TEST(GoCompile, WorkshopGuardAsksOnlyWhenItsWindowIsOpen) {
    CompileFixture f;
    // A process whose executable is named hhw.exe.
    const std::string fake = f.dir.file("hhw.exe");
    ASSERT_TRUE(platform::copyFile(platform::findExecutable("sleep"), fake, false));
    ::chmod(fake.c_str(), 0755);
    std::string error;
    auto workshop = platform::ChildProcess::start(fake, {"30"}, "", &error);
    ASSERT_TRUE(workshop) << error;
    for (int i = 0; i < 200 && !compile::isProcessRunning("HHW.EXE"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(compile::isProcessRunning("hhw.exe"));

    f.ws.saved = false;
    compile::CompileHooks hooks;
    std::string askedFor;
    hooks.windowWithTitleExists = [&](const std::string& title) {
        askedFor = title;
        return true;
    };
    f.prompts.answers.push_back(ui::Answer::No);
    writeBytes(f.inFolder("Help.chm"), "previous");
    EXPECT_EQ(compile::goCompile(f.ws, hooks).outcome, CompileOutcome::Declined);
    EXPECT_EQ(askedFor, "Help");
    ASSERT_EQ(f.prompts.shown.size(), 1u);
    EXPECT_EQ(f.prompts.shown[0].buttons, ui::Buttons::YesNo);
    EXPECT_NE(f.prompts.shown[0].text.find("ヘルプファイル [ Help ] が開かれているか"),
              std::string::npos);
    EXPECT_FALSE(f.ws.saved);
    EXPECT_FALSE(platform::fileExists(f.inFolder("Help.XHC")));
    EXPECT_FALSE(platform::fileExists(f.inFolder("Help.hhp")));
    EXPECT_FALSE(platform::fileExists(f.inFolder("Help.chm.bak")));

    hooks.windowWithTitleExists = [](const std::string&) { return false; };
    EXPECT_EQ(compile::goCompile(f.ws, hooks).outcome, CompileOutcome::Succeeded);
    EXPECT_EQ(f.prompts.shown.size(), 1u);
    workshop->kill();
    workshop->wait();
}

TEST(ViewLog, WithoutALogItDisablesItself) {
    CompileFixture f;
    EXPECT_FALSE(compile::viewLog(f.ws));
    EXPECT_TRUE(f.preview.shown.empty());
    writeBytes(f.inFolder("Compile.Log"), "banner\r\nHHC5013: Error: x\r\n");
    f.ws.tree.selectOnly(f.ws.tree.first());
    std::string html;
    EXPECT_TRUE(compile::viewLog(f.ws, &html));
    EXPECT_EQ(f.preview.last(), html);
    EXPECT_TRUE(f.ws.tree.selectedNodes().empty());
    EXPECT_EQ(f.status.activePage, ui::Page::Preview);
}

TEST(GoCompile, HalfWrittenFilesOfAKilledBuildAreRemovedByTheNext) {
    CompileFixture f;
    const std::vector<std::string> stale = {".Help.hhp.a1B2c3", ".Help.hhc.Zz9yX8",
                                            ".Help.hhk.000000"};
    for (const auto& n : stale) writeBytes(f.inFolder(n), "partial");
    writeBytes(f.inFolder(".Help.chm.a1B2c3"), "not ours");
    EXPECT_EQ(compile::goCompile(f.ws).outcome, CompileOutcome::Succeeded);
    for (const auto& n : stale) EXPECT_FALSE(platform::fileExists(f.inFolder(n))) << n;
    EXPECT_TRUE(platform::fileExists(f.inFolder(".Help.chm.a1B2c3")));
}

TEST(GoCompile, ProjectKeysNeverSteerTheBuildOutOfTheProjectFolder) {
    struct Case {
        std::string fileName, written;
    };
    TempDir outside;
    const Case cases[] = {
        {"..\\..\\x.chm", "x.chm"},
        {outside.file("abs.chm"), "abs.chm"},
        {"sub/deep.chm", "deep.chm"},
        {"..", "Help.chm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        CompileFixture f("FileName=" + c.fileName + "\r\n");
        const auto r = compile::goCompile(f.ws);
        EXPECT_EQ(r.outcome, CompileOutcome::Succeeded);
        EXPECT_EQ(r.chmPath, f.inFolder(c.written));
        EXPECT_TRUE(platform::fileExists(f.inFolder(c.written)));
        EXPECT_FALSE(platform::fileExists(outside.file("abs.chm")));
    }
}

TEST(GoCompile, MapPopupAndAliasFilesOutsideAreCopiedInNotReadInPlace) {
    TempDir outside;
    writeBytes(outside.file("ids.h"), "#define IDH_A 1\r\n");
    writeBytes(outside.file("pop.txt"), ".topic 1\r\nA\r\n");
    writeBytes(outside.file("alias.txt"), "[ALIAS]\r\nIDH_A=_RESOURCE\\a.htm\r\n");
    CompileFixture f("FileName=Help.chm\r\nUseMap=1\r\nMAP=" + outside.file("ids.h") +
                     "\r\nUsePopup=1\r\nPopupTxt=" + outside.file("pop.txt") +
                     "\r\nUseUserAlias=1\r\nUserAlias=" + outside.file("alias.txt") + "\r\n");
    compile::goCompile(f.ws);
    const std::string hhp = readBytes(f.inFolder("Help.hhp"));
    EXPECT_EQ(hhp.find(outside.path()), std::string::npos) << hhp;
    for (const char* line : {"IDH_A=_RESOURCE\\a.htm", "#include ids.h", "\r\npop.txt\r\n"})
        EXPECT_NE(hhp.find(line), std::string::npos) << line;
    for (const char* name : {"ids.h", "pop.txt", "alias.txt"})
        EXPECT_EQ(readBytes(f.inFolder(name)), readBytes(outside.file(name))) << name;
}

TEST(GoCompile, AHangingCompilerIsEndedAtItsLimitsAndReported) {
    CompileFixture f;
    const std::string hanging = f.dir.file("hanging.sh");
    writeBytes(hanging, "#!/bin/sh\nulimit -v > \"$(dirname \"$1\")/memory\"\nexec sleep 100\n");
    ::chmod(hanging.c_str(), 0755);
    f.ws.settings.writeString("SYSTEM", "HHC", hanging);
    // Long enough for the shell to record its limit on a loaded machine.
    f.ws.settings.writeInteger("SYSTEM", "CompileTimeLimit", 3);
    f.ws.settings.writeInteger("SYSTEM", "CompileMemoryLimitMB", 512);
    const auto started = std::chrono::steady_clock::now();
    const auto r = compile::goCompile(f.ws);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(r.outcome, CompileOutcome::Failed);
    EXPECT_TRUE(f.prompts.sawText("3 秒以内に終わらなかった"));
#if !defined(__SANITIZE_ADDRESS__)  // a sanitized build keeps the limit from the child
    EXPECT_EQ(readBytes(f.inFolder("memory")), std::to_string(512 * 1024) + "\n");
#endif
}

}  // namespace
}  // namespace tarnbook::testing
