#pragma once
#include <chrono>
#include <functional>
#include <string>

#include "platform/Process.h"
#include "project/Workspace.h"

// The build command: guard, save, Workshop files, backups, the compiler run, the copy to a
// destination folder and the log page.
namespace tarnbook::compile {

// What the build needs from the window around it. Every member may be empty (headless).
struct CompileHooks {
    // True when a top-level window with this title exists (the Workshop guard).
    std::function<bool(const std::string& title)> windowWithTitleExists;
    // Saves the page open in the HTML editor when it was modified.
    std::function<void()> saveEditorPage;
    // Waits for the compiler to end, at most `limit` (the shell shows its wait window
    // meanwhile). Returns false when it did not end in time or waiting failed; the compiler
    // is then ended. Empty: poll every 5 ms.
    std::function<bool(platform::ChildProcess& compiler, std::chrono::seconds limit)>
        waitForCompiler;
};

enum class CompileOutcome {
    Declined,     // the author answered No to the Workshop question
    NoCompiler,   // the HHC setting names no file
    CannotStart,  // the compiler could not be started
    Failed,       // it ran but produced no compiled file, or ended with a failure
    Succeeded,    // the compiled file is there
};

struct CompileResult {
    CompileOutcome outcome = CompileOutcome::Declined;
    std::string chmPath;  // <PDir>/<FileName>, the file the compiler writes
    std::string logPath;  // the compile log path
    std::string htmlLog;  // the converted log page, when one was made
    int exitCode = -1;
    std::string error;  // why the compiler could not be started
};

// Enable rule of the command: a project is open and has at least one node.
bool canCompile(const project::Workspace& ws);

// True when a process with this executable name runs (compared in lower case).
bool isProcessRunning(const std::string& executableName);

// Runs the whole build. File-system failures while writing throw platform::IoError.
CompileResult goCompile(project::Workspace& ws, const CompileHooks& hooks = {});

// Converts and shows the compile log. False when there is no log (the command then disables
// itself until the next enable update).
bool viewLog(project::Workspace& ws, std::string* htmlPath = nullptr);

}  // namespace tarnbook::compile
