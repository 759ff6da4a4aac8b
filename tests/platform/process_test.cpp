#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/SingleInstance.h"
#include "support/TempDir.h"

using namespace tarnbook::platform;
using tarnbook::testing::readBytes;
using tarnbook::testing::TempDir;
using tarnbook::testing::writeBytes;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

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

// A child that starts a grandchild and then hangs, as a compiler driver stuck in its back
// end would. Each way of ending the child must end the grandchild too, in time.
TEST(Process, EndingAChildEndsEverythingItStartedAndAHangIsReported) {
    enum class Way { TimeLimit, Destructor, SignalToUs, MemoryLimit };
    struct Case {
        Way way;
        const char* name;
    };
    const Case cases[] = {{Way::TimeLimit, "time limit"},
                          {Way::Destructor, "abandoned child"},
                          {Way::SignalToUs, "SIGTERM to the parent"},
                          {Way::MemoryLimit, "memory limit"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string pidFile = dir.file("grandchild");
        const std::string script = "sleep 60 & echo $! > " + pidFile + ".tmp; mv " + pidFile +
                                   ".tmp " + pidFile + "; ulimit -v > " + dir.file("memory") +
                                   "; exec sleep 60";
        const auto started = std::chrono::steady_clock::now();
        if (c.way == Way::TimeLimit || c.way == Way::MemoryLimit) {
            std::string out;
            bool timedOut = false;
            const RunLimits limits{std::chrono::seconds(1), std::uint64_t{256} << 20};
            runAndCapture("sh", {"-c", script}, dir.path(), &out, limits, &timedOut);
            EXPECT_TRUE(timedOut);
            // An address-sanitized build keeps the limit from reaching the child; the limit
            // only matters for the program as shipped.
            if (c.way == Way::MemoryLimit && !kSanitized) {
                ASSERT_TRUE(eventually([&] { return fileExists(dir.file("memory")); }));
                EXPECT_EQ(readBytes(dir.file("memory")), std::to_string(256 * 1024) + "\n");
            }
        } else if (c.way == Way::Destructor) {
            std::string error;
            auto child = ChildProcess::start("sh", {"-c", script}, dir.path(), &error);
            ASSERT_TRUE(child) << error;
            ASSERT_TRUE(eventually([&] { return fileExists(pidFile); }));
            child.reset();
        } else {
            const pid_t parent = ::fork();
            ASSERT_GE(parent, 0);
            if (parent == 0) {
                endChildrenOnSignals();
                std::string error;
                auto child = ChildProcess::start("sh", {"-c", script}, dir.path(), &error);
                for (int i = 0; i < 500 && !fileExists(pidFile); ++i) ::usleep(10000);
                ::raise(SIGTERM);
                ::_exit(0);
            }
            int status = 0;
            ::waitpid(parent, &status, 0);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
        ASSERT_TRUE(fileExists(pidFile));
        const int grandchild = std::atoi(readBytes(pidFile).c_str());
        ASSERT_GT(grandchild, 0);
        // The grandchild was adopted by init, which reaps it soon after it ends.
        EXPECT_TRUE(eventually([&] { return !processExists(grandchild); }));
    }
}

TEST(Process, WorkInAForkedChildCannotTakeThisProcessDown) {
    struct Case {
        const char* name;
        std::function<void(const LineSender&)> work;
        int signal;
        bool timedOut;
        int exitCode;
    };
    const Case cases[] = {
        {"ends well",
         [](const LineSender& send) {
             send("a");
             send("b");
         },
         0, false, 0},
        {"crashes",
         [](const LineSender& send) {
             send("a");
             send("b");
             ::raise(SIGSEGV);
         },
         SIGSEGV, false, -1},
        {"hangs",
         [](const LineSender& send) {
             send("a");
             send("b");
             ::pause();
         },
         0, true, -1},
        {"throws",
         [](const LineSender& send) {
             send("a");
             send("b");
             throw std::runtime_error("x");
         },
         0, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines;
        const auto started = std::chrono::steady_clock::now();
        const IsolatedOutcome o =
            runIsolated(c.work, [&](std::string_view l) { lines.emplace_back(l); },
                        {std::chrono::seconds(1), std::uint64_t{512} << 20});
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        EXPECT_TRUE(o.started);
        EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(o.signal, c.signal);
        EXPECT_EQ(o.timedOut, c.timedOut);
        if (!c.timedOut && c.signal == 0) {
            EXPECT_EQ(o.exitCode, c.exitCode);
        }
    }
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
