#pragma once
#include <string>
#include <vector>

#include "hhc/HhcMessages.h"

// The compiler driver that stands in for the Workshop compiler: given a .hhp, it prepares a
// copy chmcmd can compile, runs chmcmd, checks and repairs the result, puts it where the
// project asks, and writes the error log in the Workshop compiler's layout.
namespace tarnbook::hhc {

struct DriverOptions {
    std::string chmcmd = "chmcmd";  // program name (looked up on PATH) or path
};

struct DriverResult {
    bool produced = false;  // a sound compiled file is at chmPath
    std::string chmPath;    // core path of the compiled file the project names
    std::string logPath;    // the error log written (empty when the project names none)
    std::string logText;    // the log's text, also when no log file was named
    std::vector<HhcMessage> messages;
    bool directoryRepaired = false;  // chmcmd's directory header had to be corrected
    std::string failure;             // why nothing was produced, CP932 like the log
};

DriverResult compileProject(const std::string& hhpPath, const DriverOptions& options = {});

// The first line of every log.
std::string driverBanner();

}  // namespace tarnbook::hhc
