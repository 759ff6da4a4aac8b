#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnbook::platform {

// A started child process. The program, arguments and folder are core paths/texts. An
// argument naming an existing file or folder (or, when absolute, a new file in an existing
// folder) reaches the child as its resolved native path; other arguments as UTF-8 text.
// Destroying the object ends a child that still runs, with everything it started
// (startDetached is for programs that outlive the caller).
class ChildProcess {
  public:
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` (looked up on PATH when it has no separator). Returns nullptr and sets
    // `error` when the program cannot be started. With `outputFile` set, stdout and stderr go
    // there (appended); otherwise they are inherited.
    // With `memoryLimitBytes` set the child may use no more address space than that (a
    // runaway compiler fails instead of exhausting the machine).
    static std::unique_ptr<ChildProcess> start(const std::string& program,
                                               const std::vector<std::string>& arguments,
                                               const std::string& workingFolder, std::string* error,
                                               const std::string& outputFile = {},
                                               std::uint64_t memoryLimitBytes = 0);

    bool running();        // polls without waiting
    int wait();            // waits and returns the exit code
    int exitCode() const;  // valid once running() is false; 128+signal for a killed child
    void kill();

  private:
    ChildProcess() = default;
    int pid_ = -1;
    int exitCode_ = -1;
    bool finished_ = false;
};

// Limits for a child: wall-clock time (zero: none) and address space (zero: none).
struct RunLimits {
    std::chrono::seconds time{0};
    std::uint64_t memoryBytes = 0;
};

// Runs a program to its end, capturing stdout+stderr into `output`. Returns the exit code,
// or -1 when it cannot be started (then `output` holds the reason). A child past its time
// limit is ended with everything it started; `timedOut` then says so.
int runAndCapture(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& workingFolder, std::string* output,
                  const RunLimits& limits = {}, bool* timedOut = nullptr);

// How a piece of work run in a forked copy of this process ended.
struct IsolatedOutcome {
    bool started = false;   // false: no child could be made (`error` says why)
    int exitCode = -1;      // when it ended by itself
    int signal = 0;         // the signal that ended it (a crash inside the work), else 0
    bool timedOut = false;  // it sent nothing for longer than the time limit and was ended
    std::string error;
};

using LineSender = std::function<void(std::string_view line)>;

// Runs `work` in a forked copy of this process, where a crash or a hang cannot take the
// program down: the child may use no more address space than `limits.memoryBytes` and is
// ended when it sends no line for `limits.time`. Each line the work sends (without '\n')
// reaches `onLine` here, in order, while the child runs.
IsolatedOutcome runIsolated(const std::function<void(const LineSender& send)>& work,
                            const std::function<void(std::string_view line)>& onLine,
                            const RunLimits& limits);

// Every child runs in a process group of its own. After this, SIGINT, SIGTERM and SIGHUP end
// those groups before the program ends as the signal asks, so an interrupted program leaves
// no compiler running. endAllChildren does the same on an ordinary way out.
void endChildrenOnSignals();
void endAllChildren();

// The id of this process, and whether a process with the given id still exists.
int currentProcessId();
bool processExists(int pid);

// Executable names (base names) of the running processes, from /proc.
std::vector<std::string> runningProcessNames();

// Opens a file, folder or URL with its default program (xdg-open), never waiting.
// False when the opener could not be started.
bool openWithDefaultProgram(const std::string& target);

// Starts a program detached with one optional argument (external editors and tools).
bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& workingFolder = {});

// Full path of `program` on PATH ("" when not found); a path with a separator is returned
// when it is an executable file.
std::string findExecutable(const std::string& program);

}  // namespace tarnbook::platform
