#pragma once
#include <ctime>
#include <string>
#include <vector>

// The compiler's error log: the lines the program adds after a build (backups, copy), its
// conversion into an HTML page with explanations of the compiler's messages, and the
// messages themselves for callers without a window.
namespace tarnbook::compile {

// Appends the backup block when the log exists and `bak` is non-empty (CP932 paths).
void appendBackupLines(const std::string& logPath, const std::string& chm, const std::string& bak,
                       const std::string& bak2);
// Appends the copy block when the log exists and `dest` is non-empty.
void appendCopyLines(const std::string& logPath, const std::string& dest);
// Appends the copy block of a copy that failed, with the reason (CP932, may span lines).
void appendCopyFailedLines(const std::string& logPath, const std::string& dest,
                           const std::string& reason);

// The explanation line for an "HHCnnnn" message number; empty for numbers without one.
std::string hhcExplanation(int number);

// The HTML log beside `logPath`: its extension replaced by ".html", the file name in capitals
// (COMPILE.HTML for Compile.Log).
std::string compileLogHtmlPath(const std::string& logPath);

struct LogPageInfo {
    std::string templateFolder;  // holds log.css
    std::string targetFileName;  // the compiled file the project names
    std::time_t now = 0;         // 0: the current time
};

// Converts the log into the HTML page and returns the page's path. Throws platform::IoError
// when the log cannot be read or the page cannot be written.
std::string convertCompileLog(const std::string& logPath, const LogPageInfo& info);

struct CompileFinding {
    bool error = false;  // "HHCnnnn: Error:" (else a warning or note)
    std::string line;    // as in the log (CP932)
};
// The compiler's "HHC" lines of the log; empty when there is no log.
std::vector<CompileFinding> compileLogFindings(const std::string& logPath);

}  // namespace tarnbook::compile
