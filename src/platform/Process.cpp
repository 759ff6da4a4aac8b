#include "platform/Process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
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

class SpawnActions {
  public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

// Starts a child with posix_spawn; returns its pid or -1 with `error` set.
pid_t spawnChild(const std::string& program, const std::vector<std::string>& arguments,
                 const std::string& workingFolder, SpawnActions& actions, std::string* error) {
    std::string exe = findNative(program);
    if (exe.empty()) {
        if (error) *error = failureText(FileAction::Start, cp932ToUtf8(program), ENOENT);
        return -1;
    }
    if (!workingFolder.empty()) {
        std::string folder = detail::nativeString(workingFolder);
        if (!folderExists(workingFolder)) {
            if (error) *error = failureText(FileAction::Start, exe + " (" + folder + ")", ENOENT);
            return -1;
        }
        posix_spawn_file_actions_addchdir_np(actions.get(), folder.c_str());
    }
    Argv argv(exe, arguments);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, exe.c_str(), actions.get(), nullptr, argv.pointers.data(), environ);
    if (rc != 0) {
        if (error) *error = failureText(FileAction::Start, exe, rc);
        return -1;
    }
    return pid;
}

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
    SpawnActions actions;
    std::string output;
    if (!outputFile.empty()) {
        output = detail::nativeString(outputFile);
        posix_spawn_file_actions_addopen(actions.get(), 1, output.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(actions.get(), 1, 2);
    }
    pid_t pid = spawnChild(program, arguments, workingFolder, actions, error);
    if (pid < 0) return nullptr;
    std::unique_ptr<ChildProcess> child(new ChildProcess());
    child->pid_ = pid;
    if (memoryLimitBytes) {
        const struct rlimit limit = {memoryLimitBytes, memoryLimitBytes};
        if (prlimit(pid, RLIMIT_AS, &limit, nullptr) != 0) {
            if (error)
                *error = std::string("Cannot limit the memory of a child: ") + std::strerror(errno);
            child->kill();
            return nullptr;
        }
    }
    return child;
}

bool ChildProcess::running() {
    if (finished_) return false;
    int status = 0;
    pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == 0) return true;
    finished_ = true;
    exitCode_ = r == pid_ ? decodeStatus(status) : -1;
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
    return exitCode_;
}

int ChildProcess::exitCode() const {
    return exitCode_;
}

void ChildProcess::kill() {
    if (finished_ || pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    wait();
}

int runAndCapture(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingFolder, std::string* output) {
    std::string error;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        if (output) *output = std::string("Cannot create a pipe: ") + std::strerror(errno);
        return -1;
    }
    SpawnActions actions;
    posix_spawn_file_actions_adddup2(actions.get(), fds[1], 1);
    posix_spawn_file_actions_adddup2(actions.get(), fds[1], 2);
    int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (devNull >= 0) posix_spawn_file_actions_adddup2(actions.get(), devNull, 0);
    pid_t pid = spawnChild(program, arguments, workingFolder, actions, &error);
    ::close(fds[1]);
    if (devNull >= 0) ::close(devNull);
    if (pid < 0) {
        ::close(fds[0]);
        if (output) *output = error;
        return -1;
    }
    std::string captured;
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        captured.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    pid_t r;
    do {
        r = waitpid(pid, &status, 0);
    } while (r < 0 && errno == EINTR);
    if (output) *output = std::move(captured);
    return r == pid ? decodeStatus(status) : -1;
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
    ssize_t n;
    do {
        n = ::read(fds[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    ::close(fds[0]);
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
