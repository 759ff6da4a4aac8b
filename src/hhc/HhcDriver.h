#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hhc/HhcMessages.h"

// The compiler driver that stands in for the Workshop compiler: given a .hhp, it reads the
// project as the Workshop compiler does, writes the compiled help with our own writer (or
// runs chmcmd on an adapted copy), checks the result, puts it where the project asks, and
// writes the error log in the Workshop compiler's layout.
namespace tarnbook::hhc {

enum class Backend {
    Own,     // our own container, LZX and system files
    Chmcmd,  // the Free Pascal compiler, kept as a fallback
};

struct DriverOptions {
    std::string chmcmd = "chmcmd";  // program name (looked up on PATH) or path
    Backend backend = Backend::Own;
    // Limits for the chmcmd back end, which some inputs make loop and grow without end: a
    // time of zero is scaled to the project (five minutes and a second per 20 files).
    std::chrono::seconds timeLimit{0};
    std::uint64_t memoryLimitBytes = std::uint64_t{4} << 30;
    // Own back end: called while compressing with (bytes done, bytes in total).
    std::function<void(std::size_t, std::size_t)> progress;
};

struct DriverResult {
    bool produced = false;  // a sound compiled file is at chmPath
    std::string chmPath;    // core path of the compiled file the project names
    std::string logPath;    // the error log written (empty when the project names none)
    std::string logText;    // the log's text, also when no log file was named
    std::vector<HhcMessage> messages;
    bool directoryRepaired = false;        // chmcmd's directory header had to be corrected
    std::vector<std::string> storedFiles;  // own back end: the entries written, without '/'
    std::string failure;                   // why nothing was produced, CP932 like the log
};

// The options that run chmcmd (`program`) in place of our own writer.
DriverOptions chmcmdOptions(std::string program = "chmcmd");

DriverResult compileProject(const std::string& hhpPath, const DriverOptions& options = {});

// The first line of every log.
std::string driverBanner(Backend backend = Backend::Own);

}  // namespace tarnbook::hhc
