#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/SingleInstance.h"
#include "support/TempDir.h"

using namespace tarnbook::platform;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {

// Polls until `done` holds or a few seconds passed.
template <typename F>
bool eventually(F done) {
    for (int i = 0; i < 500; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

}  // namespace

TEST(Process, StartPollAndExitCode) {
    TempDir dir;
    std::string error;
    auto child = ChildProcess::start("sh", {"-c", "pwd > where.txt; exit 3"}, dir.path(), &error);
    ASSERT_TRUE(child) << error;
    child->wait();
    EXPECT_FALSE(child->running());
    EXPECT_EQ(child->exitCode(), 3);
    EXPECT_EQ(readBytes(dir.file("where.txt")), dir.path() + "\n");

    auto slow = ChildProcess::start("sleep", {"5"}, {}, &error);
    ASSERT_TRUE(slow) << error;
    EXPECT_TRUE(slow->running());
    slow->kill();
    EXPECT_FALSE(slow->running());
    EXPECT_EQ(slow->exitCode(), 128 + 9);

    auto quick = ChildProcess::start("true", {}, {}, &error);
    ASSERT_TRUE(quick) << error;
    EXPECT_TRUE(eventually([&] { return !quick->running(); }));
    EXPECT_EQ(quick->exitCode(), 0);
}

TEST(Process, OutputGoesToTheFileAppended) {
    TempDir dir;
    writeBytes(dir.file("log.txt"), "before\n");
    std::string error;
    auto child = ChildProcess::start("sh", {"-c", "echo out; echo err >&2"}, dir.path(), &error,
                                     dir.file("LOG.TXT"));
    ASSERT_TRUE(child) << error;
    EXPECT_EQ(child->wait(), 0);
    EXPECT_EQ(readBytes(dir.file("log.txt")), "before\nout\nerr\n");
}

TEST(Process, StartFailuresAreReported) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(ChildProcess::start("no-such-program-xyz", {}, {}, &error));
    EXPECT_NE(error.find("no-such-program-xyz"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(ChildProcess::start("sh", {"-c", "true"}, dir.file("missing"), &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
    writeBytes(dir.file("notexec.sh"), "#!/bin/sh\n");
    EXPECT_FALSE(ChildProcess::start(dir.file("notexec.sh"), {}, {}, &error));
    EXPECT_EQ(findExecutable(dir.file("notexec.sh")), "");
    EXPECT_EQ(findExecutable("sh").substr(findExecutable("sh").size() - 3), "/sh");
}

TEST(Process, RunAndCapture) {
    TempDir dir;
    std::string out;
    EXPECT_EQ(runAndCapture("sh", {"-c", "echo hello; echo oops >&2; exit 2"}, dir.path(), &out),
              2);
    EXPECT_EQ(out, "hello\noops\n");
    EXPECT_EQ(runAndCapture("no-such-program-xyz", {}, {}, &out), -1);
    EXPECT_NE(out.find("no-such-program-xyz"), std::string::npos);
}

TEST(Process, PathArgumentsAreResolvedOtherTextIsNot) {
    TempDir dir;
    writeBytes(dir.file("Pages/Index.htm"), "page");
    std::string out;
    EXPECT_EQ(runAndCapture("cat", {dir.path() + "\\PAGES\\INDEX.HTM"}, {}, &out), 0);
    EXPECT_EQ(out, "page");
    EXPECT_EQ(
        runAndCapture("printf", {"%s|%s|%s", "a\\b", dir.path() + "/PAGES/New.htm", "\x95\x5C"}, {},
                      &out),
        0);
    EXPECT_EQ(out, "a\\b|" + dir.file("Pages/New.htm") + "|表");
}

TEST(Process, RunningProcessNamesIncludeOurs) {
    auto names = runningProcessNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "test_platform"), names.end());
}

TEST(Process, DetachedStartDoesNotWait) {
    TempDir dir;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(startDetached("sh", {"-c", "sleep 0.3; echo done > marker.txt"}, dir.path()));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    EXPECT_TRUE(eventually([&] { return fileExists(dir.file("marker.txt")); }));
    EXPECT_FALSE(startDetached("no-such-program-xyz", {}));
    EXPECT_FALSE(startDetached("sh", {"-c", "true"}, dir.file("missing")));
}

TEST(Process, OpenWithDefaultProgramPassesTheResolvedPath) {
    TempDir dir;
    // A stand-in opener on PATH records what it was given.
    writeBytes(dir.file("bin/xdg-open"),
               "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/arg.tmp\"\n"
               "mv \"$(dirname \"$0\")/arg.tmp\" \"$(dirname \"$0\")/arg\"\n");
    chmod(dir.file("bin/xdg-open").c_str(), 0755);
    writeBytes(dir.file("Doc.Htm"), "x");
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "/usr/bin:/bin";
    setenv("PATH", (dir.file("bin") + ":" + savedPath).c_str(), 1);
    auto opened = [&](const std::string& target) {
        deleteFile(dir.file("bin/arg"));
        if (!openWithDefaultProgram(target)) return std::string("(not started)");
        if (!eventually([&] { return fileExists(dir.file("bin/arg")); })) return std::string();
        return readBytes(dir.file("bin/arg"));
    };
    const std::string file = opened(dir.file("DOC.HTM"));
    const std::string url = opened("https://example.org/A?b=1");
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_EQ(file, dir.file("Doc.Htm"));
    EXPECT_EQ(url, "https://example.org/A?b=1");
}

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds) {
    TempDir dir;
    {
        SingleInstance first(dir.file("app"));
        EXPECT_TRUE(first.isFirst());
        SingleInstance second(dir.file("app"));
        EXPECT_FALSE(second.isFirst());
        // Another process is refused too.
        std::string out;
        EXPECT_NE(runAndCapture("flock", {"-n", dir.file("app/tarnbook.lock"), "true"}, {}, &out),
                  0);
    }
    SingleInstance again(dir.file("app"));
    EXPECT_TRUE(again.isFirst());
}
