#include "platform/Process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <poll.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/NativeStrings.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"

extern char** environ;

namespace tarnbook::platform {

namespace {

bool isExecutableFile(const std::string& native) {
    struct stat st;
    return stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           access(native.c_str(), X_OK) == 0;
}

// Native path of an executable: a name without separator is looked up on PATH.
std::string findNative(const std::string& program) {
    if (program.empty()) return {};
    if (lastSeparator(program) != std::string::npos) {
        std::string native = detail::nativeString(program);
        return isExecutableFile(native) ? native : std::string();
    }
    std::string name = cp932ToUtf8(program);
    const char* pathEnv = std::getenv("PATH");
    std::string path = pathEnv ? pathEnv : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t colon = path.find(':', start);
        if (colon == std::string::npos) colon = path.size();
        std::string folder = path.substr(start, colon - start);
        if (folder.empty()) folder = ".";
        std::string candidate = folder + "/" + name;
        if (isExecutableFile(candidate)) return candidate;
        start = colon + 1;
    }
    return {};
}

int decodeStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// A core text as the child should see it: a path to an existing entry (or, for an absolute
// path, a new one in an existing folder) is resolved like every file access, so a tool gets
// "/proj/Pages/Index.htm" for "/proj/PAGES\INDEX.HTM"; anything else is only made UTF-8.
std::string nativeArgument(const std::string& arg) {
    if (lastSeparator(arg) == std::string::npos) return cp932ToUtf8(arg);
    std::string native = detail::nativeString(arg);
    struct stat st;
    if (stat(native.c_str(), &st) == 0) return native;
    if (isAbsolutePath(arg)) {
        std::string folder = folderPart(arg);
        if (!folder.empty() && stat(detail::nativeString(folder).c_str(), &st) == 0 &&
            S_ISDIR(st.st_mode))
            return native;
    }
    return cp932ToUtf8(arg);
}

// argv storage: the strings stay alive while the pointers are used.
struct Argv {
    std::vector<std::string> strings;
    std::vector<char*> pointers;
    Argv(const std::string& program, const std::vector<std::string>& arguments,
         bool convert = true) {
        strings.push_back(program);
        for (const auto& a : arguments) strings.push_back(convert ? nativeArgument(a) : a);
        for (auto& s : strings) pointers.push_back(s.data());
        pointers.push_back(nullptr);
    }
};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// Process groups of the children still running. Each child leads a group of its own, so
// that everything it starts (a compiler driver runs a back end) ends with it; a signal
// handler reads this table, hence fixed slots and atomics.
std::array<std::atomic<int>, 64> gChildGroups{};

void registerChildGroup(int pid) {
    for (auto& slot : gChildGroups) {
        int empty = 0;
        if (slot.compare_exchange_strong(empty, pid)) return;
    }
}

void forgetChildGroup(int pid) {
    for (auto& slot : gChildGroups) {
        int expected = pid;
        if (slot.compare_exchange_strong(expected, 0)) return;
    }
}

void killAllChildGroups() {
    for (auto& slot : gChildGroups)
        if (const int pid = slot.load(); pid > 0) ::kill(-pid, SIGKILL);
}

void endChildrenAndReraise(int signal) {
    killAllChildGroups();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// Ends a child and everything it started, then reaps it.
int killGroupAndReap(pid_t pid) {
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    int status = 0;
    pid_t r;
    do {
        r = waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    forgetChildGroup(pid);
    return r == pid ? decodeStatus(status) : -1;
}

// What the child's standard handles become and the address space it may use; applied
// between fork and exec, so the limit holds from the child's first instruction on.
struct ChildSetup {
    int output = -1;  // becomes stdout and stderr when set
    int input = -1;   // becomes stdin when set
    std::uint64_t memoryBytes = 0;
};

// Reads, and closes, the pipe on which a child reports the errno of a failed start; 0 bytes
// mean exec closed it, so the start succeeded.
ssize_t readChildErrno(int fd, int* err) {
    ssize_t n;
    do {
        n = ::read(fd, err, sizeof *err);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    return n;
}

// What one wait on a child's output brought.
enum class ChildOutput { Data, End, Late };

// Waits for the child's output on `fd` until `deadline` (no deadline when `timed` is false),
// polling at most `maxWaitMs` at a time, and appends what arrives to `out`.
ChildOutput readChildOutput(int fd, bool timed, std::chrono::steady_clock::time_point deadline,
                            long long maxWaitMs, std::string& out) {
    char buf[8192];
    for (;;) {
        int wait = -1;
        if (timed) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return ChildOutput::Late;
            wait = static_cast<int>(std::min<long long>(left.count(), maxWaitMs));
        }
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, wait);
        if ((ready < 0 && errno == EINTR) || ready == 0) continue;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return ChildOutput::End;
        out.append(buf, static_cast<std::size_t>(n));
        return ChildOutput::Data;
    }
}

// Starts a child in a process group of its own; returns its pid or -1 with `error` set.
// Between fork and exec only async-signal-safe calls run (the window has threads).
pid_t spawnChild(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingFolder, const ChildSetup& setup, std::string* error) {
    std::string exe = findNative(program);
    if (exe.empty()) {
        if (error) *error = failureText(FileAction::Start, cp932ToUtf8(program), ENOENT);
        return -1;
    }
    std::string folder;
    if (!workingFolder.empty()) {
        folder = detail::nativeString(workingFolder);
        if (!folderExists(workingFolder)) {
            if (error) *error = failureText(FileAction::Start, exe + " (" + folder + ")", ENOENT);
            return -1;
        }
    }
    Argv argv(exe, arguments);
    // A close-on-exec pipe carries the child's errno when exec fails.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        if (error) *error = failureText(FileAction::Start, exe, errno);
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        if (error) *error = failureText(FileAction::Start, exe, errno);
        ::close(report[0]);
        ::close(report[1]);
        return -1;
    }
    if (pid == 0) {
        ::close(report[0]);
        ::setpgid(0, 0);
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal, SIG_DFL);
        int err = 0;
        if (setup.input >= 0 && ::dup2(setup.input, 0) < 0) err = errno;
        if (!err && setup.output >= 0 && (::dup2(setup.output, 1) < 0 || ::dup2(1, 2) < 0))
            err = errno;
        if (!err && !folder.empty() && ::chdir(folder.c_str()) != 0) err = errno;
        // Sanitized builds start sanitized children, which reserve terabytes of shadow
        // memory at once; a limit would stop them before they begin.
        if (!err && setup.memoryBytes && !kSanitized) {
            const struct rlimit limit = {setup.memoryBytes, setup.memoryBytes};
            if (::setrlimit(RLIMIT_AS, &limit) != 0) err = errno;
        }
        if (!err) {
            ::execve(exe.c_str(), argv.pointers.data(), environ);
            err = errno;
        }
        ssize_t ignored = ::write(report[1], &err, sizeof err);
        (void)ignored;
        ::_exit(127);
    }
    ::setpgid(pid, pid);  // both sides set it, so neither order of running races
    ::close(report[1]);
    int err = 0;
    const ssize_t n = readChildErrno(report[0], &err);
    if (n > 0) {
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        if (error) *error = failureText(FileAction::Start, exe, err);
        return -1;
    }
    registerChildGroup(pid);
    return pid;
}

// A file opened for the child's output, closed when the start is over.
class OutputFile {
  public:
    explicit OutputFile(const std::string& coreName) {
        if (!coreName.empty())
            fd_ = ::open(detail::nativeString(coreName).c_str(),
                         O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }
    ~OutputFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    int fd() const { return fd_; }

  private:
    int fd_ = -1;
};

}  // namespace

ChildProcess::~ChildProcess() {
    // An abandoned child is not wanted any more; end it so that it leaves no zombie.
    if (!finished_ && pid_ > 0) kill();
}

std::unique_ptr<ChildProcess> ChildProcess::start(const std::string& program,
                                                  const std::vector<std::string>& arguments,
                                                  const std::string& workingFolder,
                                                  std::string* error, const std::string& outputFile,
                                                  std::uint64_t memoryLimitBytes) {
    const OutputFile output(outputFile);
    if (!outputFile.empty() && output.fd() < 0) {
        if (error) *error = failureText(FileAction::Create, cp932ToUtf8(outputFile), errno);
        return nullptr;
    }
    const pid_t pid =
        spawnChild(program, arguments, workingFolder, {output.fd(), -1, memoryLimitBytes}, error);
    if (pid < 0) return nullptr;
    std::unique_ptr<ChildProcess> child(new ChildProcess());
    child->pid_ = pid;
    return child;
}

bool ChildProcess::running() {
    if (finished_) return false;
    int status = 0;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    finished_ = true;
    exitCode_ = r == pid_ ? decodeStatus(status) : -1;
    // What the child started may still run in its group; it has no one left to answer to.
    ::kill(-pid_, SIGKILL);
    forgetChildGroup(pid_);
    return false;
}

int ChildProcess::wait() {
    if (finished_) return exitCode_;
    int status = 0;
    pid_t r;
    do {
        r = waitpid(pid_, &status, 0);
    } while (r < 0 && errno == EINTR);
    finished_ = true;
    exitCode_ = r == pid_ ? decodeStatus(status) : -1;
    ::kill(-pid_, SIGKILL);
    forgetChildGroup(pid_);
    return exitCode_;
}

int ChildProcess::exitCode() const {
    return exitCode_;
}

void ChildProcess::kill() {
    if (finished_ || pid_ <= 0) return;
    exitCode_ = killGroupAndReap(pid_);
    finished_ = true;
}

int runAndCapture(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingFolder, std::string* output, const RunLimits& limits,
                  bool* timedOut) {
    if (timedOut) *timedOut = false;
    std::string error;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        if (output) *output = std::string("Cannot create a pipe: ") + std::strerror(errno);
        return -1;
    }
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t pid = spawnChild(program, arguments, workingFolder,
                                 {fds[1], devNull, limits.memoryBytes}, &error);
    ::close(fds[1]);
    if (devNull >= 0) ::close(devNull);
    if (pid < 0) {
        ::close(fds[0]);
        if (output) *output = error;
        return -1;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limits.time;
    std::string captured;
    ChildOutput got;
    do {
        got = readChildOutput(fds[0], limits.time.count() > 0, deadline, 1000, captured);
    } while (got == ChildOutput::Data);
    bool late = got == ChildOutput::Late;
    ::close(fds[0]);
    int code;
    if (late) {
        code = killGroupAndReap(pid);
        if (timedOut) *timedOut = true;
    } else {
        int status = 0;
        pid_t r;
        // The output ended; a child that closed it and kept running is still bound by the limit.
        for (;;) {
            r = waitpid(pid, &status, limits.time.count() > 0 ? WNOHANG : 0);
            if (r < 0 && errno == EINTR) continue;
            if (r != 0) break;
            if (Clock::now() >= deadline) {
                late = true;
                break;
            }
            ::usleep(5000);
        }
        if (late) {
            code = killGroupAndReap(pid);
            if (timedOut) *timedOut = true;
        } else {
            ::kill(-pid, SIGKILL);
            forgetChildGroup(pid);
            code = r == pid ? decodeStatus(status) : -1;
        }
    }
    if (output) *output = std::move(captured);
    return code;
}

namespace {

void sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ::_exit(4);  // the parent is gone: nobody wants the rest
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

[[noreturn]] void runChild(int fd, const std::function<void(const LineSender&)>& work,
                           std::uint64_t memoryBytes) {
    ::setpgid(0, 0);
    // The parent's handlers are not the child's business: a crash ends the child plainly
    // (the parent reports it), and an interrupt ends it without touching the parent's table.
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGINT, SIGTERM, SIGHUP})
        ::signal(signal, SIG_DFL);
    // Address-sanitized builds reserve terabytes of shadow memory up front; a limit would
    // stop them at once.
    if (memoryBytes && !kSanitized) {
        const struct rlimit limit = {memoryBytes, memoryBytes};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    int code = 0;
    try {
        work([fd](std::string_view line) {
            std::string out(line);
            out += '\n';
            sendAll(fd, out);
        });
    } catch (...) {
        code = 3;
    }
    ::_exit(code);
}

}  // namespace

IsolatedOutcome runIsolated(const std::function<void(const LineSender& send)>& work,
                            const std::function<void(std::string_view line)>& onLine,
                            const RunLimits& limits) {
    IsolatedOutcome outcome;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        outcome.error = std::string("Cannot create a pipe: ") + std::strerror(errno);
        return outcome;
    }
    std::fflush(nullptr);  // what is buffered here must not be written twice
    const pid_t pid = ::fork();
    if (pid < 0) {
        outcome.error = std::string("Cannot start a child: ") + std::strerror(errno);
        ::close(fds[0]);
        ::close(fds[1]);
        return outcome;
    }
    if (pid == 0) {
        ::close(fds[0]);
        runChild(fds[1], work, limits.memoryBytes);
    }
    ::setpgid(pid, pid);  // both sides set it, so neither order of running races
    registerChildGroup(pid);
    ::close(fds[1]);
    outcome.started = true;

    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + limits.time;
    std::string pending;
    for (;;) {
        // The limit is on silence: every piece of output moves the deadline on.
        const ChildOutput got =
            readChildOutput(fds[0], limits.time.count() > 0, deadline, LLONG_MAX, pending);
        if (got == ChildOutput::Late) outcome.timedOut = true;
        if (got != ChildOutput::Data) break;
        deadline = Clock::now() + limits.time;
        std::size_t start = 0;
        for (std::size_t nl; (nl = pending.find('\n', start)) != std::string::npos; start = nl + 1)
            if (onLine) onLine(std::string_view(pending).substr(start, nl - start));
        pending.erase(0, start);
    }
    ::close(fds[0]);
    const int status = killGroupAndReap(pid);
    if (outcome.timedOut) return outcome;
    if (status > 128 && status < 128 + 65)
        outcome.signal = status - 128;
    else
        outcome.exitCode = status;
    return outcome;
}

void endChildrenOnSignals() {
    struct sigaction action {};
    action.sa_handler = endChildrenAndReraise;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

void endAllChildren() {
    killAllChildGroups();
}

int currentProcessId() {
    return static_cast<int>(::getpid());
}

bool processExists(int pid) {
    // EPERM: it exists but belongs to someone else.
    if (pid <= 0 || (::kill(pid, 0) != 0 && errno != EPERM)) return false;
    // A zombie has ended; only its parent has not asked for its status yet.
    const auto stat = tryReadFile("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return true;
    const std::size_t close = stat->rfind(')');
    return close == std::string::npos || close + 2 >= stat->size() || (*stat)[close + 2] != 'Z';
}

std::vector<std::string> runningProcessNames() {
    std::vector<std::string> names;
    DIR* proc = opendir("/proc");
    if (!proc) return names;
    while (dirent* e = readdir(proc)) {
        std::string_view pid = e->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string_view::npos) continue;
        std::string base = "/proc/" + std::string(pid);
        std::string name;
        char buf[PATH_MAX];
        ssize_t n = readlink((base + "/exe").c_str(), buf, sizeof buf - 1);
        if (n > 0) {
            name.assign(buf, static_cast<std::size_t>(n));
            constexpr std::string_view deleted = " (deleted)";
            if (name.size() > deleted.size() &&
                name.compare(name.size() - deleted.size(), deleted.size(), deleted) == 0)
                name.resize(name.size() - deleted.size());
        } else if (auto cmdline = tryReadFile(base + "/cmdline"); cmdline && !cmdline->empty()) {
            // Other users' processes: the exe link is not readable, argv[0] is.
            name = cmdline->substr(0, cmdline->find('\0'));
        }
        if (name.empty()) continue;
        std::size_t slash = name.rfind('/');
        if (slash != std::string::npos) name.erase(0, slash + 1);
        if (!name.empty()) names.push_back(detail::coreFromNative(name));
    }
    closedir(proc);
    return names;
}

namespace {

// `arguments` are native (UTF-8) already when `convert` is false.
bool startDetachedNative(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingFolder, bool convert) {
    std::string exe = findNative(program);
    if (exe.empty()) return false;
    std::string folder =
        workingFolder.empty() ? std::string() : detail::nativeString(workingFolder);
    Argv argv(exe, arguments, convert);

    // Double fork: the grandchild is adopted by init, so nobody has to wait for it. A
    // close-on-exec pipe reports whether exec succeeded. Only async-signal-safe calls
    // happen between fork and exec.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    pid_t pid = fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        ::close(fds[0]);
        setsid();
        pid_t grandchild = fork();
        if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
        int err = 0;
        if (!folder.empty() && chdir(folder.c_str()) != 0) {
            err = errno;
        } else {
            int devNull = ::open("/dev/null", O_RDWR);
            if (devNull >= 0) {
                dup2(devNull, 0);
                if (devNull > 2) ::close(devNull);
            }
            execve(exe.c_str(), argv.pointers.data(), environ);
            err = errno;
        }
        ssize_t ignored = ::write(fds[1], &err, sizeof err);
        (void)ignored;
        _exit(127);
    }
    ::close(fds[1]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    const ssize_t n = readChildErrno(fds[0], &err);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
    return n == 0;  // EOF: exec closed the pipe
}

}  // namespace

bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& workingFolder) {
    return startDetachedNative(program, arguments, workingFolder, true);
}

bool openWithDefaultProgram(const std::string& target) {
    if (target.empty()) return false;
    // URLs go as they are; files and folders are resolved like every other path.
    bool isUrl = target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0;
    std::string arg = isUrl ? cp932ToUtf8(target) : detail::nativeString(target);
    return startDetachedNative("xdg-open", {arg}, {}, false);
}

std::string findExecutable(const std::string& program) {
    std::string native = findNative(program);
    return native.empty() ? std::string() : detail::coreFromNative(native);
}

}  // namespace tarnbook::platform
